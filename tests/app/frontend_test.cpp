#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "app/menu.h"
#include "app/title.h"
#include "gfx/display.h"
#include "platform/headless/headless_backend.h"

namespace {

TEST(MenuTest, TheHighlightPulsesBetween260And419Pixels) {
  platform::headless::StartForTests();
  ASSERT_EQ(InitDisplay("Stakkorx", 8, 640, 480, 640, 480), 1);
  EXPECT_EQ(HighlightWidth(0), 260);
  EXPECT_EQ(HighlightWidth(4 * 90), 260 + ((65535 * 160) >> 16));  // 419
  EXPECT_EQ(HighlightWidth(4 * 90), 419);
  EXPECT_EQ(HighlightWidth(4 * 180), 260);  // a full swing after 720 passes
  int32_t narrowest = 1000, widest = 0;
  for (int32_t pulse = 0; pulse < 720; ++pulse) {
    narrowest = std::min(narrowest, HighlightWidth(pulse));
    widest = std::max(widest, HighlightWidth(pulse));
  }
  EXPECT_EQ(narrowest, 260);
  EXPECT_EQ(widest, 419);
  ShutdownDisplay();
}

TEST(ScrollerTest, TheLineRunsThroughTheTextThenShowsBlankThenStartsAgain) {
  const char text[] = "AB";
  scrollText = static_cast<uint8_t*>(std::malloc(2));
  std::memcpy(scrollText, text, 2);
  scrollLength = 2;
  char line[8];
  scrollPos = 0;
  MakeScrollLine(line, 4);
  EXPECT_STREQ(line, "AB  ");
  scrollPos = 1;
  MakeScrollLine(line, 4);
  EXPECT_STREQ(line, "B   ");
  scrollPos = 2;
  MakeScrollLine(line, 4);
  EXPECT_STREQ(line, "    ");
  std::free(scrollText);
  scrollText = nullptr;
  scrollLength = 0;
}

}  // namespace
