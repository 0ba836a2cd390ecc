// Keys that go down and up between two polls: the browser delivers a short
// tap as both events at once, and the game must still see it down once.
#include <gtest/gtest.h>

#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "platform/platform.h"

namespace platform {
namespace {

class KeyTapTest : public ::testing::Test {
 protected:
  void SetUp() override { headless::StartForTests(); }
};

TEST_F(KeyTapTest, TapBetweenPollsIsSeenByExactlyOnePoll) {
  detail::SetKeyHeld(VK_LEFT, true);
  detail::ReleaseKeyOncePolled(VK_LEFT);
  // Polls of other keys do not use the tap up.
  EXPECT_FALSE(IsKeyHeld(VK_RIGHT));
  EXPECT_FALSE(IsKeyHeld(VK_ESCAPE));
  EXPECT_TRUE(IsKeyHeld(VK_LEFT));
  EXPECT_FALSE(IsKeyHeld(VK_LEFT));
}

TEST_F(KeyTapTest, KeySeenDownGoesUpAtOnce) {
  detail::SetKeyHeld(VK_SPACE, true);
  EXPECT_TRUE(IsKeyHeld(VK_SPACE));
  EXPECT_TRUE(IsKeyHeld(VK_SPACE));
  detail::ReleaseKeyOncePolled(VK_SPACE);
  EXPECT_FALSE(IsKeyHeld(VK_SPACE));
}

TEST_F(KeyTapTest, PressAgainBeforeThePollKeepsTheKeyHeld) {
  detail::SetKeyHeld('A', true);
  detail::ReleaseKeyOncePolled('A');
  detail::SetKeyHeld('A', true);  // down again: no release is waiting any more
  EXPECT_TRUE(IsKeyHeld('A'));
  EXPECT_TRUE(IsKeyHeld('A'));
}

TEST_F(KeyTapTest, ReleasingEverythingForgetsWaitingTaps) {
  detail::SetKeyHeld(VK_F8, true);
  detail::ReleaseKeyOncePolled(VK_F8);
  detail::ReleaseAllKeys();  // focus lost
  EXPECT_FALSE(IsKeyHeld(VK_F8));
  detail::SetKeyHeld(VK_F8, true);
  EXPECT_TRUE(IsKeyHeld(VK_F8));
  EXPECT_TRUE(IsKeyHeld(VK_F8));
}

TEST_F(KeyTapTest, KeysOutsideTheTableAreIgnored) {
  detail::SetKeyHeld(-1, true);
  detail::ReleaseKeyOncePolled(kVirtualKeyCount);
  EXPECT_FALSE(IsKeyHeld(-1));
  EXPECT_FALSE(IsKeyHeld(kVirtualKeyCount));
}

}  // namespace
}  // namespace platform
