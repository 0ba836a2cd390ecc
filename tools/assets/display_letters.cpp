#include "tools/assets/display_letters.h"

#include <algorithm>
#include <cmath>

#include "tools/assets/glyphs.h"
#include "tools/assets/shading.h"

namespace assets {

namespace {

IndexCanvas GrowWhole(const IndexCanvas& mask, float radius) {
  IndexCanvas out(mask.width, mask.height);
  if (radius >= 0) {
    std::vector<float> d = DistanceToEdge(mask, false);
    for (size_t i = 0; i < out.pixels.size(); ++i) out.pixels[i] = (mask.pixels[i] || d[i] <= radius) ? 1 : 0;
  } else {
    std::vector<float> d = DistanceToEdge(mask, true);
    for (size_t i = 0; i < out.pixels.size(); ++i) out.pixels[i] = (mask.pixels[i] && d[i] > -radius) ? 1 : 0;
  }
  return out;
}

}  // namespace

IndexCanvas Grow(const IndexCanvas& mask, float radius) {
  // Work on the set part and the margin it can grow into.
  int minX = mask.width, minY = mask.height, maxX = -1, maxY = -1;
  for (int y = 0; y < mask.height; ++y) {
    for (int x = 0; x < mask.width; ++x) {
      if (!mask.At(x, y)) continue;
      minX = std::min(minX, x);
      maxX = std::max(maxX, x);
      minY = std::min(minY, y);
      maxY = std::max(maxY, y);
    }
  }
  if (maxX < 0) return IndexCanvas(mask.width, mask.height);
  const int margin = static_cast<int>(std::ceil(std::max(radius, 0.0f))) + 2;
  const int x0 = std::max(0, minX - margin), y0 = std::max(0, minY - margin);
  const int x1 = std::min(mask.width, maxX + 1 + margin), y1 = std::min(mask.height, maxY + 1 + margin);
  IndexCanvas part = GrowWhole(mask.Crop(x0, y0, x1, y1), radius);
  IndexCanvas out(mask.width, mask.height);
  out.Paste(part, x0, y0);
  return out;
}

IndexCanvas Smooth(const IndexCanvas& mask, float radius) {
  if (radius <= 0) return mask;
  // Closing fills the inner corners, opening rounds the outer ones.
  IndexCanvas closed = Grow(Grow(mask, radius), -radius);
  return Grow(Grow(closed, -radius), radius);
}

IndexCanvas Shift(const IndexCanvas& mask, int dx, int dy) {
  IndexCanvas out(mask.width, mask.height);
  for (int y = 0; y < mask.height; ++y) {
    for (int x = 0; x < mask.width; ++x) {
      int sx = x - dx, sy = y - dy;
      if (mask.Inside(sx, sy)) out.At(x, y) = mask.At(sx, sy);
    }
  }
  return out;
}

IndexCanvas Union(const IndexCanvas& a, const IndexCanvas& b) {
  IndexCanvas out = a;
  for (size_t i = 0; i < out.pixels.size(); ++i) out.pixels[i] = (a.pixels[i] || b.pixels[i]) ? 1 : 0;
  return out;
}

IndexCanvas Subtract(const IndexCanvas& a, const IndexCanvas& b) {
  IndexCanvas out = a;
  for (size_t i = 0; i < out.pixels.size(); ++i) out.pixels[i] = (a.pixels[i] && !b.pixels[i]) ? 1 : 0;
  return out;
}

TextMask LayOutText(const std::string& text, const TextStyle& style) {
  // Place the letters by their ink: left edge and width in glyph pixels.
  struct Placed {
    int c;
    int firstColumn;
    float x;  // glyph pixels from the start
  };
  std::vector<Placed> placed;
  float pen = 0;
  const int rows = style.capitalsOnly ? 10 : kGlyphHeight;
  for (size_t i = 0; i < text.size(); ++i) {
    int c = static_cast<unsigned char>(text[i]);
    int first = kGlyphWidth, last = -1;
    for (int x = 0; x < kGlyphWidth; ++x) {
      for (int y = 0; y < kGlyphHeight; ++y) {
        if (GlyphInk(c, x, y)) {
          first = std::min(first, x);
          last = std::max(last, x);
        }
      }
    }
    if (last < 0) {
      pen += style.spaceWidth;
      continue;
    }
    if (!placed.empty()) pen += style.gap;
    placed.push_back({c, first, pen});
    pen += static_cast<float>(last - first + 1);
  }
  TextMask mask;
  mask.scale = style.scale;
  mask.width = static_cast<int>(std::ceil(pen * style.pixelWidth)) + 2 * style.pad;
  mask.height = static_cast<int>(std::ceil(rows * style.pixelHeight)) + 2 * style.pad;
  mask.fine = IndexCanvas(mask.width * style.scale, mask.height * style.scale);
  const float s = static_cast<float>(style.scale);
  for (const Placed& p : placed) {
    for (int y = 0; y < kGlyphHeight; ++y) {
      for (int x = 0; x < kGlyphWidth; ++x) {
        if (!GlyphInk(p.c, x, y)) continue;
        float left = style.pad + (p.x + (x - p.firstColumn)) * style.pixelWidth;
        float top = style.pad + y * style.pixelHeight;
        FillBox(mask.fine, left * s, top * s, (left + style.pixelWidth) * s, (top + style.pixelHeight) * s);
      }
    }
  }
  mask.fine = Smooth(mask.fine, style.round * s);
  return mask;
}

}  // namespace assets
