// The state of a match: one record per player with the well, the counters
// and the falling piece.
#pragma once

#include <cstdint>

// The well is 10 columns by 23 rows; column 0 at the left, row 0 at the top.
constexpr int kWellColumns = 10;
constexpr int kWellRows = 23;
constexpr int kWellCells = kWellColumns * kWellRows;
constexpr int kLastColumn = kWellColumns - 1;
constexpr int kBottomRow = kWellRows - 1;

// A falling piece lives in a 4 x 4 box; box cell (i, j) is column i, row j.
constexpr int kBoxSide = 4;
constexpr int kBoxCells = kBoxSide * kBoxSide;

// The state a record has while its player plays.
constexpr int32_t kPlaying = 100;
// The state at the moment a player's game is over; it then counts down.
constexpr int32_t kGameJustOver = 99;

// Which keys drive a player (the four layouts; None before the first match).
enum class ControlHandler : uint8_t {
  None,
  ArrowKeysDownRotate,  // arrows, DOWN turns, CTRL drops
  ArrowKeysUpRotate,    // arrows, UP turns, DOWN drops
  LetterKeysWRotate,    // A and D, W turns, S drops
  LetterKeysShiftDrop,  // A and D, S turns, SHIFT drops
};

struct PlayerState {
  int32_t index = 0;   // 0 for player 1, 1 for player 2
  int32_t state = 0;   // 100 playing; 99, 74, 49, 24, -1 after the game is over; 0 abandoned
  int32_t points = 0;
  int32_t rows = 0;    // rows removed ("NORMAL") or groups removed ("BLOB")
  int32_t level = 0;   // 0 to 18
  int32_t losses = 0;  // minus the games lost since the program started
  uint8_t well[kWellCells] = {};  // cell (c, r) at c * 23 + r; 0 empty, 1..7 a block colour
  int32_t pieceX = 0;  // well column of the box's left column
  int32_t pieceY = 0;  // well row of the box's top row; -2 or -1 after a spawn
  uint8_t pieceColour = 0;
  uint8_t pieceCells[kBoxCells] = {};  // box cell (i, j) at i * 4 + j; nonzero = a block
  ControlHandler controlHandler = ControlHandler::None;
};

// Player 1 first. In a one-player match only players[0] plays.
extern PlayerState players[2];

// The record of player `index`: the control handlers are only ever handed 0 or 1.
inline PlayerState& PlayerAt(int32_t index) { return players[index == 1 ? 1 : 0]; }

inline bool InsideWell(int column, int row) {
  return column >= 0 && column < kWellColumns && row >= 0 && row < kWellRows;
}

inline int WellIndex(int column, int row) { return column * kWellRows + row; }

// The colour of a well cell; 0 for an empty cell and for any place outside the well.
inline uint8_t WellCell(const PlayerState& p, int column, int row) {
  return InsideWell(column, row) ? p.well[WellIndex(column, row)] : 0;
}

// May a block of the falling piece stand at (column, row)? Inside the well
// when the cell is empty; above the well whenever the column is 0 to 9;
// never beside the well or below its floor.
inline bool CellFree(const PlayerState& p, int column, int row) {
  if (column < 0 || column > kLastColumn || row > kBottomRow) return false;
  if (row < 0) return true;
  return p.well[WellIndex(column, row)] == 0;
}
