#include "game/random.h"

uint32_t seed = 0;

void RandomSeed(uint32_t value) { seed = value; }

int32_t RandomNext() {
  // Unsigned arithmetic wraps modulo 2^32, which the sequence depends on.
  seed = seed * 1103515245u + 12345u;
  return static_cast<int32_t>((seed >> 16) & 0x7FFF);
}
