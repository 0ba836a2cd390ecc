// How the palettes of the game are laid out. Fonts are drawn under the game
// palette and under the title palette, so entries 1..31 hold the same font
// colours in both.
#pragma once

#include "tools/assets/canvas.h"

namespace assets {

// ---- shared by the game and the title palette ----
constexpr int kFontFirst = 1;
constexpr int kFontLast = 31;
// FONT2: a warm gradient from top to bottom of the letters, a dark shadow.
constexpr int kFont2Fill = 1;      // 1..12, one per glyph row 1..12
constexpr int kFont2FillCount = 12;
constexpr int kFont2Shadow = 13;
// FONT1: chrome letters with a dark outline.
constexpr int kFont1Fill = 14;     // 14..27, one per glyph row 0..13
constexpr int kFont1FillCount = 14;
constexpr int kFont1Outline = 28;
constexpr int kFont1Glint = 29;

// ---- the game palette (HINTER.PIX, STEINES.PIX) ----
constexpr int kBlockFirst = 32;    // 7 colours x 6 shades
constexpr int kBlockShades = 6;
enum BlockShade { kOutline = 0, kDark = 1, kShadow = 2, kFace = 3, kLight = 4, kHighlight = 5 };
constexpr int BlockIndex(int colour, int shade) { return kBlockFirst + (colour - 1) * kBlockShades + shade; }
constexpr int kWellFirst = 74;     // 74..79: the empty well
constexpr int kBarFirst = 80;      // 80..95: hiscore and result bars, rim to middle
constexpr int kSteelFirst = 96;    // 96..111: steel from dark to bright
constexpr int kSteelCount = 16;
constexpr int kPanelFirst = 112;   // 112..127: the game-over panel's letters and glass
constexpr int kPanelCount = 16;
constexpr int kBackgroundFirst = 128;  // 128..255: the play background
constexpr int kBackgroundCount = 128;

// ---- the title palette (PCBLOKS.PIX, TITELS.PIX) ----
constexpr int kLogoFirst = 32;
constexpr int kLogoCount = 96;
constexpr int kTitleFirst = 128;
constexpr int kTitleCount = 128;

// The face colours of the seven block colours.
Colour BlockColour(int colour);

void SetFontColours(Palette& palette);
// Everything fixed in the game palette: fonts, blocks, well, bars, steel, panel.
void SetGameFixedColours(Palette& palette);

}  // namespace assets
