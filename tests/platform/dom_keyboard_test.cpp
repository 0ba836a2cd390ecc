// The browser's key events as the game sees them: codes and key positions,
// Shift and Ctrl by side, quick taps, and which keys the page keeps for
// itself.
#include <gtest/gtest.h>

#include <string>

#include "platform/headless/headless_backend.h"
#include "platform/key_positions.h"
#include "platform/platform.h"
#include "platform/web/dom_keyboard.h"

namespace platform::web {
namespace {

constexpr unsigned kLeft = 1, kRight = 2;

DomKeyEvent Key(unsigned code, unsigned location = 0) {
  DomKeyEvent event;
  event.keyCode = code;
  event.location = location;
  return event;
}

// A key as a browser reports it: what it types (`keyCode`) and where it is.
DomKeyEvent Key(unsigned keyCode, const char* code, unsigned location = 0) {
  DomKeyEvent event = Key(keyCode, location);
  event.code = code;
  return event;
}

class DomKeyboardTest : public ::testing::Test {
 protected:
  void SetUp() override { headless::StartForTests(); }
  DomKeyboard keyboard;
};

TEST_F(DomKeyboardTest, GameKeysAreHeldAndKeptFromThePage) {
  EXPECT_TRUE(keyboard.KeyDown(Key(VK_LEFT)));
  EXPECT_TRUE(keyboard.KeyDown(Key(VK_SPACE)));
  EXPECT_TRUE(keyboard.KeyDown(Key(VK_F1)));
  EXPECT_TRUE(keyboard.KeyDown(Key('W')));
  EXPECT_TRUE(keyboard.KeyDown(Key(97)));  // the number pad's 1
  for (int vk : {VK_LEFT, VK_SPACE, VK_F1, static_cast<int>('W'), static_cast<int>('1')}) {
    EXPECT_TRUE(IsKeyHeld(vk)) << vk;
  }
  EXPECT_TRUE(keyboard.KeyUp(Key(VK_LEFT)));
  EXPECT_FALSE(IsKeyHeld(VK_LEFT));
}

TEST_F(DomKeyboardTest, OtherKeysStayThePages) {
  EXPECT_FALSE(keyboard.KeyDown(Key(91)));  // the system key
  for (int vk = 0; vk < kVirtualKeyCount; ++vk) EXPECT_FALSE(IsKeyHeld(vk)) << vk;
  // F5 reloads and F11 goes fullscreen as ever; the game sees them all the same.
  EXPECT_FALSE(keyboard.KeyDown(Key(VK_F1 + 4)));
  EXPECT_FALSE(keyboard.KeyDown(Key(VK_F1 + 10)));
  EXPECT_TRUE(IsKeyHeld(VK_F1 + 4));
  EXPECT_TRUE(keyboard.KeyDown(Key(VK_F8)));
}

TEST_F(DomKeyboardTest, BrowserShortcutsAndAltEnterGoToThePage) {
  DomKeyEvent reload = Key('R');
  reload.ctrl = true;
  EXPECT_FALSE(keyboard.KeyDown(reload));
  EXPECT_TRUE(IsKeyHeld('R'));  // the game still sees the letter

  DomKeyEvent fullscreen = Key(VK_RETURN);
  fullscreen.alt = true;
  EXPECT_FALSE(keyboard.KeyDown(fullscreen));
  EXPECT_FALSE(IsKeyHeld(VK_RETURN));
}

TEST_F(DomKeyboardTest, ShiftAndCtrlStayHeldWhileEitherSideIs) {
  keyboard.KeyDown(Key(16, kLeft));
  keyboard.KeyDown(Key(16, kRight));
  EXPECT_TRUE(IsKeyHeld(VK_SHIFT));
  keyboard.KeyUp(Key(16, kLeft));
  EXPECT_TRUE(IsKeyHeld(VK_SHIFT));
  keyboard.KeyUp(Key(16, kRight));
  EXPECT_FALSE(IsKeyHeld(VK_SHIFT));

  keyboard.KeyDown(Key(17, kRight));
  EXPECT_TRUE(IsKeyHeld(VK_CONTROL));
  keyboard.KeyUp(Key(17, kRight));
  EXPECT_FALSE(IsKeyHeld(VK_CONTROL));
}

TEST_F(DomKeyboardTest, QuickTapIsSeenOnceAndRepeatsChangeNothing) {
  keyboard.KeyDown(Key(17, kLeft));
  keyboard.KeyUp(Key(17, kLeft));
  EXPECT_TRUE(IsKeyHeld(VK_CONTROL));
  EXPECT_FALSE(IsKeyHeld(VK_CONTROL));

  DomKeyEvent repeat = Key(VK_DOWN);
  repeat.repeat = true;
  EXPECT_TRUE(keyboard.KeyDown(repeat));  // still kept from the page
  EXPECT_FALSE(IsKeyHeld(VK_DOWN));
}

TEST_F(DomKeyboardTest, LosingTheFocusReleasesBothSides) {
  keyboard.KeyDown(Key(16, kLeft));
  keyboard.KeyDown(Key(VK_LEFT));
  keyboard.ReleaseAll();
  EXPECT_FALSE(IsKeyHeld(VK_SHIFT));
  EXPECT_FALSE(IsKeyHeld(VK_LEFT));
  // The right Shift alone, later: its release is the last one.
  keyboard.KeyDown(Key(16, kRight));
  EXPECT_TRUE(IsKeyHeld(VK_SHIFT));
  keyboard.KeyUp(Key(16, kRight));
  EXPECT_FALSE(IsKeyHeld(VK_SHIFT));
}

TEST_F(DomKeyboardTest, KeysAreHeldWhereTheySitWhateverTheyType) {
  // A French keyboard: the key where a US keyboard has A types Q.
  EXPECT_TRUE(keyboard.KeyDown(Key('Q', "KeyA")));
  EXPECT_TRUE(IsKeyHeld('Q'));
  EXPECT_FALSE(IsKeyHeld('A'));
  EXPECT_TRUE(IsKeyPositionHeld(KeyPositionOfLetter('A')));
  EXPECT_FALSE(IsKeyPositionHeld(KeyPositionOfLetter('Q')));
  keyboard.KeyUp(Key('Q', "KeyA"));
  EXPECT_FALSE(IsKeyPositionHeld(KeyPositionOfLetter('A')));
}

TEST_F(DomKeyboardTest, KeysTheGameNeverTypedStillHoldTheirPlace) {
  // The number pad's 4 and Tab: no virtual key of the game's, but a player
  // may choose them; the page keeps them.
  EXPECT_TRUE(keyboard.KeyDown(Key(100, "Numpad4", 3)));
  EXPECT_TRUE(keyboard.KeyDown(Key(9, "Tab")));
  EXPECT_TRUE(IsKeyPositionHeld(*KeyPositionFromName("Keypad 4")));
  EXPECT_TRUE(IsKeyPositionHeld(*KeyPositionFromName("Tab")));
  EXPECT_EQ(FirstHeldKeyPosition(), 43);  // Tab
  // With Ctrl, such a key is the browser's (Ctrl+Tab) but still held.
  DomKeyEvent nextTab = Key(9, "Tab");
  nextTab.ctrl = true;
  keyboard.KeyUp(Key(9, "Tab"));
  EXPECT_FALSE(keyboard.KeyDown(nextTab));
  EXPECT_TRUE(IsKeyPositionHeld(43));
  // Keys with neither are left to the page.
  EXPECT_FALSE(keyboard.KeyDown(Key(0, "")));
  EXPECT_FALSE(keyboard.KeyDown(Key(0, "Unidentified")));
}

TEST_F(DomKeyboardTest, ShiftAndCtrlHeldBySideAsPositions) {
  keyboard.KeyDown(Key(16, "ShiftRight", kRight));
  EXPECT_TRUE(IsKeyPositionHeld(kKeyPositionRightShift));
  EXPECT_TRUE(IsKeyPositionHeld(kKeyPositionAnyShift));
  EXPECT_FALSE(IsKeyPositionHeld(kKeyPositionLeftShift));
  keyboard.KeyUp(Key(16, "ShiftRight", kRight));
  EXPECT_FALSE(IsKeyPositionHeld(kKeyPositionAnyShift));
  keyboard.KeyDown(Key(17, "ControlLeft", kLeft));
  EXPECT_TRUE(IsKeyPositionHeld(kKeyPositionAnyCtrl));
}

TEST_F(DomKeyboardTest, QuickTapOfAPositionIsSeenByOnePoll) {
  keyboard.KeyDown(Key('D', "KeyD"));
  keyboard.KeyUp(Key('D', "KeyD"));
  EXPECT_TRUE(IsKeyPositionHeld(KeyPositionOfLetter('D')));
  EXPECT_FALSE(IsKeyPositionHeld(KeyPositionOfLetter('D')));
  // A tap of either Shift, polled as "either Shift", is seen once too.
  keyboard.KeyDown(Key(16, "ShiftLeft", kLeft));
  keyboard.KeyUp(Key(16, "ShiftLeft", kLeft));
  EXPECT_TRUE(IsKeyPositionHeld(kKeyPositionAnyShift));
  EXPECT_FALSE(IsKeyPositionHeld(kKeyPositionAnyShift));
}

TEST_F(DomKeyboardTest, AltEnterHoldsNeitherKeyNorPosition) {
  DomKeyEvent fullscreen = Key(VK_RETURN, "Enter");
  fullscreen.alt = true;
  EXPECT_FALSE(keyboard.KeyDown(fullscreen));
  EXPECT_FALSE(IsKeyPositionHeld(kKeyPositionReturn));
}

TEST_F(DomKeyboardTest, LosingTheFocusReleasesPositions) {
  keyboard.KeyDown(Key('W', "KeyW"));
  keyboard.ReleaseAll();
  EXPECT_FALSE(IsKeyPositionHeld(KeyPositionOfLetter('W')));
}

// Every DOM code the table knows leads to a position and back to itself
// (the older names of the system keys lead to the new ones).
TEST(DomCodes, PositionsAndCodesAgree) {
  int known = 0;
  for (int position = 0; position < kKeyPositionCount; ++position) {
    const std::optional<const char*> code = DomCodeOfKeyPosition(position);
    if (!code) continue;
    ++known;
    EXPECT_EQ(KeyPositionFromDomCode(*code), position) << *code;
  }
  EXPECT_GT(known, 100);
  EXPECT_EQ(KeyPositionFromDomCode("OSLeft"), KeyPositionFromDomCode("MetaLeft"));
}

TEST(DomCodes, PositionsAreTheUsbCodesOfTheKeys) {
  EXPECT_EQ(KeyPositionFromDomCode("KeyA"), kKeyPositionA);
  EXPECT_EQ(KeyPositionFromDomCode("KeyZ"), kKeyPositionA + 25);
  EXPECT_EQ(KeyPositionFromDomCode("Digit1"), kKeyPosition1);
  EXPECT_EQ(KeyPositionFromDomCode("Digit0"), kKeyPosition0);
  EXPECT_EQ(KeyPositionFromDomCode("F1"), kKeyPositionF1);
  EXPECT_EQ(KeyPositionFromDomCode("F12"), kKeyPositionF1 + 11);
  EXPECT_EQ(KeyPositionFromDomCode("F13"), 104);
  EXPECT_EQ(KeyPositionFromDomCode("F24"), 115);
  EXPECT_EQ(KeyPositionFromDomCode("ArrowLeft"), kKeyPositionLeft);
  EXPECT_EQ(KeyPositionFromDomCode("ControlRight"), kKeyPositionRightCtrl);
  EXPECT_EQ(KeyPositionFromDomCode("Numpad0"), 98);
  // Near misses are no keys.
  for (const char* code : {"", "Key", "Keya", "KeyAB", "Digit", "Digit10", "F0", "F25", "F1 ", "F123", "arrowleft"}) {
    EXPECT_EQ(KeyPositionFromDomCode(code), -1) << '"' << code << '"';
  }
  EXPECT_EQ(KeyPositionFromDomCode(nullptr), -1);
}

}  // namespace
}  // namespace platform::web
