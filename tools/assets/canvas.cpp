#include "tools/assets/canvas.h"

#include <algorithm>
#include <cmath>

namespace assets {

Colour Mix(Colour a, Colour b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Colour Scale(Colour c, float f) { return {c.r * f, c.g * f, c.b * f}; }
Colour Add(Colour a, Colour b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
Colour Clamp(Colour c) {
  return {std::clamp(c.r, 0.0f, 1.0f), std::clamp(c.g, 0.0f, 1.0f), std::clamp(c.b, 0.0f, 1.0f)};
}
Colour Rgb8(int r, int g, int b) { return {r / 255.0f, g / 255.0f, b / 255.0f}; }

RgbCanvas::RgbCanvas(int w, int h, Colour fill)
    : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}

IndexCanvas::IndexCanvas(int w, int h, uint8_t fill)
    : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}

void IndexCanvas::Fill(int x0, int y0, int x1, int y1, uint8_t v) {
  x0 = std::max(x0, 0);
  y0 = std::max(y0, 0);
  x1 = std::min(x1, width);
  y1 = std::min(y1, height);
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) At(x, y) = v;
  }
}

void IndexCanvas::Paste(const IndexCanvas& source, int x, int y, bool keyed) {
  for (int sy = 0; sy < source.height; ++sy) {
    for (int sx = 0; sx < source.width; ++sx) {
      uint8_t v = source.At(sx, sy);
      if (keyed && v == 0) continue;
      Set(x + sx, y + sy, v);
    }
  }
}

IndexCanvas IndexCanvas::Crop(int x0, int y0, int x1, int y1) const {
  IndexCanvas out(x1 - x0, y1 - y0);
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) out.At(x - x0, y - y0) = Inside(x, y) ? At(x, y) : 0;
  }
  return out;
}

uint8_t To6Bit(float v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 63.0f)); }

void Palette::Set(int index, Colour c) {
  bytes[3 * index] = To6Bit(c.r);
  bytes[3 * index + 1] = To6Bit(c.g);
  bytes[3 * index + 2] = To6Bit(c.b);
}

void Palette::Set6(int index, int r, int g, int b) {
  bytes[3 * index] = static_cast<uint8_t>(std::clamp(r, 0, 63));
  bytes[3 * index + 1] = static_cast<uint8_t>(std::clamp(g, 0, 63));
  bytes[3 * index + 2] = static_cast<uint8_t>(std::clamp(b, 0, 63));
}

Colour Palette::Get(int index) const {
  return {bytes[3 * index] / 63.0f, bytes[3 * index + 1] / 63.0f, bytes[3 * index + 2] / 63.0f};
}

uint32_t Random::Next() {
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return state_;
}

float Random::Unit() { return static_cast<float>(Next() >> 8) / 16777216.0f; }
float Random::Range(float lo, float hi) { return lo + (hi - lo) * Unit(); }
int Random::Below(int n) { return n <= 0 ? 0 : static_cast<int>(Next() % static_cast<uint32_t>(n)); }

}  // namespace assets
