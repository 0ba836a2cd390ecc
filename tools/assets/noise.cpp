#include "tools/assets/noise.h"

#include <cmath>

namespace assets {

uint32_t Hash(int32_t x, int32_t y, uint32_t seed) {
  uint32_t h = seed * 0x27d4eb2dU;
  h ^= static_cast<uint32_t>(x) * 0x85ebca6bU;
  h = (h << 13) | (h >> 19);
  h ^= static_cast<uint32_t>(y) * 0xc2b2ae35U;
  h *= 0x9e3779b1U;
  h ^= h >> 16;
  h *= 0x7feb352dU;
  h ^= h >> 15;
  return h;
}

namespace {
float Lattice(int32_t x, int32_t y, uint32_t seed) { return static_cast<float>(Hash(x, y, seed) >> 8) / 16777215.0f; }
float Fade(float t) { return t * t * t * (t * (t * 6 - 15) + 10); }
}  // namespace

float ValueNoise(float x, float y, uint32_t seed) {
  float fx = std::floor(x), fy = std::floor(y);
  int32_t ix = static_cast<int32_t>(fx), iy = static_cast<int32_t>(fy);
  float tx = Fade(x - fx), ty = Fade(y - fy);
  float a = Lattice(ix, iy, seed), b = Lattice(ix + 1, iy, seed);
  float c = Lattice(ix, iy + 1, seed), d = Lattice(ix + 1, iy + 1, seed);
  float top = a + (b - a) * tx, bottom = c + (d - c) * tx;
  return top + (bottom - top) * ty;
}

float Fbm(float x, float y, int octaves, uint32_t seed, float gain) {
  float sum = 0, amplitude = 1, total = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += amplitude * ValueNoise(x, y, seed + static_cast<uint32_t>(i) * 1013u);
    total += amplitude;
    amplitude *= gain;
    // Turn each octave a little so the lattice does not line up.
    float nx = x * 1.6f + y * 1.2f, ny = -x * 1.2f + y * 1.6f;
    x = nx + 17.3f;
    y = ny + 5.1f;
  }
  return sum / total;
}

float Ridged(float x, float y, int octaves, uint32_t seed) {
  float sum = 0, amplitude = 1, total = 0;
  for (int i = 0; i < octaves; ++i) {
    float n = 1.0f - std::fabs(2.0f * ValueNoise(x, y, seed + static_cast<uint32_t>(i) * 977u) - 1.0f);
    sum += amplitude * n * n;
    total += amplitude;
    amplitude *= 0.5f;
    float nx = x * 1.6f + y * 1.2f, ny = -x * 1.2f + y * 1.6f;
    x = nx + 3.7f;
    y = ny + 11.9f;
  }
  return sum / total;
}

float SmoothStep(float edge0, float edge1, float x) {
  float t = (x - edge0) / (edge1 - edge0);
  t = t < 0 ? 0 : (t > 1 ? 1 : t);
  return t * t * (3 - 2 * t);
}

}  // namespace assets
