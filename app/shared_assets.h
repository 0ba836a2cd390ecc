// The three options kept between runs, and the pictures and fonts that
// several screens share, loaded once at start-up and released at shutdown.
#pragma once

#include <cstdint>

// Key layout of player 1 and of player 2 (0 = layout 0, else layout 1).
extern int32_t controlLayout[2];
// Nonzero: no background music.
extern uint8_t musicOff;

// Sets the options to 0, then reads the stored text "%d %d %d" over them.
void ReadOptions();
void WriteOptions();

// Options, sound effects, fonts, the background and the tiles cut from the
// block sheet. Missing files leave empty pictures behind; always true.
bool LoadOptionsAndAssets();
// Writes the options and releases everything, the display last. Safe to
// reach twice: each resource is released at most once.
void SaveOptionsAndRelease();
