#include "game/piece_motion.h"

#include <cstring>

#include "game/match_flags.h"
#include "game/pieces.h"
#include "game/play_screen.h"
#include "game/rows_and_groups.h"
#include "media/sound_effects.h"

namespace {

// Would every block of `cells`, placed with its box at (x, y), stand on a
// free place? Blocks above the well meet only the side walls.
bool Fits(const PlayerState& p, const uint8_t cells[kBoxCells], int x, int y) {
  for (int i = 0; i < kBoxSide; ++i) {
    for (int j = 0; j < kBoxSide; ++j) {
      if (cells[i * kBoxSide + j] && !CellFree(p, x + i, y + j)) return false;
    }
  }
  return true;
}

}  // namespace

void MoveLeft(int32_t index) {
  PlayerState& p = PlayerAt(index);
  if (!Fits(p, p.pieceCells, p.pieceX - 1, p.pieceY)) return;
  ErasePiece(p);
  p.pieceX -= 1;
  DrawPiece(p);
}

void MoveRight(int32_t index) {
  PlayerState& p = PlayerAt(index);
  if (!Fits(p, p.pieceCells, p.pieceX + 1, p.pieceY)) return;
  ErasePiece(p);
  p.pieceX += 1;
  DrawPiece(p);
}

bool MoveDown(PlayerState& p) {
  if (!Fits(p, p.pieceCells, p.pieceX, p.pieceY + 1)) return true;
  ErasePiece(p);
  p.pieceY += 1;
  DrawPiece(p);
  return false;
}

void RotatePiece(int32_t index) {
  PlayerState& p = PlayerAt(index);
  uint8_t turned[kBoxCells];
  TurnBox(p.pieceCells, turned);
  // No second direction and no nudging: a turn that does not fit where the
  // piece stands is refused.
  if (!Fits(p, turned, p.pieceX, p.pieceY)) return;
  ErasePiece(p);
  std::memcpy(p.pieceCells, turned, sizeof turned);
  DrawPiece(p);
}

void HardDrop(int32_t index) {
  PlayerState& p = PlayerAt(index);
  ErasePiece(p);
  while (!MoveDown(p)) {
  }
  DrawPiece(p);
  if (LockPiece(p)) {
    p.state = kGameJustOver;
    p.losses -= 1;
    PlaySoundGameOver();
    return;
  }
  SpawnPiece(p);
  PlaySoundWurf();
}

bool LockPiece(PlayerState& p) {
  for (int i = 0; i < kBoxSide; ++i) {
    for (int j = 0; j < kBoxSide; ++j) {
      if (!p.pieceCells[i * kBoxSide + j]) continue;
      const int column = p.pieceX + i, row = p.pieceY + j;
      // Blocks above the well are lost.
      if (!InsideWell(column, row)) continue;
      uint8_t& cell = p.well[WellIndex(column, row)];
      if (cell == 0) {
        cell = p.pieceColour;
      } else if (p.pieceY == 0) {
        // Rows pushed in from below have met a piece at the very top: the
        // game is over, with the blocks written so far left in the well.
        return true;
      }
      // Otherwise the well keeps its own block and the piece's block is lost.
    }
  }
  p.points += blobStyle != 0 ? 2 * p.level + 3 : p.level + 1;
  if (blobStyle != 0) {
    RemoveBlobGroups(p);
  } else {
    ClearFullRows(p);
  }
  return false;
}
