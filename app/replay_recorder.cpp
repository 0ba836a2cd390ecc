#include "app/replay_recorder.h"

#include "app/match.h"
#include "app/shared_assets.h"
#include "game/control_layouts.h"
#include "game/game_tick.h"
#include "game/match_flags.h"
#include "game/match_state.h"
#include "platform/platform.h"

namespace {

// Room for about 15 minutes of busy play before a vector has to grow.
constexpr size_t kRunsReserved = 16384;
constexpr size_t kEventsReserved = 1024;
constexpr size_t kCheckpointsReserved = 4096;

Replay recording;
bool focusCameBack = false;
bool tooLong = false;

void RecordStep(const InputFrame& frame) {
  if (recording.stepCount >= kMaxReplaySteps) {
    tooLong = true;
    return;
  }
  InputFrame recorded = frame;
  if (focusCameBack) {
    recorded.events |= kEventFocusBack;
    focusCameBack = false;
  }
  AppendFrame(recording, recorded);
  if (recording.stepCount % recording.checkpointInterval == 0) {
    recording.checkpoints.push_back(ShortHash(MatchStateHash()));
  }
}

}  // namespace

void BeginRecording() {
  // Cleared, not replaced: the vectors keep what they reserved.
  for (std::vector<ActionRun>& runs : recording.actionRuns) {
    runs.clear();
    runs.reserve(kRunsReserved);
  }
  recording.events.clear();
  recording.events.reserve(kEventsReserved);
  recording.checkpoints.clear();
  recording.checkpoints.reserve(kCheckpointsReserved);
  recording.gameVersion = kGameVersion;
  recording.date = 0;
  recording.matchSeed = matchSeed;
  recording.playerCount = static_cast<uint8_t>(PlayingCount() == 2 ? 2 : 1);
  recording.blobStyle = blobStyle ? 1 : 0;
  recording.layouts = 0;
  recording.startLatches = 0;
  for (int p = 0; p < recording.playerCount; ++p) {
    if (LayoutOf(p, players[p].controlHandler)) recording.layouts |= static_cast<uint8_t>(1 << p);
    for (int a = 0; a < 4; ++a) {
      if (keyLatch[p][a]) recording.startLatches |= static_cast<uint8_t>(1 << (4 * p + a));
    }
  }
  recording.musicOff = musicOff != 0;
  recording.quit = false;
  recording.checkpointInterval = kCheckpointInterval;
  recording.stepCount = 0;
  recording.finals[0] = recording.finals[1] = ReplayFinal{};
  recording.finalHash = 0;
  focusCameBack = false;
  tooLong = false;
  stepDoneHook = RecordStep;
}

void NoteFocusBack() { focusCameBack = true; }

const Replay* FinishRecording(bool quit) {
  stepDoneHook = nullptr;
  if (tooLong) return nullptr;
  recording.quit = quit;
  recording.date = platform::WallClockSeconds();
  for (int p = 0; p < recording.playerCount; ++p) {
    recording.finals[p] = ReplayFinal{players[p].state, players[p].points, players[p].rows, players[p].level};
  }
  recording.finalHash = MatchStateHash();
  return &recording;
}
