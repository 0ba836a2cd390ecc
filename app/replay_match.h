// What every way of playing a replay shares: the recorded match started
// again, its checkpoints and end compared with the recording, and
// everything it changes put back afterwards.
#pragma once

#include <cstdint>
#include <string>

#include "game/match_state.h"
#include "game/replay_format.h"

// Saves what a replayed match changes (the match state, the step time, the
// options, the last match's seed, the step hooks) and puts it back when it
// goes out of scope. The hooks are cleared while it lives.
class ReplaySandbox {
 public:
  ReplaySandbox();
  ~ReplaySandbox();
  ReplaySandbox(const ReplaySandbox&) = delete;
  ReplaySandbox& operator=(const ReplaySandbox&) = delete;

 private:
  MatchState match_;
  uint32_t lastTickTime_;
  int32_t controlLayout_[2];
  uint8_t musicOff_;
  bool matchSeeded_;
  uint32_t matchSeed_;
  void (*pauseCheckHook_)();
  void (*stepDoneHook_)(const InputFrame&);
  void (*stepEventHook_)(uint8_t);
};

// Starts the recorded match as the match loop started it: its kind,
// layouts, latches and seed, the play screen drawn, the step time now and
// the gravity countdown of a new match. The first step is due 26 ms later.
void StartRecordedMatch(const Replay& replay);

// Whether the match loop would go on after a step: both records above 0.
bool RecordedMatchGoesOn();

// After the step the cursor has just passed (or at the start of a replay
// without steps): how the replayed match no longer follows the recording,
// or empty while it does. Compared are the checkpoint of that step, whether
// the match goes on exactly as long as the recording, and after the last
// step its whole state.
std::string Divergence(const Replay& replay, const FrameCursor& cursor);
