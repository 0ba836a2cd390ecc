// Keys that go down and up between two polls: the browser delivers a short
// tap as both events at once, and the game must still see it down once, by
// what the key types and by where it sits.
#include <gtest/gtest.h>

#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "platform/key_positions.h"
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

TEST_F(KeyTapTest, PositionTapBetweenPollsIsSeenByExactlyOnePoll) {
  const int d = KeyPositionOfLetter('D');
  detail::SetKeyPositionHeld(d, true);
  detail::ReleaseKeyPositionOncePolled(d);
  EXPECT_FALSE(IsKeyPositionHeld(KeyPositionOfLetter('A')));
  EXPECT_TRUE(IsKeyPositionHeld(d));
  EXPECT_FALSE(IsKeyPositionHeld(d));
  // A position seen down goes up at once; the options screen's search for
  // a held key counts as a poll.
  detail::SetKeyPositionHeld(d, true);
  EXPECT_EQ(FirstHeldKeyPosition(), d);
  detail::ReleaseKeyPositionOncePolled(d);
  EXPECT_EQ(FirstHeldKeyPosition(), std::nullopt);
  // Focus lost: a waiting tap is forgotten.
  detail::SetKeyPositionHeld(d, true);
  detail::ReleaseKeyPositionOncePolled(d);
  detail::ReleaseAllKeys();
  EXPECT_FALSE(IsKeyPositionHeld(d));
}

TEST_F(KeyTapTest, KeysOutsideTheTableAreIgnored) {
  detail::SetKeyHeld(-1, true);
  detail::ReleaseKeyOncePolled(kVirtualKeyCount);
  EXPECT_FALSE(IsKeyHeld(-1));
  EXPECT_FALSE(IsKeyHeld(kVirtualKeyCount));
  detail::SetKeyPositionHeld(-1, true);
  detail::ReleaseKeyPositionOncePolled(kKeyPositionCount);
  EXPECT_FALSE(IsKeyPositionHeld(-1));
  EXPECT_FALSE(IsKeyPositionHeld(kKeyPositionCount));
}

}  // namespace
}  // namespace platform
