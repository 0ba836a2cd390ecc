// The browser's key events as the game sees them: codes, Shift and Ctrl by
// side, quick taps, and which keys the page keeps for itself.
#include <gtest/gtest.h>

#include "platform/headless/headless_backend.h"
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

}  // namespace
}  // namespace platform::web
