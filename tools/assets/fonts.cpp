#include "tools/assets/fonts.h"

#include "tools/assets/glyphs.h"
#include "tools/assets/palettes.h"

namespace assets {
namespace {

// Glyph pixel (0, 0) stands at cell pixel (1, 1), leaving room for the
// outline on the left and top and the shadow on the right and bottom.
constexpr int kInkLeft = 1;
constexpr int kInkTop = 1;

bool Ink(int c, int cellX, int cellY) { return GlyphInk(c, cellX - kInkLeft, cellY - kInkTop); }

template <typename PixelFn>
IndexCanvas DrawCells(PixelFn pixel) {
  IndexCanvas picture(kFontPictureWidth, kFontPictureHeight);
  for (int c = 32; c <= 127; ++c) {
    const int k = c - 32;
    const int left = (k % kFontColumns) * kFontCellWidth, top = (k / kFontColumns) * kFontCellHeight;
    for (int y = 0; y < kFontCellHeight; ++y) {
      for (int x = 0; x < kFontCellWidth; ++x) picture.At(left + x, top + y) = pixel(c, x, y);
    }
  }
  return picture;
}

}  // namespace

IndexCanvas DrawPlayFont() {
  return DrawCells([](int c, int x, int y) -> uint8_t {
    if (Ink(c, x, y)) return static_cast<uint8_t>(kFont2Fill + (y - kInkTop));
    if (Ink(c, x - 1, y - 1)) return kFont2Shadow;
    return 0;
  });
}

IndexCanvas DrawDisplayFont() {
  return DrawCells([](int c, int x, int y) -> uint8_t {
    if (Ink(c, x, y)) {
      // A glint on the upper left corners of the strokes.
      if (!Ink(c, x - 1, y) && !Ink(c, x, y - 1) && y - kInkTop < 6) return kFont1Glint;
      return static_cast<uint8_t>(kFont1Fill + y);
    }
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) {
        if (Ink(c, x + dx, y + dy)) return kFont1Outline;
      }
    }
    return 0;
  });
}

}  // namespace assets
