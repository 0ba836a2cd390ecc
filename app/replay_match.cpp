#include "app/replay_match.h"

#include "app/match.h"
#include "app/shared_assets.h"
#include "game/game_tick.h"
#include "game/match_flags.h"
#include "platform/platform.h"

ReplaySandbox::ReplaySandbox()
    : match_(SaveMatchState()),
      lastTickTime_(lastTickTime),
      controlLayout_{controlLayout[0], controlLayout[1]},
      musicOff_(musicOff),
      matchSeeded_(matchSeeded),
      matchSeed_(matchSeed),
      pauseCheckHook_(pauseCheckHook),
      stepDoneHook_(stepDoneHook),
      stepEventHook_(stepEventHook) {
  pauseCheckHook = nullptr;
  stepDoneHook = nullptr;
  stepEventHook = nullptr;
}

ReplaySandbox::~ReplaySandbox() {
  RestoreMatchState(match_);
  lastTickTime = lastTickTime_;
  controlLayout[0] = controlLayout_[0];
  controlLayout[1] = controlLayout_[1];
  musicOff = musicOff_;
  matchSeeded = matchSeeded_;
  matchSeed = matchSeed_;
  pauseCheckHook = pauseCheckHook_;
  stepDoneHook = stepDoneHook_;
  stepEventHook = stepEventHook_;
}

void StartRecordedMatch(const Replay& replay) {
  playerCount = replay.playerCount;
  blobStyle = replay.blobStyle;
  for (int p = 0; p < 2; ++p) {
    controlLayout[p] = (replay.layouts >> p) & 1;
    for (int a = 0; a < 4; ++a) keyLatch[p][a] = static_cast<uint8_t>((replay.startLatches >> (4 * p + a)) & 1);
  }
  StartMatchWith(replay.matchSeed);
  lastTickTime = timeGetTime();
  gravityCountdown = 9 - players[0].level;
}

namespace {

bool CheckpointHolds(const Replay& replay, uint32_t step) {
  if (step == 0 || step % replay.checkpointInterval != 0) return true;
  const size_t k = step / replay.checkpointInterval - 1;
  return k >= replay.checkpoints.size() || replay.checkpoints[k] == ShortHash(MatchStateHash());
}

// After the last step: how the state differs from the recorded end (points,
// rows and level, then the whole state); empty when it is the same.
std::string FinalDifference(const Replay& replay) {
  std::string text;
  for (int p = 0; p < replay.playerCount; ++p) {
    const ReplayFinal& f = replay.finals[p];
    const PlayerState& r = players[p];
    const std::pair<const char*, std::pair<int32_t, int32_t>> fields[] = {
        {"points", {r.points, f.points}}, {"rows", {r.rows, f.rows}}, {"level", {r.level, f.level}}};
    for (const auto& [name, values] : fields) {
      if (values.first == values.second) continue;
      text += std::string(text.empty() ? "" : ", ") + "player " + std::to_string(p + 1) + " " + name + " " +
              std::to_string(values.first) + " (recorded " + std::to_string(values.second) + ")";
    }
  }
  if (text.empty() && MatchStateHash() != replay.finalHash) text = "the wells, pieces or counters differ";
  return text;
}

}  // namespace

bool RecordedMatchGoesOn() { return players[0].state > 0 && players[1].state > 0; }

std::string Divergence(const Replay& replay, const FrameCursor& cursor) {
  const uint32_t step = cursor.Position();
  if (!CheckpointHolds(replay, step)) {
    const uint32_t agreed = (step - 1) / replay.checkpointInterval * replay.checkpointInterval;
    return "the match differs from the recording there (it agreed at step " + std::to_string(agreed) + ")";
  }
  if (!cursor.Done()) {
    if (RecordedMatchGoesOn()) return "";
    return "the match ended there, the recording goes on to step " + std::to_string(replay.stepCount);
  }
  if (!replay.quit && RecordedMatchGoesOn()) return "the recorded match ended there, the replayed one goes on";
  if (std::string difference = FinalDifference(replay); !difference.empty()) {
    return "its end differs from the recording: " + difference;
  }
  return "";
}
