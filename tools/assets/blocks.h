// STEINES.PIX: the block tiles, the empty well cell, the well's bars and the
// game-over panel, laid out as the game cuts them from the sheet.
#pragma once

#include "tools/assets/canvas.h"

namespace assets {

constexpr int kTileSize = 20;
constexpr int kSheetWidth = 640;
constexpr int kSheetHeight = 480;
// Where the game cuts the pieces.
constexpr int kEmptyTileX = 0, kEmptyTileY = 380;
constexpr int kSideBarX = 320, kSideBarWidth = 4, kSideBarHeight = 460;
constexpr int kBottomBarX = 324, kBottomBarWidth = 208, kBottomBarHeight = 4;
constexpr int kPanelX = 0, kPanelY = 140, kPanelWidth = 160, kPanelHeight = 140;

// Sides of a block that border something else and so are drawn closed.
enum EdgeBits { kTopClosed = 1, kRightClosed = 2, kBottomClosed = 4, kLeftClosed = 8 };

// Block of colour 1..7 with the closed sides `mask` (0..15).
IndexCanvas DrawBlockTile(int colour, int mask);
IndexCanvas DrawEmptyTile();
IndexCanvas DrawSideBar();
IndexCanvas DrawBottomBar();
// Paints the panel and sets the panel's palette entries.
IndexCanvas DrawGameOverPanel(Palette& palette);

// The whole sheet; sets the panel's entries of the game palette.
IndexCanvas DrawBlockSheet(Palette& palette);

}  // namespace assets
