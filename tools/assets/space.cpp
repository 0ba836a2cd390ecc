#include "tools/assets/space.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/assets/noise.h"
#include "tools/assets/shading.h"

namespace assets {

void PaintNebula(RgbCanvas& canvas, const NebulaColours& colours, uint32_t seed, float scale) {
  // The clouds are soft: work them out on a grid of every other pixel and
  // blend in between.
  const int gw = canvas.width / 2 + 2, gh = canvas.height / 2 + 2;
  std::vector<Colour> cloud(static_cast<size_t>(gw) * gh);
  std::vector<float> shade(cloud.size());
  for (int gy = 0; gy < gh; ++gy) {
    for (int gx = 0; gx < gw; ++gx) {
      float u = 2.0f * gx / scale, v = 2.0f * gy / scale;
      // Warp the lookup so the clouds swirl.
      float wx = Fbm(u * 1.3f, v * 1.3f, 3, seed + 11) - 0.5f;
      float wy = Fbm(u * 1.3f + 7.1f, v * 1.3f + 2.3f, 3, seed + 12) - 0.5f;
      float a = Fbm(u + 1.6f * wx, v + 1.6f * wy, 5, seed + 21);
      float b = Fbm(u * 1.7f + 4.0f + wy, v * 1.7f - 3.0f + wx, 5, seed + 31);
      float dust = Ridged(u * 2.2f + wx, v * 2.2f + wy, 4, seed + 41);
      float ca = SmoothStep(0.42f, 0.80f, a) * colours.density;
      float cb = SmoothStep(0.48f, 0.85f, b) * colours.density;
      size_t i = static_cast<size_t>(gy) * gw + gx;
      cloud[i] = Add(Scale(colours.cloudA, ca), Scale(colours.cloudB, cb * 0.8f));
      // Dark dust lanes thread through the bright parts.
      shade[i] = 1.0f - 0.55f * SmoothStep(0.55f, 0.95f, dust) * (ca + cb > 0.1f ? 1.0f : 0.3f);
    }
  }
  for (int y = 0; y < canvas.height; ++y) {
    Colour sky = Mix(colours.top, colours.bottom, static_cast<float>(y) / (canvas.height - 1));
    const int gy = y / 2;
    const float ty = (y % 2) * 0.5f;
    for (int x = 0; x < canvas.width; ++x) {
      const int gx = x / 2;
      const float tx = (x % 2) * 0.5f;
      size_t i00 = static_cast<size_t>(gy) * gw + gx, i10 = i00 + 1, i01 = i00 + gw, i11 = i01 + 1;
      Colour c = Mix(Mix(cloud[i00], cloud[i10], tx), Mix(cloud[i01], cloud[i11], tx), ty);
      float s0 = shade[i00] + (shade[i10] - shade[i00]) * tx, s1 = shade[i01] + (shade[i11] - shade[i01]) * tx;
      canvas.At(x, y) = Scale(Add(sky, c), s0 + (s1 - s0) * ty);
    }
  }
}

void PaintStars(RgbCanvas& canvas, int count, uint32_t seed, float brightness) {
  Random random(seed);
  for (int i = 0; i < count; ++i) {
    float x = random.Range(0, static_cast<float>(canvas.width));
    float y = random.Range(0, static_cast<float>(canvas.height));
    float power = random.Unit();
    power = power * power * power;  // most stars faint
    float b = (0.25f + 0.75f * power) * brightness;
    float tint = random.Unit();
    Colour c = tint < 0.3f ? Colour{0.75f, 0.85f, 1.0f} : (tint < 0.45f ? Colour{1.0f, 0.9f, 0.7f} : Colour{1, 1, 1});
    int ix = static_cast<int>(x), iy = static_cast<int>(y);
    auto add = [&](int px, int py, float amount) {
      if (px < 0 || py < 0 || px >= canvas.width || py >= canvas.height) return;
      canvas.At(px, py) = Clamp(Add(canvas.At(px, py), Scale(c, amount)));
    };
    add(ix, iy, b);
    if (power > 0.35f) {
      // A bright star: a soft core and a glint along both axes.
      int arm = 2 + static_cast<int>(power * 7);
      for (int k = 1; k <= arm; ++k) {
        float fall = b * std::pow(1.0f - static_cast<float>(k) / (arm + 1), 2.0f) * 0.9f;
        add(ix + k, iy, fall);
        add(ix - k, iy, fall);
        add(ix, iy + k, fall);
        add(ix, iy - k, fall);
      }
      add(ix + 1, iy + 1, b * 0.25f);
      add(ix - 1, iy - 1, b * 0.25f);
      add(ix + 1, iy - 1, b * 0.25f);
      add(ix - 1, iy + 1, b * 0.25f);
    }
  }
}

void PaintPlanet(RgbCanvas& canvas, const PlanetLook& look) {
  float ll = std::sqrt(look.lightX * look.lightX + look.lightY * look.lightY + 0.36f);
  float lx = look.lightX / ll, ly = look.lightY / ll, lz = 0.6f / ll;
  const float glow = look.radius * 0.09f;
  int x0 = std::max(0, static_cast<int>(look.cx - look.radius - glow - 2));
  int x1 = std::min(canvas.width - 1, static_cast<int>(look.cx + look.radius + glow + 2));
  int y0 = std::max(0, static_cast<int>(look.cy - look.radius - glow - 2));
  int y1 = std::min(canvas.height - 1, static_cast<int>(look.cy + look.radius + glow + 2));
  const int ss = 3;  // samples per pixel across
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      Colour sum{};
      float covered = 0;
      Colour halo{};
      for (int sy = 0; sy < ss; ++sy) {
        for (int sx = 0; sx < ss; ++sx) {
          float px = (x + (sx + 0.5f) / ss - look.cx) / look.radius;
          float py = (y + (sy + 0.5f) / ss - look.cy) / look.radius;
          float r2 = px * px + py * py;
          if (r2 > 1.0f) {
            // The atmosphere's glow outside the edge, on the lit side.
            float d = (std::sqrt(r2) - 1.0f) * look.radius / glow;
            if (d < 1.0f) {
              float lit = std::max(0.0f, (px * lx + py * ly) / std::sqrt(r2) + 0.35f);
              halo = Add(halo, Scale(look.atmosphere, (1.0f - d) * (1.0f - d) * lit / (ss * ss)));
            }
            continue;
          }
          float pz = std::sqrt(1.0f - r2);
          // Latitude bands, tilted and stirred.
          float lat = py + look.bandTilt * px;
          float turb = Fbm(px * 3.0f + 10.0f, lat * 9.0f, 4, look.seed) - 0.5f;
          float band = 0.5f + 0.5f * std::sin(lat * 14.0f + turb * 5.0f);
          float band2 = 0.5f + 0.5f * std::sin(lat * 37.0f + turb * 9.0f);
          Colour surface = Mix(Mix(look.bandA, look.bandB, band), look.bandC, band2 * 0.45f);
          float diffuse = std::max(0.0f, px * lx + py * ly + pz * lz);
          float rim = std::pow(1.0f - pz, 3.0f);
          Colour c = Scale(surface, 0.05f + 1.05f * diffuse);
          c = Add(c, Scale(look.atmosphere, rim * (0.2f + 0.9f * diffuse)));
          sum = Add(sum, c);
          covered += 1.0f;
        }
      }
      Colour& dst = canvas.At(x, y);
      float a = covered / (ss * ss);
      Colour body = covered > 0 ? Scale(sum, 1.0f / covered) : Colour{};
      dst = Clamp(Add(Mix(dst, body, a), halo));
    }
  }
}

