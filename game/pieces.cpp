#include "game/pieces.h"

#include "game/match_flags.h"
#include "game/piece_motion.h"
#include "game/play_screen.h"
#include "game/random.h"
#include "media/sound_effects.h"

// clang-format off
const uint8_t pieceShapes[8][kBoxCells] = {
    {0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0},
    {0, 0, 0, 0,  0, 1, 1, 0,  0, 1, 1, 0,  0, 0, 0, 0},  // square
    {0, 0, 0, 0,  0, 1, 1, 0,  1, 1, 0, 0,  0, 0, 0, 0},
    {0, 0, 0, 0,  1, 1, 0, 0,  0, 1, 1, 0,  0, 0, 0, 0},
    {0, 0, 0, 0,  0, 1, 1, 1,  0, 1, 0, 0,  0, 0, 0, 0},
    {0, 0, 0, 0,  1, 1, 1, 0,  0, 0, 1, 0,  0, 0, 0, 0},
    {0, 0, 0, 0,  1, 1, 1, 1,  0, 0, 0, 0,  0, 0, 0, 0},  // bar
    {0, 0, 0, 0,  0, 1, 1, 1,  0, 0, 1, 0,  0, 0, 0, 0},
};
// clang-format on

void LoadShape(PlayerState& p, int type) {
  const uint8_t* shape = pieceShapes[type >= 1 && type <= 7 ? type : 1];
  for (int i = 0; i < kBoxSide; ++i) {
    for (int j = 0; j < kBoxSide; ++j) p.pieceCells[i * kBoxSide + j] = shape[j * kBoxSide + i];
  }
}

void TurnBox(const uint8_t cells[kBoxCells], uint8_t turned[kBoxCells]) {
  for (int i = 0; i < kBoxSide; ++i) {
    for (int j = 0; j < kBoxSide; ++j) turned[i * kBoxSide + j] = cells[(3 - j) * kBoxSide + i];
  }
}

void SpawnPiece(PlayerState& p) {
  p.pieceX = 3;
  p.pieceY = -2;
  const int type = RandomNext() % 7 + 1;
  p.pieceColour = static_cast<uint8_t>(type);
  LoadShape(p, type);
  // "BLOB" pieces take their colour from a second draw, after the shape.
  if (blobStyle != 0) p.pieceColour = static_cast<uint8_t>(RandomNext() % 7 + 1);
  if (MoveDown(p)) {
    p.state = kGameJustOver;
    p.losses -= 1;
    PlaySoundGameOver();
  }
  DrawPlayScreen();
}
