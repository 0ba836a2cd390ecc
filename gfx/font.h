// Fixed-width bitmap fonts cut from a picture in cells, in character order
// from the space.
#pragma once

#include <cstdint>

#include "gfx/surface.h"

struct BitmapFont {
  int32_t gridTop = 0;          // y of the first glyph row in the picture
  int32_t firstCharOffset = 0;  // first character given at creation - 32 (kept, not used)
  int32_t glyphsPerRow = 0;     // picture width / cellWidth
  Surface* surface = nullptr;   // the font picture, colour key 0; owned
  int32_t cellWidth = 0;
  int32_t cellHeight = 0;
  int32_t advance = 0;     // width of one character on the destination
  int32_t drawHeight = 0;  // height of one character on the destination
};

// Fills `font` and loads its picture; returns `font`. A missing picture
// leaves `surface` null and the font draws nothing.
BitmapFont* FontInit(BitmapFont* font, const char* fileName, int32_t gridTop, uint8_t firstChar, int32_t cellWidth,
                     int32_t cellHeight);
// Releases the picture; the caller frees the record.
void FontRelease(BitmapFont* font);

// Draws a zero-terminated text at (x, y); index 0 of the glyphs is see-through.
void PrintText(const BitmapFont* font, Surface* dest, int32_t x, int32_t y, const char* text);
// The same with whole cells, background included.
void PrintTextOpaque(const BitmapFont* font, Surface* dest, int32_t x, int32_t y, const char* text);
