// Smooth noise for clouds, nebulae and surface textures: value noise on an
// integer lattice with a fixed hash, so every build paints the same.
#pragma once

#include <cstdint>

namespace assets {

uint32_t Hash(int32_t x, int32_t y, uint32_t seed);
// 0..1, smooth, period 1 lattice.
float ValueNoise(float x, float y, uint32_t seed);
// Sum of `octaves` layers, each twice as fine and `gain` as strong; 0..1.
float Fbm(float x, float y, int octaves, uint32_t seed, float gain = 0.5f);
// Ridged variant (sharp crests), 0..1.
float Ridged(float x, float y, int octaves, uint32_t seed);

float SmoothStep(float edge0, float edge1, float x);

}  // namespace assets
