// The generated pictures and fonts, read back through the game's picture
// loader: sizes, shared palettes, the colours the fonts keep in both
// palettes they are drawn under, glyphs that survive the squeezed drawing,
// the title's dark scroller band and the menu entries the highlight stretches.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "tests/assets/generator_fixture.h"
#include "tools/assets/palettes.h"

namespace {

using assets_test::LoadPicture;
using assets_test::Picture;

TEST(GeneratedPictures, LoadWithTheirSizesAndSharePalettesAsTheGameShowsThem) {
  struct Expected {
    const char* name;
    int width, height;
    const char* samePaletteAs;  // the picture whose palette it is shown with
  } expected[] = {
      {"HINTER.PIX", 640, 480, nullptr},       {"STEINES.PIX", 640, 480, "HINTER.PIX"},
      {"FONT1.PIX", 256, 84, "HINTER.PIX"},    {"FONT2.PIX", 256, 84, "HINTER.PIX"},
      {"PCBLOKS.PIX", 640, 200, nullptr},      {"TITELS.PIX", 640, 480, "PCBLOKS.PIX"},
      {"KVLOGO.PIX", 640, 480, nullptr},       {"MENU1.PIX", 640, 480, nullptr},
      {"MENU2.PIX", 640, 480, "MENU1.PIX"},
  };
  for (const Expected& e : expected) {
    Picture picture;
    LoadPicture(e.name, picture);
    EXPECT_EQ(picture.surface->Width(), e.width) << e.name;
    EXPECT_EQ(picture.surface->Height(), e.height) << e.name;
    for (uint8_t component : picture.palette) ASSERT_LE(component, 63) << e.name;
    if (e.samePaletteAs) {
      Picture other;
      LoadPicture(e.samePaletteAs, other);
      EXPECT_EQ(std::memcmp(picture.palette, other.palette, 768), 0) << e.name << " and " << e.samePaletteAs;
    }
  }
}

TEST(GeneratedPictures, FontColoursAreTheSameUnderTheGameAndTheTitlePalette) {
  Picture game, title;
  LoadPicture("HINTER.PIX", game);
  LoadPicture("PCBLOKS.PIX", title);
  for (int i = assets::kFontFirst; i <= assets::kFontLast; ++i) {
    for (int c = 0; c < 3; ++c) EXPECT_EQ(game.palette[3 * i + c], title.palette[3 * i + c]) << "entry " << i;
  }
  // The fonts use only those entries; the pictures drawn under them use none.
  auto range = [](const char* name, auto ok) {
    Picture p;
    LoadPicture(name, p);
    for (int y = 0; y < p.surface->Height(); ++y) {
      for (int x = 0; x < p.surface->Width(); ++x) ASSERT_TRUE(ok(p.At(x, y))) << name << " " << x << "," << y;
    }
  };
  range("FONT1.PIX", [](uint8_t v) { return v <= assets::kFontLast; });
  range("FONT2.PIX", [](uint8_t v) { return v <= assets::kFontLast; });
  range("HINTER.PIX", [](uint8_t v) { return v >= assets::kBackgroundFirst; });
  range("TITELS.PIX", [](uint8_t v) { return v == 0 || v >= assets::kTitleFirst; });
  range("PCBLOKS.PIX", [](uint8_t v) { return v == 0 || (v >= assets::kLogoFirst && v < assets::kTitleFirst); });
}

// The cell of character `c` in a font picture of 16 x 14 cells, 16 to a row.
uint8_t CellPixel(const Picture& font, int c, int x, int y) {
  const int k = c - 32;
  return font.At((k % 16) * 16 + x, (k / 16) * 14 + y);
}

TEST(GeneratedPictures, EveryGlyphHasInkAndTheSpaceIsBlank) {
  for (const char* name : {"FONT1.PIX", "FONT2.PIX"}) {
    Picture font;
    LoadPicture(name, font);
    for (int c = 32; c <= 127; ++c) {
      int ink = 0;
      for (int y = 0; y < 14; ++y) {
        for (int x = 0; x < 16; ++x) ink += CellPixel(font, c, x, y) != 0;
      }
      if (c == 32) {
        EXPECT_EQ(ink, 0) << name;
      } else {
        EXPECT_GT(ink, 3) << name << " character " << c;
      }
    }
  }
}

// The play font is drawn 14 and 8 pixels wide too, each destination pixel
// taking source column dx * 16 / width. Every horizontal run of letter
// pixels must keep at least one of its pixels, or a stroke vanishes.
TEST(GeneratedPictures, PlayFontStrokesSurviveTheSqueezedWidths) {
  Picture font;
  LoadPicture("FONT2.PIX", font);
  auto isLetter = [](uint8_t v) { return v >= assets::kFont2Fill && v < assets::kFont2Fill + assets::kFont2FillCount; };
  for (int width : {14, 8}) {
    bool kept[16] = {};
    for (int dx = 0; dx < width; ++dx) kept[dx * 16 / width] = true;
    for (int c = 33; c <= 127; ++c) {
      for (int y = 0; y < 14; ++y) {
        for (int x = 0; x < 16;) {
          if (!isLetter(CellPixel(font, c, x, y))) {
            ++x;
            continue;
          }
          int end = x;
          bool seen = false;
          while (end < 16 && isLetter(CellPixel(font, c, end, y))) {
            if (kept[end]) seen = true;
            ++end;
          }
          EXPECT_TRUE(seen) << "character '" << static_cast<char>(c) << "' row " << y << " columns " << x << ".."
                            << end - 1 << " vanish at width " << width;
          x = end;
        }
      }
    }
  }
}

double Brightness(const uint8_t* palette, int i) {
  return 0.3 * palette[3 * i] + 0.59 * palette[3 * i + 1] + 0.11 * palette[3 * i + 2];
}

TEST(GeneratedPictures, BarColoursShadeSmoothlyFromRimToMiddle) {
  Picture game;
  LoadPicture("HINTER.PIX", game);
  for (int i = 81; i <= 95; ++i) {
    double step = Brightness(game.palette, i) - Brightness(game.palette, i - 1);
    EXPECT_GT(step, 0.0) << "entry " << i;
    EXPECT_LT(step, 6.0) << "entry " << i;
  }
  EXPECT_GT(Brightness(game.palette, 95), Brightness(game.palette, 80) + 20);
}

TEST(GeneratedPictures, TitleKeepsTheScrollerBandDarkAndTheLogoStandsFreeInTheMiddle) {
  Picture title, logo;
  LoadPicture("TITELS.PIX", title);
  LoadPicture("PCBLOKS.PIX", logo);
  // The scroller is drawn with whole cells over the bottom 14 rows: entry 0, black.
  for (int i = 0; i < 3; ++i) EXPECT_EQ(logo.palette[i], 0);
  for (int y = 466; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) ASSERT_EQ(title.At(x, y), 0) << x << "," << y;
  }
  int left = 640, right = -1, top = 200, bottom = -1;
  for (int y = 0; y < 200; ++y) {
    for (int x = 0; x < 640; ++x) {
      if (!logo.At(x, y)) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  EXPECT_GT(left, 0);
  EXPECT_LT(right, 639);
  EXPECT_GT(top, 0);
  EXPECT_LT(bottom, 199);
  EXPECT_GT(right - left, 500) << "a bold logo across the screen";
  EXPECT_NEAR((left + right) / 2.0, 320.0, 8.0);
}

double Distance(const uint8_t* palette, uint8_t a, uint8_t b) {
  double sum = 0;
  for (int c = 0; c < 3; ++c) {
    double d = palette[3 * a + c] - palette[3 * b + c];
    sum += d * d;
  }
  return std::sqrt(sum);
}

// The highlight draws a strip up to 419 pixels wide and then narrower
// without clearing: an entry's text must stay in the middle 200 pixels, or
// its stretched ends would stand beside the narrower copy.
TEST(GeneratedPictures, MenuEntriesAreCentredAndNarrowEnoughForTheHighlight) {
  for (const char* name : {"MENU1.PIX", "MENU2.PIX"}) {
    Picture menu;
    LoadPicture(name, menu);
    for (int entry = 0; entry < 4; ++entry) {
      const int top = 48 + 98 * entry;
      // A column with text differs from a plain rail column (x 120) in many rows.
      int left = 640, right = -1;
      for (int x = 110; x < 530; ++x) {
        int differing = 0;
        for (int y = top + 8; y < top + 52; ++y) {
          differing += Distance(menu.palette, menu.At(x, y), menu.At(120, y)) > 12.0;
        }
        if (differing > 4) {
          left = std::min(left, x);
          right = std::max(right, x);
        }
      }
      ASSERT_GE(right, left) << name << " entry " << entry << " shows no text";
      EXPECT_LE(right - left + 1, 200) << name << " entry " << entry;
      EXPECT_NEAR((left + right) / 2.0, 320.0, 6.0) << name << " entry " << entry;
    }
  }
}

TEST(GeneratedPictures, MenuPicturesDifferOnlyInThePlayersEntry) {
  Picture one, two;
  LoadPicture("MENU1.PIX", one);
  LoadPicture("MENU2.PIX", two);
  int differing = 0;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      if (one.At(x, y) == two.At(x, y)) continue;
      ++differing;
      ASSERT_TRUE(x >= 160 && x < 480 && y >= 48 + 98 * 2 && y < 108 + 98 * 2) << x << "," << y;
    }
  }
  EXPECT_GT(differing, 100);
}

}  // namespace
