#include "tools/assets/closing_logo.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "tools/assets/display_letters.h"
#include "tools/assets/noise.h"
#include "tools/assets/quantize.h"
#include "tools/assets/shading.h"
#include "tools/assets/space.h"

namespace assets {
namespace {

constexpr int kWidth = 640, kHeight = 480;
constexpr float kEmblemX = 320, kEmblemY = 176;

void PaintText(RgbCanvas& art, const std::string& text, const TextStyle& style, int centreY, Colour sky, Colour horizon,
               Colour ground, float rimWidth, float bevel) {
  TextMask mask = LayOutText(text, style);
  const int x = (kWidth - mask.width) / 2;
  const int y = centreY - mask.height / 2;
  if (rimWidth > 0) {
    Layer rim = PaintBevelled(Grow(mask.fine, rimWidth * style.scale), style.scale, 1.0f, false,
                              [](const Surfel&) { return Rgb8(2, 2, 8); });
    Composite(art, rim, x, y);
  }
  const float top = static_cast<float>(style.pad), bottom = style.pad + 10 * style.pixelHeight;
  Layer letters = PaintBevelled(mask.fine, style.scale, bevel, false, [=](const Surfel& s) {
    float level = 0.9f - 1.9f * (s.y - top) / (bottom - top);
    return Chrome(s, level, sky, horizon, ground, Rgb8(255, 255, 255));
  });
  Composite(art, letters, x, y);
}

// The emblem: a chrome ring crossed by a glowing orbit, a golden K inside.
void PaintEmblem(RgbCanvas& art) {
  const int scale = 4;
  const int size = 220;
  const float c = size / 2.0f;
  const int ox = static_cast<int>(kEmblemX - c), oy = static_cast<int>(kEmblemY - c);
  // Soft light behind the ring.
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      float dx = x - kEmblemX, dy = (y - kEmblemY) * 1.1f;
      float d = std::sqrt(dx * dx + dy * dy);
      float glow = 0.28f * std::exp(-d / 120.0f) + 0.10f * std::exp(-d / 260.0f);
      art.At(x, y) = Clamp(Add(art.At(x, y), Scale(Rgb8(40, 90, 255), glow)));
    }
  }
  // The back half of the orbit, behind the ring.
  auto orbit = [&](bool front) {
    const float rx = 150, ry = 34, tilt = -0.32f;
    const float ct = std::cos(tilt), st = std::sin(tilt);
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        float dx = x + 0.5f - kEmblemX, dy = y + 0.5f - kEmblemY;
        float u = ct * dx + st * dy, v = -st * dx + ct * dy;
        float e = std::sqrt((u / rx) * (u / rx) + (v / ry) * (v / ry));
        float dist = std::fabs(e - 1.0f) * ry;
        if (dist > 6) continue;
        bool isFront = v > 0;
        if (isFront != front) continue;
        float line = std::exp(-dist * dist / 1.2f) + 0.35f * std::exp(-dist * dist / 12.0f);
        // Brighter towards the viewer's side.
        float bright = 0.55f + 0.45f * (v / ry);
        art.At(x, y) = Clamp(Add(art.At(x, y), Scale(Rgb8(120, 200, 255), line * bright)));
      }
    }
  };
  orbit(false);
  IndexCanvas ring(size * scale, size * scale);
  FillCircle(ring, c * scale, c * scale, 92.0f * scale);
  FillCircle(ring, c * scale, c * scale, 72.0f * scale, 0);
  Layer steel = PaintBevelled(ring, scale, 7.0f, false, [](const Surfel& s) {
    return Chrome(s, 0.15f, Rgb8(230, 240, 255), Rgb8(30, 40, 90), Rgb8(120, 150, 220), Rgb8(255, 255, 255));
  });
  Composite(art, steel, ox, oy);
  // The inner disc: dark blue glass.
  IndexCanvas disc(size * scale, size * scale);
  FillCircle(disc, c * scale, c * scale, 72.0f * scale);
  Layer glass = PaintBevelled(disc, scale, 4.0f, false, [c](const Surfel& s) {
    float t = (s.y - (c - 72)) / 144.0f;
    Colour base = Mix(Rgb8(20, 40, 120), Rgb8(2, 4, 24), t);
    Surfel in = s;
    in.nx = -s.nx;
    in.ny = -s.ny;
    return Shade(base, in, 0.6f, 0.0f, 1.0f);
  });
  Composite(art, glass, ox, oy);
  // The K: a bold upright and two arms, cut as polygons so its slants are clean.
  IndexCanvas k(size * scale, size * scale);
  auto poly = [&](std::vector<Point> points) {
    for (Point& p : points) {
      p.x = (c + p.x) * scale;
      p.y = (c + p.y) * scale;
    }
    FillPolygon(k, points);
  };
  poly({{-34, -44}, {-14, -44}, {-14, 44}, {-34, 44}});
  poly({{-14, -2}, {16, -44}, {40, -44}, {4, 6}, {-14, 18}});
  poly({{-6, 0}, {10, -8}, {40, 44}, {16, 44}});
  IndexCanvas kSmooth = Smooth(k, 1.2f * scale);
  Layer kRim = PaintBevelled(Grow(kSmooth, 3.0f * scale), scale, 1.0f, false,
                             [](const Surfel&) { return Rgb8(2, 2, 8); });
  Composite(art, kRim, ox, oy);
  Layer kFace = PaintBevelled(kSmooth, scale, 5.0f, false, [c](const Surfel& s) {
    float level = 0.9f - 1.9f * (s.y - (c - 44)) / 88.0f;
    return Chrome(s, level, Rgb8(255, 250, 210), Rgb8(130, 50, 10), Rgb8(255, 180, 50), Rgb8(255, 255, 255));
  });
  Composite(art, kFace, ox, oy);
  orbit(true);
  // A glint on the ring.
  const float gx = kEmblemX - 58, gy = kEmblemY - 68;
  for (int y = static_cast<int>(gy) - 30; y <= static_cast<int>(gy) + 30; ++y) {
    for (int x = static_cast<int>(gx) - 30; x <= static_cast<int>(gx) + 30; ++x) {
      float dx = x - gx, dy = y - gy;
      float star = std::exp(-(dx * dx + dy * dy) / 8.0f) + 0.8f * std::exp(-dy * dy / 0.8f) * std::exp(-std::fabs(dx) / 9.0f) +
                   0.8f * std::exp(-dx * dx / 0.8f) * std::exp(-std::fabs(dy) / 9.0f);
      art.At(x, y) = Clamp(Add(art.At(x, y), Scale(Rgb8(255, 255, 255), star)));
    }
  }
}

}  // namespace

