// Checking a replay: a recorded match reproduces; a replay that no longer
// does names the step where it stopped agreeing and how; the check and the
// viewer leave the program as they found it.
#include "app/replay_check.h"

#include <algorithm>
#include <cstring>

#include "app/match.h"
#include "app/replay_viewer.h"
#include "app/shared_assets.h"
#include "game/game_tick.h"
#include "game/match_flags.h"
#include "game/match_state.h"
#include "gfx/display.h"
#include "tests/replay/replay_fixture.h"

namespace replay_test {
namespace {

using ReplayCheckTest = ReplayTest;

// A recorded match long enough for several checkpoints.
LiveMatch Recorded(ReplayCheckTest& test, const MatchKind& kind, uint32_t keySeed) {
  LiveMatch live = test.PlayLive(kind, 3000, keySeed, false);
  EXPECT_GT(live.replay.stepCount, 64u);
  return live;
}

// Splits the runs so that step `step` (from 1) of player `p` holds `actions`.
void SetActions(Replay& r, int p, uint32_t step, uint8_t actions) {
  std::vector<InputFrame> frames;
  FrameCursor cursor(r);
  while (!cursor.Done()) frames.push_back(cursor.Next());
  frames[step - 1].actions[p] = actions;
  Replay copy = r;
  copy.stepCount = 0;
  for (auto& runs : copy.actionRuns) runs.clear();
  copy.events.clear();
  for (const InputFrame& f : frames) AppendFrame(copy, f);
  r = copy;
}

TEST_F(ReplayCheckTest, EveryKindOfRecordedMatchReproduces) {
  const MatchKind kinds[] = {
      {1, false, {0, 0}, 1100}, {1, true, {1, 0}, 1200}, {2, false, {1, 0}, 1300}, {2, true, {0, 1}, 1400}};
  for (const MatchKind& kind : kinds) {
    const LiveMatch live = Recorded(*this, kind, 7);
    // Through the file, as a saved replay would be read.
    const std::vector<uint8_t> bytes = EncodeReplay(live.replay);
    Replay read;
    ASSERT_EQ(DecodeReplay(bytes.data(), bytes.size(), read), std::nullopt);
    const ReplayCheck check = CheckReplay(read);
    EXPECT_TRUE(check.reproduces) << check.report;
    EXPECT_EQ(check.stepsRun, live.frames.size());
    EXPECT_EQ(check.report.find("reproduces " + std::to_string(live.frames.size()) + " steps"), 0u) << check.report;
  }
}

TEST_F(ReplayCheckTest, ADamagedCheckpointNamesItsStep) {
  LiveMatch live = Recorded(*this, {1, false, {0, 0}, 1500}, 3);
  ASSERT_GE(live.replay.checkpoints.size(), 4u);
  live.replay.checkpoints[3] ^= 1;  // after step 64
  const ReplayCheck check = CheckReplay(live.replay);
  EXPECT_FALSE(check.reproduces);
  EXPECT_EQ(check.divergedAt, 64u);
  EXPECT_EQ(check.lastAgreed, 48u);
  EXPECT_EQ(check.report.find("diverged at step 64 (0:01.6): the match differs from the recording there (it agreed "
                              "at step 48)"),
            0u)
      << check.report;
}

TEST_F(ReplayCheckTest, AChangedKeyIsFoundAtTheFirstCheckpointAfterIt) {
  LiveMatch live = Recorded(*this, {1, false, {0, 0}, 1600}, 5);
  ASSERT_GT(live.replay.stepCount, 40u);
  // Player 1 drops at step 37 where the recording had no drop: the latch is
  // armed after a step without the drop key.
  SetActions(live.replay, 0, 36, 0);
  SetActions(live.replay, 0, 37, kActionBitDrop);
  const ReplayCheck check = CheckReplay(live.replay);
  EXPECT_FALSE(check.reproduces);
  EXPECT_GE(check.divergedAt, 36u);
  EXPECT_LE(check.divergedAt, 48u);
  EXPECT_NE(check.report.find("diverged at step " + std::to_string(check.divergedAt)), std::string::npos);
}

TEST_F(ReplayCheckTest, AMatchThatEndsSoonerOrLaterThanItsRecordingIsCaught) {
  {
    LiveMatch live = Recorded(*this, {2, false, {0, 0}, 1700}, 9);
    // Escape recorded at step 20: the match ends there, the steps go on.
    live.replay.events.insert(live.replay.events.begin(), StepEvents{20, kEventEscape});
    std::stable_sort(live.replay.events.begin(), live.replay.events.end(),
                     [](const StepEvents& a, const StepEvents& b) { return a.step < b.step; });
    const ReplayCheck check = CheckReplay(live.replay);
    EXPECT_EQ(check.divergedAt, 20u);
    EXPECT_NE(check.report.find("the match ended there, the recording goes on"), std::string::npos) << check.report;
  }
  {
    LiveMatch live = Recorded(*this, {1, true, {0, 0}, 1800}, 11);
    ASSERT_FALSE(live.replay.quit);
    // The last ten steps lost: the replayed match is not over yet.
    std::vector<InputFrame> frames;
    FrameCursor cursor(live.replay);
    while (!cursor.Done()) frames.push_back(cursor.Next());
    Replay cut = live.replay;
    cut.stepCount = 0;
    for (auto& runs : cut.actionRuns) runs.clear();
    cut.events.clear();
    for (size_t k = 0; k + 10 < frames.size(); ++k) AppendFrame(cut, frames[k]);
    cut.checkpoints.resize(cut.stepCount / cut.checkpointInterval);
    const ReplayCheck check = CheckReplay(cut);
    EXPECT_EQ(check.divergedAt, cut.stepCount);
    EXPECT_NE(check.report.find("the recorded match ended there, the replayed one goes on"), std::string::npos)
        << check.report;
    // The same steps from a match the window closed on: that is how it ended.
    cut.quit = true;
    cut.finalHash = 0;
    const ReplayCheck closed = CheckReplay(cut);
    EXPECT_NE(closed.report.find("its end differs from the recording: the wells"), std::string::npos) << closed.report;
  }
}

TEST_F(ReplayCheckTest, ADifferentEndNamesThePointsRowsAndLevel) {
  LiveMatch live = Recorded(*this, {1, false, {0, 0}, 1900}, 13);
  live.replay.finals[0].points += 5;
  const ReplayCheck check = CheckReplay(live.replay);
  EXPECT_EQ(check.divergedAt, live.replay.stepCount);
  EXPECT_NE(check.report.find("player 1 points " + std::to_string(live.replay.finals[0].points - 5) + " (recorded " +
                              std::to_string(live.replay.finals[0].points) + ")"),
            std::string::npos)
      << check.report;
}

TEST_F(ReplayCheckTest, TheCheckAndTheViewerPutEverythingBack) {
  const LiveMatch live = Recorded(*this, {2, false, {1, 0}, 2000}, 15);
  // The program as a later match would find it.
  playerCount = 1;
  blobStyle = 0;
  controlLayout[0] = 5;
  controlLayout[1] = -3;
  musicOff = 1;
  players[0].losses = -4;
  lastTickTime = 77;
  matchSeed = 1234;
  const MatchState before = SaveMatchState();
  void (*hook)() = [] {};
  pauseCheckHook = hook;

  EXPECT_TRUE(CheckReplay(live.replay).reproduces);
  EXPECT_EQ(WatchReplay(live.replay, kFastestSpeed), ViewerEnd::Finished);

  const MatchState after = SaveMatchState();
  EXPECT_EQ(std::memcmp(before.players, after.players, sizeof before.players), 0);
  EXPECT_EQ(std::memcmp(before.keyLatch, after.keyLatch, sizeof before.keyLatch), 0);
  EXPECT_EQ(before.seed, after.seed);
  EXPECT_EQ(before.gravityCountdown, after.gravityCountdown);
  EXPECT_EQ(after.playerCount, 1);
  EXPECT_EQ(after.blobStyle, 0);
  EXPECT_EQ(players[0].losses, -4);
  EXPECT_EQ(controlLayout[0], 5);
  EXPECT_EQ(controlLayout[1], -3);
  EXPECT_EQ(musicOff, 1);
  EXPECT_EQ(lastTickTime, 77u);
  EXPECT_EQ(matchSeed, 1234u);
  EXPECT_EQ(pauseCheckHook, hook);
  EXPECT_EQ(stepDoneHook, nullptr);
  EXPECT_EQ(stepEventHook, nullptr);
}

TEST_F(ReplayCheckTest, TheViewerShowsTheRecordedMatchAndStopsWhereOneDiverges) {
  const LiveMatch live = Recorded(*this, {1, false, {0, 0}, 2100}, 17);
  ASSERT_EQ(WatchReplay(live.replay, kFastestSpeed), ViewerEnd::Finished);
  // The last picture is the live one, but for the legend beside the well.
  EXPECT_EQ(ScreenDigest(backBuffer->Row(0), backBuffer->Pitch(), 0, 230, 216, 440),
            ScreenDigest(live.lastScreen.data(), 640, 0, 230, 216, 440));
  EXPECT_NE(ScreenDigest(), ScreenDigest(live.lastScreen.data(), 640, 0, 0, 0, 0));

  Replay other = live.replay;
  other.matchSeed += 1;
  EXPECT_EQ(WatchReplay(other, kFastestSpeed), ViewerEnd::Diverged);
}

}  // namespace
}  // namespace replay_test
