// The letter shapes shared by both bitmap fonts: one 12 x 12 pixel bitmap
// for each character 32..127. Capitals and digits stand in rows 0..9,
// small letters in rows 3..9 with ascenders from row 0, descenders reach
// row 11. Vertical strokes are two pixels wide (diagonals three), so the
// letters keep every stroke when the game squeezes the font to half width.
#pragma once

namespace assets {

constexpr int kGlyphWidth = 12;
constexpr int kGlyphHeight = 12;

// True where the glyph of character `c` (32..127) has ink.
bool GlyphInk(int c, int x, int y);

}  // namespace assets
