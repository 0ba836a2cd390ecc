// The display palette and the fades. A palette is 768 bytes: 256 entries
// of red, green, blue, each a 6-bit value 0..63, the form every picture
// reader hands out.
#pragma once

#include <cstdint>

constexpr int kPaletteBytes = 768;

// The entries last handed to the display: each component shifted left by 2
// (0..252), then a flags byte of 2.
extern uint8_t paletteEntries[256 * 4];
// The fades' working copy.
extern uint8_t fadePalette[kPaletteBytes];

void SetPalette(const uint8_t* palette);
// From black to `target` in 64 steps of at least 12 ms each.
void FadeIn(const uint8_t* target);
// From `shown` to black in 64 steps of at least 12 ms; `shown` is unchanged.
void FadeOut(const uint8_t* shown);
void ClearPalette(uint8_t* palette);
// The pixel value that shows a palette index: on this 8-bit screen, the index.
uint8_t PaletteIndexToPixel(uint8_t index, const uint8_t* palette);
