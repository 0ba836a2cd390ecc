#include "tests/gfx/gfx_fixture.h"

#include "gfx/palette.h"

namespace {

TEST(SineTableTest, IsBuiltWithThreePointOneFour) {
  platform::headless::StartForTests();
  ASSERT_EQ(InitDisplay("Stakkorx", 8, 640, 480, 640, 480), 1);
  EXPECT_EQ(sineTable[0], 0);
  EXPECT_EQ(sineTable[1], 1143);
  EXPECT_EQ(sineTable[30], 32752);
  EXPECT_EQ(sineTable[45], 46322);
  EXPECT_EQ(sineTable[90], 65535);
  EXPECT_EQ(sineTable[180], 104);
  EXPECT_EQ(sineTable[270], -65535);
  EXPECT_EQ(sineTable[360], -208);
  EXPECT_EQ(sineTable[450], 65535);
  ShutdownDisplay();
}

TEST(InitDisplayTest, ScreenFailuresShowTheirMessageAndReturnZero) {
  struct Case {
    platform::ScreenError error;
    const char* box;
  } cases[] = {
      {platform::ScreenError::VideoInit, "Direct Draw: Cannot be initialized!"},
      {platform::ScreenError::Window, "Direct Draw: SetDisplayMode failed!\n9"},
      {platform::ScreenError::Renderer, "Direct Draw: SetDisplayMode failed!\n8"},
  };
  for (const Case& c : cases) {
    platform::headless::StartForTests();
    platform::headless::FailNextScreenOpen(c.error);
    EXPECT_EQ(InitDisplay("Stakkorx", 8, 640, 480, 640, 480), 0);
    EXPECT_EQ(platform::headless::LastMessageBox(), c.box);
    ShutdownDisplay();
  }
}

TEST(InitDisplayTest, OnlyTheListedCooperativeLevelResultsStopStartUp) {
  EXPECT_STREQ(CooperativeLevelMessage(0x8876023A), "SetCooperativeLevel failed!\nHWND subclassed!");
  EXPECT_EQ(CooperativeLevelMessage(0x88760001), nullptr);
  EXPECT_EQ(CooperativeLevelMessage(0), nullptr);
  EXPECT_STREQ(DisplayModeMessage(0x88760078), "SetDisplayMode failed!\n2");
  EXPECT_STREQ(DisplayModeMessage(0x8876021C), "SetDisplayMode failed!\n10");
  EXPECT_STREQ(DisplayModeMessage(0x12345678), "SetDisplayMode failed!");
  EXPECT_EQ(DisplayModeMessage(0), nullptr);
}

using PresentTest = DisplayTest;

TEST_F(PresentTest, PresentFrameShowsTheBackBufferThroughThePalette) {
  uint8_t palette[kPaletteBytes] = {};
  palette[3 * 5] = 63;      // index 5: red
  palette[3 * 6 + 2] = 32;  // index 6: dark blue
  SetPalette(palette);
  ClearBackBuffer(5);
  FillBox(backBuffer, 600, 400, 640, 480, 6);
  int changes = platform::headless::ScreenChangeCount();
  PresentFrame();
  EXPECT_GT(platform::headless::ScreenChangeCount(), changes);
  std::vector<uint8_t> rgb = platform::headless::ScreenRgb();
  ASSERT_EQ(rgb.size(), 640u * 480u * 3u);
  EXPECT_EQ(rgb[0], 255);  // 63 << 2 = 252 widens to full red
  EXPECT_EQ(rgb[1], 0);
  size_t corner = (479 * 640 + 639) * 3;
  EXPECT_EQ(rgb[corner + 2], 130);  // 32 << 2 = 128 | 128 >> 6
}

TEST_F(PresentTest, PresentRectCopiesOnlyItsRectangleAndRestoresLostSurfaces) {
  ClearBackBuffer(1);
  PresentFrame();
  ClearBackBuffer(2);
  primarySurface->MarkLost();
  backBuffer->MarkLost();
  PresentRect(10, 20, Rect{10, 20, 30, 25});
  EXPECT_FALSE(primarySurface->IsLost());
  EXPECT_EQ(At(primarySurface, 10, 20), 2);
  EXPECT_EQ(At(primarySurface, 29, 24), 2);
  EXPECT_EQ(At(primarySurface, 30, 24), 1);
  EXPECT_EQ(At(primarySurface, 10, 25), 1);
}

TEST_F(PresentTest, KeyDownFollowsTheKeyboard) {
  platform::headless::SetKeyHeld('A', true);
  EXPECT_EQ(KeyDown('A'), 1);
  EXPECT_EQ(KeyDown('A'), 1);
  platform::headless::SetKeyHeld('A', false);
  EXPECT_EQ(KeyDown('A'), 0);
  EXPECT_EQ(KeyDown(-1), 0);
  EXPECT_EQ(KeyDown(100000), 0);
}

}  // namespace
