#include "game/garbage_rows.h"

#include <cstring>

#include "game/random.h"

void AddGarbageRow(PlayerState& q) {
  for (int c = 0; c < kWellColumns; ++c) {
    uint8_t* column = q.well + WellIndex(c, 0);
    std::memmove(column, column + 1, kBottomRow);
  }
  // One draw for the hole, then one for each of the nine blocks, left to right.
  const int hole = RandomNext() % kWellColumns;
  for (int c = 0; c < kWellColumns; ++c) {
    q.well[WellIndex(c, kBottomRow)] = c == hole ? 0 : static_cast<uint8_t>(RandomNext() % 7 + 1);
  }
}
