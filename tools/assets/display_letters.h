// Big letters for the logo, the menu, the game-over panel and the closing
// logo: the fonts' letter shapes enlarged, spaced by their ink, their steps
// rounded off, as a fine mask ready for bevelled painting.
#pragma once

#include <string>

#include "tools/assets/canvas.h"

namespace assets {

struct TextMask {
  IndexCanvas fine;  // nonzero inside; `scale` samples per output pixel
  int scale = 1;
  int width = 0;     // output pixels
  int height = 0;
};

struct TextStyle {
  float pixelWidth = 3;   // output pixels per glyph pixel, across
  float pixelHeight = 3;  // and down
  float gap = 2;          // glyph pixels between the ink of two letters
  float spaceWidth = 6;   // glyph pixels of a space
  float round = 1.0f;     // output pixels by which steps and corners are rounded
  int pad = 4;            // output pixels of room around the text
  int scale = 4;          // samples per output pixel
  bool capitalsOnly = true;  // measures only rows 0..9 (no descenders)
};

TextMask LayOutText(const std::string& text, const TextStyle& style);

// Grows (radius > 0) or shrinks (radius < 0) a fine mask by `radius` samples.
IndexCanvas Grow(const IndexCanvas& mask, float radius);
// Rounds the outer corners and fills the inner ones, by `radius` samples.
IndexCanvas Smooth(const IndexCanvas& mask, float radius);
// Shifts a fine mask by whole samples.
IndexCanvas Shift(const IndexCanvas& mask, int dx, int dy);
IndexCanvas Union(const IndexCanvas& a, const IndexCanvas& b);
IndexCanvas Subtract(const IndexCanvas& a, const IndexCanvas& b);

}  // namespace assets
