// The browser's gamepads as the game sees them: standard-mapping pads in
// the lowest free slot, kept there until they go, their buttons and left
// stick in the platform's pad state.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "platform/pads.h"
#include "platform/web/browser_pads.h"

namespace platform::web {
namespace {

constexpr int kStandardA = 0, kStandardStart = 9, kStandardLeft = 14;

BrowserPadSample Pad(long index, bool standard = true) {
  BrowserPadSample sample;
  sample.index = index;
  sample.standard = standard;
  return sample;
}

class BrowserPadsTest : public ::testing::Test {
 protected:
  void SetUp() override { headless::StartForTests(); }
  bool Update(const std::vector<BrowserPadSample>& samples) {
    return pads.Update(samples.data(), static_cast<int>(samples.size()));
  }
  BrowserPads pads;
};

TEST_F(BrowserPadsTest, PadsTakeTheLowestFreeSlotAndKeepIt) {
  EXPECT_TRUE(Update({Pad(2), Pad(0)}));
  EXPECT_TRUE(PadConnected(0));
  EXPECT_TRUE(PadConnected(1));
  BrowserPadSample second = Pad(0);
  second.pressed[kStandardA] = true;
  Update({Pad(2), second});
  EXPECT_FALSE(PadButtonHeld(0, PadButton::A));  // the browser's pad 2 came first
  EXPECT_TRUE(PadButtonHeld(1, PadButton::A));
  // The first goes: the second keeps its slot; a new one takes the free one.
  Update({second});
  EXPECT_FALSE(PadConnected(0));
  EXPECT_TRUE(PadButtonHeld(1, PadButton::A));
  Update({second, Pad(3)});
  EXPECT_TRUE(PadConnected(0));
  EXPECT_TRUE(pads.AnyConnected());
  Update({});
  EXPECT_FALSE(PadConnected(0));
  EXPECT_FALSE(PadConnected(1));
  EXPECT_FALSE(pads.AnyConnected());
}

TEST_F(BrowserPadsTest, OnlyPadsWithTheStandardMappingPlay) {
  BrowserPadSample odd = Pad(0, false);
  odd.pressed[kStandardA] = true;
  EXPECT_FALSE(Update({odd}));
  EXPECT_FALSE(PadConnected(0));
  EXPECT_FALSE(pads.AnyConnected());
  // A pad whose mapping is no longer the standard one has gone.
  Update({Pad(0)});
  Update({odd});
  EXPECT_FALSE(PadConnected(0));
}

TEST_F(BrowserPadsTest, ButtonsAndStickAsTheGameNamesThem) {
  BrowserPadSample pad = Pad(0);
  pad.pressed[kStandardStart] = true;
  pad.pressed[kStandardLeft] = true;
  pad.leftX = -1.0;
  pad.leftY = 0.5;
  EXPECT_TRUE(Update({pad}));
  EXPECT_TRUE(PadButtonHeld(0, PadButton::Start));
  EXPECT_TRUE(PadButtonHeld(0, PadButton::DpLeft));
  EXPECT_FALSE(PadButtonHeld(0, PadButton::A));
  EXPECT_EQ(PadAxisValue(0, PadAxis::LeftX), -32768);
  EXPECT_EQ(PadAxisValue(0, PadAxis::LeftY), 16384);
  EXPECT_FALSE(Update({pad}));  // nothing changed
  // Values beyond the range are the ends; a broken one is the middle.
  pad.leftX = 7.0;
  pad.leftY = std::nan("");
  EXPECT_TRUE(Update({pad}));
  EXPECT_EQ(PadAxisValue(0, PadAxis::LeftX), 32767);
  EXPECT_EQ(PadAxisValue(0, PadAxis::LeftY), 0);
}

TEST_F(BrowserPadsTest, HeldButtonsComeBackAfterTheyWereLetGo) {
  BrowserPadSample pad = Pad(0);
  pad.pressed[kStandardA] = true;
  Update({pad});
  // The page lost the focus: the platform let go of everything held.
  detail::ReleaseAllKeys();
  pads.Forget();
  EXPECT_TRUE(PadConnected(0));
  EXPECT_FALSE(PadButtonHeld(0, PadButton::A));
  EXPECT_TRUE(Update({pad}));
  EXPECT_TRUE(PadButtonHeld(0, PadButton::A));
}

TEST_F(BrowserPadsTest, MorePadsThanSlotsLeaveTheRestOut) {
  std::vector<BrowserPadSample> many;
  for (long index = 0; index < kMaxPads + 2; ++index) many.push_back(Pad(index));
  Update(many);
  for (int slot = 0; slot < kMaxPads; ++slot) EXPECT_TRUE(PadConnected(slot)) << slot;
  many.erase(many.begin());  // the first goes; the next one waiting takes its slot
  Update(many);
  EXPECT_TRUE(PadConnected(0));
}

}  // namespace
}  // namespace platform::web