ClosingLogo DrawClosingLogo() {
  RgbCanvas art(kWidth, kHeight);
  PaintStars(art, 160, 909, 0.45f);
  PaintEmblem(art);
  TextStyle name;
  name.pixelWidth = 3.0f;
  name.pixelHeight = 3.6f;
  name.gap = 5.0f;
  name.round = 1.8f;
  name.pad = 6;
  name.scale = 4;
  PaintText(art, "KOLVANIC", name, 336, Rgb8(235, 242, 255), Rgb8(30, 44, 110), Rgb8(130, 160, 230), 2.5f, 2.2f);
  TextStyle small;
  small.pixelWidth = 1.0f;
  small.pixelHeight = 1.3f;
  small.gap = 2.5f;
  small.spaceWidth = 6.0f;
  small.round = 0.3f;
  small.pad = 3;
  small.scale = 4;
  PaintText(art, "THANKS FOR PLAYING", small, 402, Rgb8(200, 215, 255), Rgb8(70, 90, 170), Rgb8(120, 140, 210), 0.0f,
            0.6f);

  ClosingLogo out;
  out.palette.Set(0, Colour{});
  ChoosePaletteColours({{&art, nullptr, 1.0f}}, out.palette, 1, 255);
  out.picture = IndexCanvas(kWidth, kHeight);
  MapToPalette(art, nullptr, out.palette, 1, 255, 0.6f, out.picture);
  return out;
}

}  // namespace assets
