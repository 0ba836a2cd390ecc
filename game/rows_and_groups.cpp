#include "game/rows_and_groups.h"

#include <cstring>

#include "game/garbage_rows.h"
#include "game/match_flags.h"
#include "media/sound_effects.h"

GroupCell groupCells[kWellCells];
int32_t groupCellCount = 0;

namespace {

bool RowFull(const PlayerState& p, int row) {
  for (int c = 0; c < kWellColumns; ++c) {
    if (p.well[WellIndex(c, row)] == 0) return false;
  }
  return true;
}

// Every row above `row` moves down by one and row 0 becomes empty. The well
// is stored column by column, so this is a short move inside each column.
void RemoveRow(PlayerState& p, int row) {
  for (int c = 0; c < kWellColumns; ++c) {
    uint8_t* column = p.well + WellIndex(c, 0);
    std::memmove(column + 1, column, static_cast<size_t>(row));
    column[0] = 0;
  }
}

// Every fifth row (or group) raises the level, up to the last one.
void CountTowardsLevel(PlayerState& p) {
  if (p.rows % 5 == 0 && p.level < kLastLevel) p.level += 1;
}

void PlayRowsEffect(int removed) {
  const bool twoPlayers = playerCount == 2;
  if (removed == 4) {
    twoPlayers ? PlaySoundTschau() : PlaySoundVierer();
  } else if (removed >= 2) {
    twoPlayers ? PlaySoundLach() : PlaySoundReihen();
  } else {
    PlaySoundReihen();
  }
}

}  // namespace

void ClearFullRows(PlayerState& p) {
  int removed = 0;
  // Top to bottom with removal at once: a removal moves only rows above,
  // which have already been looked at.
  for (int j = 0; j < kBoxSide; ++j) {
    const int row = p.pieceY + j;
    if (row < 0 || row > kBottomRow || !RowFull(p, row)) continue;
    RemoveRow(p, row);
    // The first row of a lock sends nothing; each further one sends one.
    if (playerCount == 2 && removed > 0) {
      for (int q = 0; q < PlayingCount(); ++q) {
        if (&players[q] != &p) AddGarbageRow(players[q]);
      }
    }
    p.rows += 1;
    removed += 1;
  }
  p.points += 5 * (p.level + 1) * removed * removed;
  if (removed > 0) {
    // Tested once per lock, after all its rows are counted.
    CountTowardsLevel(p);
    PlayRowsEffect(removed);
  }
}

void CollapseColumn(PlayerState& p, int column) {
  if (column < 0 || column > kLastColumn) return;
  uint8_t* cells = p.well + WellIndex(column, 0);
  int to = kBottomRow;
  for (int row = kBottomRow; row >= 0; --row) {
    if (cells[row] != 0) cells[to--] = cells[row];
  }
  for (; to >= 0; --to) cells[to] = 0;
}

void FindGroup(const PlayerState& p, int column, int row, uint8_t colour) {
  groupCellCount = 0;
  if (colour == 0 || WellCell(p, column, row) != colour) return;
  bool seen[kWellCells] = {};
  // groupCells doubles as the queue of the search: every cell enters once.
  seen[WellIndex(column, row)] = true;
  groupCells[groupCellCount++] = GroupCell{static_cast<int8_t>(column), static_cast<int8_t>(row)};
  static constexpr int kSteps[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
  for (int next = 0; next < groupCellCount; ++next) {
    const GroupCell at = groupCells[next];
    for (const auto& step : kSteps) {
      const int c = at.column + step[0], r = at.row + step[1];
      if (!InsideWell(c, r)) continue;
      const int index = WellIndex(c, r);
      if (seen[index] || p.well[index] != colour) continue;
      seen[index] = true;
      groupCells[groupCellCount++] = GroupCell{static_cast<int8_t>(c), static_cast<int8_t>(r)};
    }
  }
}

void RemoveBlobGroups(PlayerState& p) {
  // A piece that came to rest on an overhang breaks apart first.
  for (int c = 0; c < kWellColumns; ++c) CollapseColumn(p, c);
  // A further pass runs only when the group of the last block a pass looked
  // at was removed; groups that form behind a pass otherwise wait for the
  // player's next lock.
  bool again = true;
  while (again) {
    again = false;
    for (int row = 0; row < kWellRows; ++row) {
      for (int column = 0; column < kWellColumns; ++column) {
        const uint8_t colour = p.well[WellIndex(column, row)];
        if (colour == 0) continue;
        FindGroup(p, column, row, colour);
        if (groupCellCount < kGroupSizeRemoved) {
          again = false;
          continue;
        }
        for (int k = 0; k < groupCellCount; ++k) p.well[WellIndex(groupCells[k].column, groupCells[k].row)] = 0;
        p.rows += 1;
        CountTowardsLevel(p);
        for (int c = 0; c < kWellColumns; ++c) CollapseColumn(p, c);
        again = true;
        break;  // on with column 0 of the next row, in the collapsed well
      }
    }
  }
}
