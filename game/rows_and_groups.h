// What a lock removes: full rows in "NORMAL" style, groups of sixteen or
// more touching blocks of one colour in "BLOB" style; scoring and levels.
#pragma once

#include <cstdint>

#include "game/player_state.h"

constexpr int32_t kLastLevel = 18;
// A group of this many blocks of one colour, or more, is removed.
constexpr int32_t kGroupSizeRemoved = 16;

struct GroupCell {
  int8_t column;
  int8_t row;
};

// The cells of the group found last, each once; it can hold the whole well.
extern GroupCell groupCells[kWellCells];
extern int32_t groupCellCount;

// Removes the full rows among the four rows of the piece's box, scores
// them, raises the level, pushes rows to the other well and plays the effect.
void ClearFullRows(PlayerState& p);
// Lets every block fall, then removes groups pass by pass.
void RemoveBlobGroups(PlayerState& p);
// The cells of colour `colour` joined to (column, row) through their sides.
// Empty when that cell does not hold the colour.
void FindGroup(const PlayerState& p, int column, int row, uint8_t colour);
// Packs the column's blocks down against the floor, keeping their order.
void CollapseColumn(PlayerState& p, int column);
