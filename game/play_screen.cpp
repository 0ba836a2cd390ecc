#include "game/play_screen.h"

#include <cstdio>
#include <cstring>

#include "game/controls.h"
#include "game/game_tick.h"
#include "game/match_flags.h"
#include "game/play_assets.h"
#include "gfx/display.h"

int32_t cellSize = 20;
int32_t boardLeft = 220;
int32_t boardTop = 8;

namespace {

constexpr int32_t kBarWidth = 4;

// The tile of a cell of colour k with mask m; null (nothing drawn) for a
// value no tile exists for.
const Image* Tile(uint8_t colour, uint8_t mask) {
  if (colour == 0) return blockTiles[0][0];
  if (colour > 7 || mask > 15) return nullptr;
  return blockTiles[colour][mask];
}

int32_t CellLeft(int column) { return boardLeft + cellSize * column; }
int32_t CellTop(int row) { return boardTop + cellSize * row; }

void DrawWell(const PlayerState& p) {
  for (int c = 0; c < kWellColumns; ++c) {
    for (int r = 0; r < kWellRows; ++r) {
      const uint8_t colour = p.well[WellIndex(c, r)];
      DrawImage(Tile(colour, colour ? EdgeMask(p, c, r) : 0), backBuffer, CellLeft(c), CellTop(r));
    }
  }
}

void DrawFrame() {
  const int32_t wellWidth = cellSize * kWellColumns, wellHeight = cellSize * kWellRows;
  DrawImage(wellSideBar, backBuffer, boardLeft - kBarWidth, boardTop);
  DrawImage(wellSideBar, backBuffer, boardLeft + wellWidth, boardTop);
  DrawImage(wellBottomBar, backBuffer, boardLeft - kBarWidth, boardTop + wellHeight);
}

void Print(int32_t x, int32_t y, const char* text) { PrintText(font2, backBuffer, x, y, text); }

// A legend line "KEY-ACTION" that may name a key of the player's keyboard:
// drawn with half-width characters when it would run off the screen's
// right edge, and cut where even those would.
void PrintLegendLine(int32_t x, int32_t y, const char* key, const char* action) {
  char text[64];
  std::snprintf(text, sizeof text, "%s-%s", key, action);
  const int32_t advance = font2->advance, length = static_cast<int32_t>(std::strlen(text));
  if (advance <= 1 || x + advance * length <= screenWidth) {
    Print(x, y, text);
    return;
  }
  font2->advance = advance / 2;
  const int32_t fits = (screenWidth - x) / font2->advance;
  if (fits >= 0 && fits < length) text[fits] = '\0';
  Print(x, y, text);
  font2->advance = advance;
}

// A key name of a two-player column: at most six half-width characters.
struct ColumnKey {
  char text[7];
  ColumnKey(int seat, int layout, int action, const char* gameText) {
    std::snprintf(text, sizeof text, "%s", ActionKeyText(seat, layout, action, gameText));
  }
};

void PrintNumber(int32_t x, int32_t y, const char* format, int32_t value) {
  char text[48];
  std::snprintf(text, sizeof text, format, value);
  Print(x, y, text);
}

// One player: the style, points, level and rows at the left, the keys of
// the player's layout in a legend right of the well.
void DrawOnePlayerHud(const PlayerState& p) {
  const int32_t w = font2->advance, h = font2->drawHeight;
  if (blobStyle != 0) {
    Print(3 * w, h, "BLOB");
  } else {
    Print(2 * w, h, "NORMAL");
  }
  PrintNumber(w / 4, 3 * h, english ? "POINTS: %5d" : "PUNKTE: %5d", p.points);
  PrintNumber(w / 4, 5 * h, "LEVEL:     %2d", p.level);
  PrintNumber(w / 4, 7 * h, english ? "ROWS:     %3d" : "REIHEN:   %3d", p.rows);

  const int32_t legend = boardLeft + cellSize * kWellColumns + w;
  const bool downRotates = p.controlHandler == ControlHandler::ArrowKeysDownRotate;
  const int seat = SeatOf(p.controlHandler), layout = LayoutOf(p.controlHandler);
  Print(legend, h, "CONTROL KEYS");
  Print(legend, 3 * h, "ESC-QUIT");
  PrintLegendLine(legend, 5 * h, ActionKeyText(seat, layout, kActionLeft, "LEFT"), "LEFT");
  PrintLegendLine(legend, 7 * h, ActionKeyText(seat, layout, kActionRight, "RIGHT"), "RIGHT");
  PrintLegendLine(legend, 9 * h, ActionKeyText(seat, layout, kActionTurn, downRotates ? "DOWN" : "UP"), "ROTATE");
  PrintLegendLine(legend, 11 * h, ActionKeyText(seat, layout, kActionDrop, downRotates ? "CTRL" : "DOWN"), "DROP");
  Print(legend, 13 * h, "F1-CHANGE");
}

// One column of a two-player match: counters, then the keys from the left
// key down to the key that switches the layout.
void DrawPlayerColumn(int32_t x, int32_t h, const PlayerState& p, const ColumnKey keys[5]) {
  Print(x, 2 * h, "PTS:");
  PrintNumber(x, 3 * h, "%d", p.points);
  Print(x, 4 * h, "LVL:");
  PrintNumber(x, 5 * h, "%d", p.level);
  Print(x, 6 * h, "ROWS:");
  PrintNumber(x, 7 * h, "%d", p.rows);
  Print(x, 9 * h, "CTRL");
  for (int k = 0; k < 5; ++k) Print(x, (10 + k) * h, keys[k].text);
}

// Two players: both columns in half-width characters at the screen's sides.
void DrawTwoPlayerHud() {
  const int32_t fullAdvance = font2->advance;
  const int32_t w = fullAdvance / 2, h = font2->drawHeight;
  font2->advance = w;
  if (blobStyle != 0) {
    Print(screenWidth / 2 - 2 * w, h, "BLOB");
  } else {
    Print(screenWidth / 2 - 3 * w, h, "NORMAL");
  }
  // From the top: the left, right, drop and turn keys, and the layout switch.
  const bool shiftDrops = players[0].controlHandler == ControlHandler::LetterKeysShiftDrop;
  const int leftLayout = LayoutOf(players[0].controlHandler);
  const ColumnKey left[5] = {{kSeatPlayerOne, leftLayout, kActionLeft, "A"},
                             {kSeatPlayerOne, leftLayout, kActionRight, "D"},
                             {kSeatPlayerOne, leftLayout, kActionDrop, shiftDrops ? "SHFT" : "S"},
                             {kSeatPlayerOne, leftLayout, kActionTurn, shiftDrops ? "S" : "W"},
                             {-1, 0, 0, "F1"}};
  DrawPlayerColumn(w, h, players[0], left);
  const bool downRotates = players[1].controlHandler == ControlHandler::ArrowKeysDownRotate;
  const int rightLayout = LayoutOf(players[1].controlHandler);
  const ColumnKey right[5] = {{kSeatPlayerTwo, rightLayout, kActionLeft, "LEFT"},
                              {kSeatPlayerTwo, rightLayout, kActionRight, "RIGHT"},
                              {kSeatPlayerTwo, rightLayout, kActionDrop, downRotates ? "CTRL" : "DOWN"},
                              {kSeatPlayerTwo, rightLayout, kActionTurn, downRotates ? "DOWN" : "UP"},
                              {-1, 0, 0, "F2"}};
  DrawPlayerColumn(screenWidth - 6 * w, h, players[1], right);
  font2->advance = fullAdvance;
}

}  // namespace

