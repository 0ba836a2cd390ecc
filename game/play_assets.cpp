#include "game/play_assets.h"

BitmapFont* font1 = nullptr;
BitmapFont* font2 = nullptr;
Surface* backgroundImage = nullptr;
uint8_t gamePalette[kPaletteBytes] = {};
Image* blockTiles[8][17] = {};
Image* wellSideBar = nullptr;
Image* wellBottomBar = nullptr;
Image* panelImage = nullptr;
