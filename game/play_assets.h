// The pictures and fonts the play screen draws with. The shell loads them
// at start-up and releases them at shutdown; a missing one stays null (or an
// empty picture) and the screen simply lacks it.
#pragma once

#include <cstdint>

#include "gfx/blit.h"
#include "gfx/font.h"
#include "gfx/palette.h"

extern BitmapFont* font1;  // scroller and result lines
extern BitmapFont* font2;  // play-screen texts, pause, hiscores
extern Surface* backgroundImage;  // the full-screen picture behind the wells
extern uint8_t gamePalette[kPaletteBytes];
// [0][0]: an empty cell; [k][m]: a block of colour k (1..7) whose sides in
// the edge mask m (0..15) are closed. Variant 16 of each colour is never drawn.
extern Image* blockTiles[8][17];
extern Image* wellSideBar;    // 4 x 460
extern Image* wellBottomBar;  // 208 x 4
extern Image* panelImage;     // 160 x 140, shown over the well of a lost game
