// The two bitmap fonts: 16 x 14 cells for the characters 32..127, sixteen
// to a row, index 0 see-through.
#pragma once

#include "tools/assets/canvas.h"

namespace assets {

constexpr int kFontCellWidth = 16;
constexpr int kFontCellHeight = 14;
constexpr int kFontColumns = 16;
constexpr int kFontPictureWidth = kFontCellWidth * kFontColumns;  // 256
constexpr int kFontPictureHeight = kFontCellHeight * 6;           // 84

// FONT2, the play-screen font: warm letters with a drop shadow.
IndexCanvas DrawPlayFont();
// FONT1, the display font of the scroller and the result lines: chrome
// letters with a dark outline.
IndexCanvas DrawDisplayFont();

}  // namespace assets
