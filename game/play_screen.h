// Drawing a match into the back buffer: the background, each well with its
// blocks in merged shapes, the falling pieces, the frames and the texts.
#pragma once

#include <cstdint>

#include "game/player_state.h"

// Geometry of the well being drawn, set by SetBoardLayout before every use.
extern int32_t cellSize;
extern int32_t boardLeft;
extern int32_t boardTop;

// Sides of a block that border something else: the tile for a mask shows
// those sides closed, so touching blocks of one colour merge on screen.
constexpr uint8_t kEdgeTop = 1;
constexpr uint8_t kEdgeRight = 2;
constexpr uint8_t kEdgeBottom = 4;
constexpr uint8_t kEdgeLeft = 8;

void SetBoardLayout(const PlayerState& p);
// The whole screen, for every player of the match.
void DrawPlayScreen();
// The falling piece's blocks inside the well (blocks above it are not shown).
void DrawPiece(const PlayerState& p);
// Empty tiles where the piece's blocks are, whatever the well holds there.
void ErasePiece(const PlayerState& p);
// The texts beside the wells.
void DrawHud(const PlayerState& p);
// The game-over panel over the player's well.
void DrawGameOverPanel(const PlayerState& p);

// The mask of the well block at (column, row), from the well's own cells.
uint8_t EdgeMask(const PlayerState& p, int column, int row);
// The mask of the piece's block at box cell (i, j), from the piece alone:
// a falling piece never merges with the well.
uint8_t PieceEdgeMask(const PlayerState& p, int i, int j);