void SetBoardLayout(const PlayerState& p) {
  cellSize = 20;
  boardTop = 8;
  if (playerCount == 2) {
    boardLeft = p.index == 1 ? 370 : 70;
  } else {
    boardLeft = 220;
  }
}

uint8_t EdgeMask(const PlayerState& p, int column, int row) {
  const uint8_t colour = WellCell(p, column, row);
  uint8_t mask = 0;
  if (row == 0 || WellCell(p, column, row - 1) != colour) mask |= kEdgeTop;
  if (column == kLastColumn || WellCell(p, column + 1, row) != colour) mask |= kEdgeRight;
  if (row == kBottomRow || WellCell(p, column, row + 1) != colour) mask |= kEdgeBottom;
  if (column == 0 || WellCell(p, column - 1, row) != colour) mask |= kEdgeLeft;
  return mask;
}

uint8_t PieceEdgeMask(const PlayerState& p, int i, int j) {
  auto block = [&](int bi, int bj) {
    return bi >= 0 && bi < kBoxSide && bj >= 0 && bj < kBoxSide && p.pieceCells[bi * kBoxSide + bj] != 0;
  };
  uint8_t mask = 0;
  if (!block(i, j - 1)) mask |= kEdgeTop;
  if (!block(i + 1, j)) mask |= kEdgeRight;
  if (!block(i, j + 1)) mask |= kEdgeBottom;
  if (!block(i - 1, j)) mask |= kEdgeLeft;
  return mask;
}

void DrawPiece(const PlayerState& p) {
  SetBoardLayout(p);
  for (int i = 0; i < kBoxSide; ++i) {
    for (int j = 0; j < kBoxSide; ++j) {
      if (!p.pieceCells[i * kBoxSide + j] || p.pieceY + j < 0) continue;
      DrawImage(Tile(p.pieceColour, PieceEdgeMask(p, i, j)), backBuffer, CellLeft(p.pieceX + i),
                CellTop(p.pieceY + j));
    }
  }
  screenDirty = 1;
}

void ErasePiece(const PlayerState& p) {
  SetBoardLayout(p);
  for (int i = 0; i < kBoxSide; ++i) {
    for (int j = 0; j < kBoxSide; ++j) {
      if (!p.pieceCells[i * kBoxSide + j] || p.pieceY + j < 0) continue;
      DrawImage(blockTiles[0][0], backBuffer, CellLeft(p.pieceX + i), CellTop(p.pieceY + j));
    }
  }
  screenDirty = 1;
}

void DrawHud(const PlayerState& p) {
  screenDirty = 1;
  if (!font2) return;
  if (playerCount == 2) {
    DrawTwoPlayerHud();
  } else {
    SetBoardLayout(p);
    DrawOnePlayerHud(p);
  }
}

void DrawGameOverPanel(const PlayerState& p) {
  SetBoardLayout(p);
  DrawImageKeyed(panelImage, backBuffer, boardLeft + 30, boardTop + 140);
}

void DrawPlayScreen() {
  CopyScreen(backBuffer, backgroundImage);
  for (int p = 0; p < PlayingCount(); ++p) {
    const PlayerState& player = players[p];
    SetBoardLayout(player);
    DrawWell(player);
    DrawPiece(player);
    DrawHud(player);
    DrawFrame();
    // A game that is over keeps its panel through every redraw, such as the
    // other player's next piece, so it never flickers away for a step.
    if (player.state < kPlaying) DrawGameOverPanel(player);
  }
  screenDirty = 1;
}
