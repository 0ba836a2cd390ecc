// The seven piece shapes, the quarter turn and the spawn of a new piece.
#pragma once

#include <cstdint>

#include "game/player_state.h"

// Types 1 to 7, each a 4 x 4 box stored row by row (four bytes a row, row 0
// first); type 0 is never used.
extern const uint8_t pieceShapes[8][kBoxCells];

// Loads shape `type` (1..7) into the piece. The table is row by row and the
// piece column by column, so the load transposes it.
void LoadShape(PlayerState& p, int type);

// The quarter turn of a box: turned (i, j) = old (3 - j, i), anticlockwise
// on screen.
void TurnBox(const uint8_t cells[kBoxCells], uint8_t turned[kBoxCells]);

// Brings in the player's next piece at the top of the well. A spawn that
// cannot take its first step down ends the player's game at once.
void SpawnPiece(PlayerState& p);
