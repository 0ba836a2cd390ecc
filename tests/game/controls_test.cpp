// Which keys and pads move whom: keys by their place, remapped keys, the
// pads of a one- and a two-player match, and the legend's key names.
#include <cstring>

#include "game/controls.h"
#include "game/game_tick.h"
#include "game/play_screen.h"
#include "game/match_flags.h"
#include "platform/headless/headless_backend.h"
#include "platform/key_positions.h"
#include "platform/keys.h"
#include "tests/game/game_fixture.h"

namespace game_test {
namespace {

using platform::PadAxis;
using platform::PadButton;

class ControlsTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    std::memcpy(controlKeys, kDefaultControlKeys, sizeof controlKeys);
    RefreshKeyLabels();
  }
  void TearDown() override {
    std::memcpy(controlKeys, kDefaultControlKeys, sizeof controlKeys);
    RefreshKeyLabels();
    GameTest::TearDown();
  }
  // Presses (in the next step) and lets go (in the one after).
  void Tap(int key) {
    Hold(key);
    Step();
    Hold(key, false);
    Step();
  }
  void TapPad(int pad, PadButton button) {
    platform::headless::SetPadButton(pad, button, true);
    Step();
    platform::headless::SetPadButton(pad, button, false);
    Step();
  }
};

TEST_F(ControlsTest, DefaultKeysActAsTheyAlwaysDidInBothViews) {
  BeginMatch(2, false, 77);
  const int x0 = players[0].pieceX, x1 = players[1].pieceX;
  Tap('A');
  EXPECT_EQ(players[0].pieceX, x0 - 1);
  Tap(VK_RIGHT);
  EXPECT_EQ(players[1].pieceX, x1 + 1);
  EXPECT_EQ(HeldActions(ControlHandler::LetterKeysShiftDrop, 0), 0);
  Hold(VK_SHIFT);
  Hold('S');
  EXPECT_EQ(HeldActions(ControlHandler::LetterKeysShiftDrop, 0), ActionBit(kActionDrop) | ActionBit(kActionTurn));
  EXPECT_EQ(HeldActions(ControlHandler::LetterKeysWRotate, 0), ActionBit(kActionDrop));
  Hold(VK_SHIFT, false);
  Hold('S', false);
}

TEST_F(ControlsTest, ARemappedKeyActsInsteadOfTheOldOne) {
  BeginMatch(1, false, 77);
  controlKeys[kSeatOnePlayer][0][kActionLeft] = platform::KeyPositionOfLetter('J');
  const int x = players[0].pieceX;
  Tap(VK_LEFT);
  EXPECT_EQ(players[0].pieceX, x);
  Tap('J');
  EXPECT_EQ(players[0].pieceX, x - 1);
  // The other layout of the same player keeps its own keys.
  EXPECT_EQ(HeldActions(ControlHandler::ArrowKeysUpRotate, 0), 0);
  Hold(VK_LEFT);
  EXPECT_EQ(HeldActions(ControlHandler::ArrowKeysUpRotate, 0), ActionBit(kActionLeft));
  Hold(VK_LEFT, false);
}

TEST_F(ControlsTest, InTwoPlayersEachPadDrivesItsOwnPlayer) {
  BeginMatch(2, false, 91);
  platform::headless::SetPadConnected(0, true);
  platform::headless::SetPadConnected(1, true);
  const int x0 = players[0].pieceX, x1 = players[1].pieceX;
  TapPad(0, PadButton::DpLeft);
  EXPECT_EQ(players[0].pieceX, x0 - 1);
  EXPECT_EQ(players[1].pieceX, x1);
  TapPad(1, PadButton::DpRight);
  EXPECT_EQ(players[1].pieceX, x1 + 1);
  EXPECT_EQ(players[0].pieceX, x0 - 1);
  // The stick counts beyond half way; B and down both drop.
  platform::headless::SetPadAxis(1, PadAxis::LeftX, -platform::kPadStickThreshold);
  EXPECT_EQ(HeldActions(players[1].controlHandler, 1), 0);
  platform::headless::SetPadAxis(1, PadAxis::LeftX, -platform::kPadStickThreshold - 1);
  EXPECT_EQ(HeldActions(players[1].controlHandler, 1), ActionBit(kActionLeft));
  platform::headless::SetPadAxis(1, PadAxis::LeftX, 0);
  platform::headless::SetPadButton(0, PadButton::DpDown, true);
  platform::headless::SetPadButton(0, PadButton::A, true);
  EXPECT_EQ(HeldActions(players[0].controlHandler, 0), ActionBit(kActionDrop) | ActionBit(kActionTurn));
  EXPECT_EQ(HeldActions(players[1].controlHandler, 1), 0);
  platform::headless::SetPadConnected(0, false);
  platform::headless::SetPadConnected(1, false);
}

TEST_F(ControlsTest, InOnePlayerAnyPadPlays) {
  BeginMatch(1, false, 91);
  platform::headless::SetPadConnected(1, true);
  const int x = players[0].pieceX;
  TapPad(1, PadButton::DpRight);
  EXPECT_EQ(players[0].pieceX, x + 1);
  // Held on, the pad acts once, as a key does.
  platform::headless::SetPadButton(1, PadButton::DpRight, true);
  for (int k = 0; k < 4; ++k) Step();
  EXPECT_EQ(players[0].pieceX, x + 2);
  platform::headless::SetPadConnected(1, false);
}

TEST_F(ControlsTest, TheLegendNamesTheGamesKeysUntilOneIsChanged) {
  EXPECT_STREQ(ActionKeyText(kSeatOnePlayer, 0, kActionDrop, "CTRL"), "CTRL");
  controlKeys[kSeatOnePlayer][0][kActionDrop] = platform::kKeyPositionRightShift;
  controlKeys[kSeatPlayerOne][1][kActionTurn] = platform::KeyPositionOfLetter('Z');
  RefreshKeyLabels();
  EXPECT_STREQ(ActionKeyText(kSeatOnePlayer, 0, kActionDrop, "CTRL"), "RIGHT SHIFT");
  EXPECT_STREQ(ActionKeyText(kSeatPlayerOne, 1, kActionTurn, "W"), "Z");
  EXPECT_STREQ(ActionKeyText(kSeatPlayerOne, 1, kActionDrop, "S"), "S");

  // On the one-player screen a long name is drawn half width.
  BeginMatch(1, false, 5);
  DrawPlayScreen();
  EXPECT_EQ(TextAt(436, 154, 16, 8), "RIGHT?SHIFT-DROP");
  EXPECT_EQ(TextAt(436, 70, 9), "LEFT-LEFT");

  // A two-player column has room for six half-width characters.
  controlKeys[kSeatPlayerOne][0][kActionDrop] = platform::kKeyPositionRightShift;
  RefreshKeyLabels();
  BeginMatch(2, false, 5);
  DrawPlayScreen();
  EXPECT_EQ(TextAt(8, 140, 1, 8), "A");
  EXPECT_EQ(TextAt(8, 168, 7, 8), "RIGHT??");
  EXPECT_EQ(TextAt(8, 182, 1, 8), "S");
}

}  // namespace
}  // namespace game_test
