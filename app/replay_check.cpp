#include "app/replay_check.h"

#include "app/replay_match.h"
#include "game/game_tick.h"
#include "game/player_state.h"

namespace {

std::string Summary(const Replay& replay) {
  std::string text;
  for (int p = 0; p < replay.playerCount; ++p) {
    text += std::string(p ? "; " : "") + "player " + std::to_string(p + 1) + ": " + std::to_string(players[p].points) +
            " points, " + std::to_string(players[p].rows) + " rows, level " + std::to_string(players[p].level);
  }
  return text;
}

std::string VersionNote(const Replay& replay) {
  if (replay.gameVersion == kGameVersion) return "";
  return " (recorded by game version " + std::to_string(replay.gameVersion) + ", this is version " +
         std::to_string(kGameVersion) + ")";
}

}  // namespace

ReplayCheck CheckReplay(const Replay& replay) {
  ReplaySandbox sandbox;
  StartRecordedMatch(replay);
  ReplayCheck check;
  FrameCursor cursor(replay);
  std::string divergence = cursor.Done() ? Divergence(replay, cursor) : "";
  while (!cursor.Done() && divergence.empty()) {
    GameStep(cursor.Next());
    divergence = Divergence(replay, cursor);
  }
  check.stepsRun = cursor.Position();
  if (!divergence.empty()) {
    check.divergedAt = cursor.Position();
    check.lastAgreed =
        check.divergedAt == 0 ? 0 : (check.divergedAt - 1) / replay.checkpointInterval * replay.checkpointInterval;
    check.report = "diverged at step " + std::to_string(check.divergedAt) + " (" + StepTime(check.divergedAt) +
                   "): " + divergence + VersionNote(replay);
    return check;
  }
  check.reproduces = true;
  check.report = "reproduces " + std::to_string(replay.stepCount) + " steps (" + StepTime(replay.stepCount) +
                 "): " + Summary(replay);
  return check;
}
