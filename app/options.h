// The three options kept between runs: each player's key layout and whether
// the music is off, stored as the text "%d %d %d" in the options store.
#pragma once

#include <cstdint>

// Key layout of player 1 and of player 2 (0 = layout 0, else layout 1).
extern int32_t controlLayout[2];
// Nonzero: no background music now.
extern uint8_t musicOff;
// The player's own choice (F8), which the options file keeps. Music that
// cannot be played is off for the run only: musicOff goes to 1, this stays.
extern uint8_t musicOffChoice;

// Sets the options to 0, then reads the stored text "%d %d %d" over them.
void ReadOptions();
void WriteOptions();