void PaintGlassPanel(RgbCanvas& canvas, int x0, int y0, int x1, int y1, float radius, float frame) {
  const int scale = 4;
  const int w = x1 - x0, h = y1 - y0;
  auto roundedBox = [&](IndexCanvas& mask, float bx0, float by0, float bx1, float by1, float r) {
    FillBox(mask, (bx0 + r) * scale, by0 * scale, (bx1 - r) * scale, by1 * scale);
    FillBox(mask, bx0 * scale, (by0 + r) * scale, bx1 * scale, (by1 - r) * scale);
    FillCircle(mask, (bx0 + r) * scale, (by0 + r) * scale, r * scale);
    FillCircle(mask, (bx1 - r) * scale, (by0 + r) * scale, r * scale);
    FillCircle(mask, (bx0 + r) * scale, (by1 - r) * scale, r * scale);
    FillCircle(mask, (bx1 - r) * scale, (by1 - r) * scale, r * scale);
  };
  IndexCanvas outer(w * scale, h * scale), inner(w * scale, h * scale);
  roundedBox(outer, 0, 0, static_cast<float>(w), static_cast<float>(h), radius);
  roundedBox(inner, frame, frame, w - frame, h - frame, std::max(1.0f, radius - frame));
  // The glass darkens and cools what lies behind it.
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      int covered = 0;
      for (int sy = 0; sy < scale; ++sy) {
        for (int sx = 0; sx < scale; ++sx) covered += inner.At(x * scale + sx, y * scale + sy) ? 1 : 0;
      }
      if (!covered || x0 + x < 0 || y0 + y < 0 || x0 + x >= canvas.width || y0 + y >= canvas.height) continue;
      Colour& c = canvas.At(x0 + x, y0 + y);
      float t = static_cast<float>(y) / h;
      Colour glass = Mix(Colour{0.02f, 0.03f, 0.10f}, Colour{0.01f, 0.01f, 0.05f}, t);
      Colour behind = Scale(c, 0.22f);
      c = Mix(c, Add(glass, behind), covered / static_cast<float>(scale * scale));
    }
  }
  // The frame: the ring between the two outlines, bevelled steel.
  IndexCanvas ring = outer;
  for (size_t i = 0; i < ring.pixels.size(); ++i) ring.pixels[i] = outer.pixels[i] && !inner.pixels[i];
  Layer steel = PaintBevelled(ring, scale, frame * 0.5f, false, [](const Surfel& s) {
    return Chrome(s, 0.15f, Rgb8(220, 230, 255), Rgb8(60, 66, 96), Rgb8(120, 128, 160), Rgb8(255, 255, 255));
  });
  Composite(canvas, steel, x0, y0);
}



