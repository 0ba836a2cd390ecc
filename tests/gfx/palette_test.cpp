#include "tests/gfx/gfx_fixture.h"

#include <array>

#include "gfx/palette.h"

namespace {

using PaletteTest = DisplayTest;

TEST_F(PaletteTest, SetPaletteHandsShiftedComponentsWithFlagsTwo) {
  uint8_t palette[kPaletteBytes] = {};
  palette[0] = 63;
  palette[1] = 1;
  palette[767] = 32;
  SetPalette(palette);
  const uint8_t* entries = platform::headless::ScreenPaletteEntries();
  EXPECT_EQ(entries[0], 252);
  EXPECT_EQ(entries[1], 4);
  EXPECT_EQ(entries[2], 0);
  EXPECT_EQ(entries[3], 2);
  EXPECT_EQ(entries[255 * 4 + 2], 128);
  // The first call attaches the palette object, later ones refill it.
  DisplayPalette* attached = displayPalette;
  ASSERT_NE(attached, nullptr);
  palette[0] = 10;
  SetPalette(palette);
  EXPECT_EQ(displayPalette, attached);
  EXPECT_EQ(displayPalette->entries[0], 40);
}

TEST_F(PaletteTest, FadeInTakesSixtyFourStepsOfTwelveMilliseconds) {
  uint8_t target[kPaletteBytes] = {};
  target[0] = 63;
  target[1] = 10;
  platform::headless::SetClock(1000);
  // Watch the palette after each millisecond of the fade.
  std::vector<std::array<uint8_t, 2>> seen;
  platform::headless::SetClockListener([&](uint32_t now) {
    if ((now - 1000) % 12 == 1) seen.push_back({paletteEntries[0], paletteEntries[1]});
  });
  FadeIn(target);
  platform::headless::SetClockListener(nullptr);
  EXPECT_EQ(timeGetTime(), 1000u + 64 * 12);
  ASSERT_EQ(seen.size(), 64u);
  // Step k is uploaded at 1000 + 12k, so seen[k] shows it.
  EXPECT_EQ(seen[1][0], 1 << 2);   // target 63: 1 after the first step
  EXPECT_EQ(seen[9][1], 9 << 2);
  EXPECT_EQ(seen[10][1], 10 << 2);  // target 10: reached at step 10 and kept
  EXPECT_EQ(seen[63][1], 10 << 2);
  EXPECT_EQ(seen[63][0], 63 << 2);  // target 63: reached at step 63
}

TEST_F(PaletteTest, FadeOfABlackPaletteStillTakesItsTime) {
  uint8_t black[kPaletteBytes];
  ClearPalette(black);
  platform::headless::SetClock(0);
  FadeIn(black);
  EXPECT_EQ(timeGetTime(), 768u);
  EXPECT_EQ(paletteEntries[0], 0);
}

TEST_F(PaletteTest, FadeOutEndsBlackAndLeavesTheCallersPalette) {
  uint8_t shown[kPaletteBytes];
  for (int i = 0; i < kPaletteBytes; ++i) shown[i] = static_cast<uint8_t>(i % 64);
  uint8_t copy[kPaletteBytes];
  std::copy(shown, shown + kPaletteBytes, copy);
  platform::headless::SetClock(50);
  FadeOut(shown);
  EXPECT_EQ(timeGetTime(), 50u + 768);
  EXPECT_TRUE(std::equal(shown, shown + kPaletteBytes, copy));
  for (int i = 0; i < 256 * 4; i += 4) ASSERT_EQ(paletteEntries[i] | paletteEntries[i + 1] | paletteEntries[i + 2], 0);
}

}  // namespace
