// The drawing surfaces of the asset generator: true-colour canvases that
// pictures are painted on, palette-index canvases that the game's files hold,
// and the 256-entry palette of 6-bit components.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace assets {

// A colour with components 0..1 as they appear on the screen.
struct Colour {
  float r = 0, g = 0, b = 0;
};

Colour Mix(Colour a, Colour b, float t);
Colour Scale(Colour c, float f);
Colour Add(Colour a, Colour b);
Colour Clamp(Colour c);
// From 0..255 components.
Colour Rgb8(int r, int g, int b);

struct RgbCanvas {
  RgbCanvas() = default;
  RgbCanvas(int w, int h, Colour fill = {});
  int width = 0;
  int height = 0;
  std::vector<Colour> pixels;
  Colour& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
  const Colour& At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// One byte per pixel, row after row: palette indices, or a mask.
struct IndexCanvas {
  IndexCanvas() = default;
  IndexCanvas(int w, int h, uint8_t fill = 0);
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;
  uint8_t& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
  uint8_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  void Set(int x, int y, uint8_t v) {
    if (Inside(x, y)) At(x, y) = v;
  }
  // Fills (x0, y0)-(x1, y1), right and bottom exclusive, clipped.
  void Fill(int x0, int y0, int x1, int y1, uint8_t v);
  // Copies `source` in at (x, y); with `keyed`, index 0 of the source is skipped.
  void Paste(const IndexCanvas& source, int x, int y, bool keyed = false);
  IndexCanvas Crop(int x0, int y0, int x1, int y1) const;
};

// 256 entries of red, green, blue, each 0..63.
struct Palette {
  std::array<uint8_t, 768> bytes{};
  void Set(int index, Colour c);
  void Set6(int index, int r, int g, int b);
  Colour Get(int index) const;
};

// A 6-bit component from 0..1, rounded.
uint8_t To6Bit(float v);

// The generator's random numbers: a fixed-seed xorshift, the same on every build.
class Random {
 public:
  explicit Random(uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
  uint32_t Next();
  float Unit();                   // 0 <= x < 1
  float Range(float lo, float hi);
  int Below(int n);               // 0 <= x < n

 private:
  uint32_t state_;
};

}  // namespace assets