Colour GlossyPlastic(const Surfel& s, Colour base, float top, float bottom) {
  Colour c = Shade(base, s, 0.50f, 0.55f, 24.0f);
  // The classic sheen: a lighter band over the upper part of the face,
  // fading out downwards with a soft edge.
  float t = (s.y - top) / (bottom - top);
  if (s.height > 0.95f) {
    float sheen = 0.28f * (1.0f - SmoothStep(0.30f, 0.48f, t)) * SmoothStep(0.0f, 0.10f, t);
    c = Add(c, Colour{sheen, sheen, sheen});
  }
  return Clamp(c);
}

void PaintFloatingPiece(RgbCanvas& canvas, const char* const shape[4], Colour colour, float cx, float cy, float block,
                        float angle, float depth, float haze) {
  const int scale = 3;
  // Work in a square around the piece big enough for any turn.
  const int half = static_cast<int>(block * 3.2f + depth + 4);
  const int size = 2 * half;
  IndexCanvas front(size * scale, size * scale);
  // The piece's own centre: the middle of its used cells.
  float minI = 4, maxI = -1, minJ = 4, maxJ = -1;
  for (int j = 0; j < 4; ++j) {
    for (int i = 0; i < 4; ++i) {
      if (shape[j][i] != '#') continue;
      minI = std::min(minI, static_cast<float>(i));
      maxI = std::max(maxI, static_cast<float>(i) + 1);
      minJ = std::min(minJ, static_cast<float>(j));
      maxJ = std::max(maxJ, static_cast<float>(j) + 1);
    }
  }
  const float pcx = (minI + maxI) / 2, pcy = (minJ + maxJ) / 2;
  const float ca = std::cos(angle), sa = std::sin(angle);
  for (int y = 0; y < size * scale; ++y) {
    for (int x = 0; x < size * scale; ++x) {
      float px = (x + 0.5f) / scale - half, py = (y + 0.5f) / scale - half;
      // Back into the piece's own grid.
      float u = (ca * px + sa * py) / block + pcx, v = (-sa * px + ca * py) / block + pcy;
      int i = static_cast<int>(std::floor(u)), j = static_cast<int>(std::floor(v));
      if (i >= 0 && i < 4 && j >= 0 && j < 4 && shape[j][i] == '#') front.At(x, y) = 1;
    }
  }
  // The sides: the front pushed back along the view, step by step.
  IndexCanvas sides(size * scale, size * scale);
  const int steps = static_cast<int>(depth * scale);
  for (int k = 1; k <= steps; ++k) {
    for (int y = 0; y < size * scale; ++y) {
      for (int x = 0; x < size * scale; ++x) {
        if (!front.At(x, y)) continue;
        int tx = x + k * 7 / 10, ty = y + k;
        if (tx < size * scale && ty < size * scale) sides.At(tx, ty) = 1;
      }
    }
  }
  const Colour fog{0.05f, 0.06f, 0.16f};
  Layer side = PaintBevelled(sides, scale, 0.8f, false, [&](const Surfel& s) {
    float shade = 0.30f + 0.25f * std::max(0.0f, -s.nx);
    return Mix(Scale(colour, shade), fog, haze);
  });
  const int ox = static_cast<int>(std::lround(cx)) - half, oy = static_cast<int>(std::lround(cy)) - half;
  Composite(canvas, side, ox, oy);
  const float top = static_cast<float>(half) - block * 1.5f, bottom = static_cast<float>(half) + block * 1.5f;
  Layer face = PaintBevelled(front, scale, std::max(1.5f, block * 0.16f), false, [&](const Surfel& s) {
    return Mix(GlossyPlastic(s, colour, top, bottom), fog, haze);
  });
  Composite(canvas, face, ox, oy);
}

}  // namespace assets
