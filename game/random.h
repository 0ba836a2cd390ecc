// The game's own random generator. One sequence serves the whole program:
// both players' pieces and the rows pushed into the other well draw from it
// in the order they happen, so a match is fixed by its seed.
#pragma once

#include <cstdint>

extern uint32_t seed;

void RandomSeed(uint32_t value);
// The next number, 0 to 32767.
int32_t RandomNext();
