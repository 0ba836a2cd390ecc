// One game step from its input frame alone does what the live step did:
// the same match state and the same picture, step after step, whatever the
// keys, the kind of match and the in-game keys.
#include "app/pause_check.h"
#include "app/replay_match.h"
#include "app/shared_assets.h"
#include "game/game_tick.h"
#include "game/match_flags.h"
#include "game/match_state.h"
#include "platform/headless/headless_backend.h"
#include "platform/keys.h"
#include "tests/replay/replay_fixture.h"

namespace replay_test {
namespace {

// What the viewer shows of a step's events, without holding the pause.
void ShowEvents(uint8_t events) {
  if (events & kEventPause) {
    ShowPausedText();
    RedrawAfterPause();
  }
  if (events & kEventLayout1) StoreLayoutChoice(0);
  if (events & kEventLayout2) StoreLayoutChoice(1);
}

class StepFromFrame : public ReplayTest, public ::testing::WithParamInterface<MatchKind> {};

TEST_P(StepFromFrame, DoesWhatTheLiveStepDidStepForStep) {
  uint8_t events = 0;
  size_t steps = 0;
  for (uint32_t keySeed = 1; keySeed <= 6; ++keySeed) {
    MatchKind kind = GetParam();
    kind.seed += keySeed * 101;
    const LiveMatch live = PlayLive(kind, 4000, keySeed, true);
    ASSERT_GT(live.frames.size(), 20u);
    for (const InputFrame& f : live.frames) events |= f.events;
    steps += live.frames.size();
    const int32_t layoutsAfter[2] = {controlLayout[0], controlLayout[1]};

    StartRecordedMatch(live.replay);
    stepEventHook = ShowEvents;
    for (size_t k = 0; k < live.frames.size(); ++k) {
      GameStep(live.frames[k]);
      ASSERT_EQ(MatchStateHash(), live.states[k]) << "key seed " << keySeed << ", step " << k + 1;
      ASSERT_EQ(ScreenDigest(), live.screens[k]) << "key seed " << keySeed << ", step " << k + 1;
    }
    EXPECT_EQ(controlLayout[0], layoutsAfter[0]);
    EXPECT_EQ(controlLayout[1], layoutsAfter[1]);
    stepEventHook = nullptr;
  }
  // The random keys came round to every in-game key the kind of match has.
  const uint8_t expected = kEventEscape | kEventPause | kEventLayout1 | (GetParam().players == 2 ? kEventLayout2 : 0);
  EXPECT_EQ(events & expected, expected);
  EXPECT_GT(steps, 1000u);
}

INSTANTIATE_TEST_SUITE_P(EveryKindOfMatch, StepFromFrame,
                         ::testing::Values(MatchKind{1, false, {0, 0}, 1000}, MatchKind{1, false, {1, 0}, 2000},
                                           MatchKind{1, true, {0, 0}, 3000}, MatchKind{2, false, {0, 0}, 4000},
                                           MatchKind{2, false, {1, 1}, 5000}, MatchKind{2, true, {0, 1}, 6000}),
                         [](const ::testing::TestParamInfo<MatchKind>& info) {
                           const MatchKind& k = info.param;
                           return std::string(k.players == 1 ? "OnePlayer" : "TwoPlayers") +
                                  (k.blob ? "Blob" : "Normal") + "Layouts" + std::to_string(k.layouts[0]) +
                                  std::to_string(k.layouts[1]);
                         });

using LiveInput = ReplayTest;

TEST_F(LiveInput, AFrameHoldsTheActionsOfTheLayoutInUse) {
  StartMatchOf(MatchKind{1, false, {0, 0}, 1000});
  platform::headless::SetKeyHeld(VK_DOWN, true);
  EXPECT_EQ(ReadLiveInput().actions[0], kActionBitTurn);  // layout 0: DOWN turns
  players[0].controlHandler = ControlHandler::ArrowKeysUpRotate;
  EXPECT_EQ(ReadLiveInput().actions[0], kActionBitDrop);  // layout 1: DOWN drops
  platform::headless::SetKeyHeld(VK_LEFT, true);
  platform::headless::SetKeyHeld(VK_UP, true);
  EXPECT_EQ(ReadLiveInput().actions[0], kActionBitLeft | kActionBitTurn | kActionBitDrop);
  // Nobody plays player 2's record in a one-player match.
  EXPECT_EQ(ReadLiveInput().actions[1], 0);
}

TEST_F(LiveInput, OnlyPlayersStillPlayingHaveTheirKeysRead) {
  StartMatchOf(MatchKind{2, false, {0, 0}, 1000});
  platform::headless::SetKeyHeld('A', true);
  platform::headless::SetKeyHeld(VK_LEFT, true);
  InputFrame frame = ReadLiveInput();
  EXPECT_EQ(frame.actions[0], kActionBitLeft);
  EXPECT_EQ(frame.actions[1], kActionBitLeft);
  players[0].state = kGameJustOver;
  frame = ReadLiveInput();
  EXPECT_EQ(frame.actions[0], 0);
  EXPECT_EQ(frame.actions[1], kActionBitLeft);
}

TEST_F(LiveInput, TheInGameKeysNoteWhatTheyDid) {
  StartMatchOf(MatchKind{2, false, {0, 0}, 1000});
  pauseCheckHook = PauseCheck;
  // F2 and F1 together: F2 acts; F1 waits for the next step.
  platform::headless::SetKeyHeld(VK_F2, true);
  platform::headless::SetKeyHeld(VK_F1, true);
  platform::headless::SetClockListener([](uint32_t) {
    platform::headless::SetKeyHeld(VK_F2, false);
    platform::headless::SetKeyHeld(VK_F1, false);
  });
  InputFrame frame = ReadLiveInput();
  EXPECT_EQ(frame.events, kEventLayout2);
  EXPECT_EQ(players[1].controlHandler, ControlHandler::ArrowKeysUpRotate);
  EXPECT_EQ(controlLayout[1], 2);
  platform::headless::SetKeyHeld(VK_ESCAPE, true);
  platform::headless::SetClockListener([](uint32_t) { platform::headless::SetKeyHeld(VK_ESCAPE, false); });
  frame = ReadLiveInput();
  EXPECT_EQ(frame.events, kEventEscape);
  EXPECT_EQ(players[0].state, 0);
  // The next step notes nothing of the one before.
  EXPECT_EQ(ReadLiveInput().events, 0);
}

TEST_F(LiveInput, ARecordedEventActsOnTheMatchAsTheKeyDid) {
  StartMatchOf(MatchKind{2, false, {1, 0}, 1000});
  ApplyStepEvents(kEventLayout1);
  EXPECT_EQ(players[0].controlHandler, ControlHandler::LetterKeysShiftDrop);
  ApplyStepEvents(kEventLayout2);
  EXPECT_EQ(players[1].controlHandler, ControlHandler::ArrowKeysUpRotate);
  EXPECT_EQ(players[0].state, kPlaying);
  ApplyStepEvents(kEventPause | kEventFocusBack | kEventMusic);  // nothing of the match
  EXPECT_EQ(players[1].state, kPlaying);
  ApplyStepEvents(kEventEscape);
  EXPECT_EQ(players[0].state, 0);
  EXPECT_EQ(players[1].state, 0);
}

}  // namespace
}  // namespace replay_test
