// The generated pictures and fonts, read back through the game's picture
// loader: sizes, palettes, the colours the fonts share between palettes,
// glyphs that survive the squeezed drawing, the title's dark scroller band
// and the menu entries the highlight stretches.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "gfx/surface.h"
#include "media/image_loader.h"
#include "tests/assets/generator_fixture.h"
#include "tools/assets/palettes.h"

namespace {

using assets::IndexCanvas;
using assets::Palette;

struct Loaded {
  Surface* surface = nullptr;
  uint8_t palette[768] = {};
  ~Loaded() { ReleaseSurface(surface); }
};

void Load(const char* name, Loaded& out) {
  assets_test::EnsureDisplay();
  assets_test::Generated();
  ASSERT_EQ(LoadImageFile(assets_test::GeneratedPath(name).c_str(), &out.surface, out.palette), 1) << name;
  ASSERT_NE(out.surface, nullptr);
}

bool SamePixels(const Surface* surface, const IndexCanvas& canvas) {
  if (surface->Width() != canvas.width || surface->Height() != canvas.height) return false;
  for (int y = 0; y < canvas.height; ++y) {
    if (std::memcmp(surface->Row(y), &canvas.pixels[static_cast<size_t>(y) * canvas.width], canvas.width) != 0) {
      return false;
    }
  }
  return true;
}

TEST(GeneratedPictures, LoadWithTheirSizesPalettesAndPixels) {
  const assets::Artwork& art = assets_test::Generated().art;
  struct Expected {
    const char* name;
    const IndexCanvas* picture;
    const Palette* palette;
    int width, height;
  } expected[] = {
      {"FONT1.PIX", &art.font1, &art.gamePalette, 256, 84},
      {"FONT2.PIX", &art.font2, &art.gamePalette, 256, 84},
      {"HINTER.PIX", &art.background, &art.gamePalette, 640, 480},
      {"STEINES.PIX", &art.sheet, &art.gamePalette, 640, 480},
      {"PCBLOKS.PIX", &art.logo, &art.titlePalette, 640, 200},
      {"TITELS.PIX", &art.title, &art.titlePalette, 640, 480},
      {"KVLOGO.PIX", &art.closingLogo, &art.closingPalette, 640, 480},
      {"MENU1.PIX", &art.menu1, &art.menuPalette, 640, 480},
      // MENU2 is shown with MENU1's palette, so it carries the same one.
      {"MENU2.PIX", &art.menu2, &art.menuPalette, 640, 480},
  };
  for (const Expected& e : expected) {
    Loaded loaded;
    Load(e.name, loaded);
    EXPECT_EQ(loaded.surface->Width(), e.width) << e.name;
    EXPECT_EQ(loaded.surface->Height(), e.height) << e.name;
    EXPECT_EQ(std::memcmp(loaded.palette, e.palette->bytes.data(), 768), 0) << e.name;
    EXPECT_TRUE(SamePixels(loaded.surface, *e.picture)) << e.name;
    for (uint8_t component : loaded.palette) ASSERT_LE(component, 63) << e.name;
  }
}

TEST(GeneratedPictures, FontsUseColoursThatTheGameAndTitlePalettesShare) {
  const assets::Artwork& art = assets_test::Generated().art;
  for (int i = assets::kFontFirst; i <= assets::kFontLast; ++i) {
    for (int c = 0; c < 3; ++c) {
      EXPECT_EQ(art.gamePalette.bytes[3 * i + c], art.titlePalette.bytes[3 * i + c]) << "entry " << i;
    }
  }
  for (const IndexCanvas* font : {&art.font1, &art.font2}) {
    for (uint8_t v : font->pixels) ASSERT_LE(v, assets::kFontLast);
  }
  // The pictures under the fonts leave the font entries alone.
  for (uint8_t v : art.background.pixels) ASSERT_GE(v, assets::kBackgroundFirst);
  for (uint8_t v : art.title.pixels) ASSERT_TRUE(v == 0 || v >= assets::kTitleFirst);
  for (uint8_t v : art.logo.pixels) ASSERT_TRUE(v == 0 || (v >= assets::kLogoFirst && v < assets::kTitleFirst));
}

// The cell of character `c` in a font picture of 16 x 14 cells, 16 to a row.
uint8_t CellPixel(const Surface* font, int c, int x, int y) {
  const int k = c - 32;
  return font->Row((k / 16) * 14 + y)[(k % 16) * 16 + x];
}

TEST(GeneratedPictures, EveryGlyphHasInkAndTheSpaceIsBlank) {
  for (const char* name : {"FONT1.PIX", "FONT2.PIX"}) {
    Loaded font;
    Load(name, font);
    for (int c = 32; c <= 127; ++c) {
      int ink = 0;
      for (int y = 0; y < 14; ++y) {
        for (int x = 0; x < 16; ++x) ink += CellPixel(font.surface, c, x, y) != 0;
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
  Loaded font;
  Load("FONT2.PIX", font);
  auto isLetter = [](uint8_t v) { return v >= assets::kFont2Fill && v < assets::kFont2Fill + assets::kFont2FillCount; };
  for (int width : {14, 8}) {
    bool kept[16] = {};
    for (int dx = 0; dx < width; ++dx) kept[dx * 16 / width] = true;
    for (int c = 33; c <= 127; ++c) {
      for (int y = 0; y < 14; ++y) {
        for (int x = 0; x < 16;) {
          if (!isLetter(CellPixel(font.surface, c, x, y))) {
            ++x;
            continue;
          }
          int end = x;
          bool seen = false;
          while (end < 16 && isLetter(CellPixel(font.surface, c, end, y))) seen = seen || kept[end++];
          EXPECT_TRUE(seen) << "character '" << static_cast<char>(c) << "' row " << y << " columns " << x << ".."
                            << end - 1 << " vanish at width " << width;
          x = end;
        }
      }
    }
  }
}

double Brightness(const Palette& p, int i) {
  return 0.3 * p.bytes[3 * i] + 0.59 * p.bytes[3 * i + 1] + 0.11 * p.bytes[3 * i + 2];
}

TEST(GeneratedPictures, BarColoursShadeSmoothlyFromRimToMiddle) {
  const Palette& p = assets_test::Generated().art.gamePalette;
  for (int i = 81; i <= 95; ++i) {
    double step = Brightness(p, i) - Brightness(p, i - 1);
    EXPECT_GT(step, 0.0) << "entry " << i;
    EXPECT_LT(step, 6.0) << "entry " << i;
  }
  EXPECT_GT(Brightness(p, 95), Brightness(p, 80) + 20);
}

TEST(GeneratedPictures, TitleKeepsTheScrollerBandDarkAndTheLogoSeeThroughAroundIt) {
  const assets::Artwork& art = assets_test::Generated().art;
  for (int i = 0; i < 3; ++i) EXPECT_EQ(art.titlePalette.bytes[i], 0);
  for (int y = 466; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) ASSERT_EQ(art.title.At(x, y), 0) << x << "," << y;
  }
  // The logo stands in the middle of its 640 x 200, with see-through around.
  int left = 640, right = -1, top = 200, bottom = -1;
  for (int y = 0; y < 200; ++y) {
    for (int x = 0; x < 640; ++x) {
      if (!art.logo.At(x, y)) continue;
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

// Colour distance in 6-bit units between two menu pixels.
double Distance(const Palette& p, uint8_t a, uint8_t b) {
  double sum = 0;
  for (int c = 0; c < 3; ++c) {
    double d = p.bytes[3 * a + c] - p.bytes[3 * b + c];
    sum += d * d;
  }
  return std::sqrt(sum);
}

// The highlight draws a strip up to 419 pixels wide and then narrower
// without clearing: an entry's text must stay in the middle 200 pixels, or
// its stretched ends would stand beside the narrower copy.
TEST(GeneratedPictures, MenuEntriesAreCentredAndNarrowEnoughForTheHighlight) {
  const assets::Artwork& art = assets_test::Generated().art;
  for (const IndexCanvas* menu : {&art.menu1, &art.menu2}) {
    for (int entry = 0; entry < 4; ++entry) {
      const int top = 48 + 98 * entry;
      // A column with text differs from a plain rail column (x 120) in many rows.
      int left = 640, right = -1;
      for (int x = 110; x < 530; ++x) {
        int differing = 0;
        for (int y = top + 8; y < top + 52; ++y) {
          differing += Distance(art.menuPalette, menu->At(x, y), menu->At(120, y)) > 12.0;
        }
        if (differing > 4) {
          left = std::min(left, x);
          right = std::max(right, x);
        }
      }
      ASSERT_GE(right, left) << "entry " << entry << " shows no text";
      EXPECT_LE(right - left + 1, 200) << "entry " << entry;
      EXPECT_NEAR((left + right) / 2.0, 320.0, 6.0) << "entry " << entry;
    }
  }
}

TEST(GeneratedPictures, MenuPicturesDifferOnlyInThePlayersEntry) {
  const assets::Artwork& art = assets_test::Generated().art;
  int differing = 0;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      if (art.menu1.At(x, y) == art.menu2.At(x, y)) continue;
      ++differing;
      ASSERT_TRUE(x >= 160 && x < 480 && y >= 48 + 98 * 2 && y < 108 + 98 * 2) << x << "," << y;
    }
  }
  EXPECT_GT(differing, 100);
}

}  // namespace
