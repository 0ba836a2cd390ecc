// The costs of a match: one game step, the whole play screen of two
// players, and the group search of "BLOB" style on a full well.
#include <benchmark/benchmark.h>

#include <cstring>

#include "game/game_tick.h"
#include "game/match_flags.h"
#include "game/pieces.h"
#include "game/play_assets.h"
#include "game/play_screen.h"
#include "game/random.h"
#include "game/rows_and_groups.h"
#include "gfx/display.h"
#include "platform/headless/headless_backend.h"
#include "platform/keys.h"

namespace {

Image* SolidImage(int width, int height, uint8_t index) {
  Surface* source = CreateSurface(width, height);
  std::memset(source->Pixels(), index, static_cast<size_t>(width) * height);
  Image* image = new Image(source, 0, 0, width, height);
  ReleaseSurface(source);
  return image;
}

// A screen, pictures and a font of plain colours, made once.
void SetUpScreen() {
  if (backBuffer) return;
  platform::headless::StartForTests();
  InitDisplay("Stakkorx", 8, 640, 480, 640, 480);
  backgroundImage = CreateSurface(640, 480);
  blockTiles[0][0] = SolidImage(20, 20, 1);
  for (int k = 1; k <= 7; ++k) {
    for (int m = 0; m < 17; ++m) blockTiles[k][m] = SolidImage(20, 20, static_cast<uint8_t>(20 * k + m));
  }
  wellSideBar = SolidImage(4, 460, 2);
  wellBottomBar = SolidImage(208, 4, 3);
  panelImage = SolidImage(160, 140, 4);
  font2 = new BitmapFont{};
  font2->surface = CreateSurface(256, 84);
  std::memset(font2->surface->Pixels(), 9, 256 * 84);
  font2->surface->SetColourKey(0);
  font2->glyphsPerRow = 16;
  font2->cellWidth = font2->advance = 16;
  font2->cellHeight = font2->drawHeight = 14;
}

void FillRandomly(PlayerState& p, int fromRow) {
  for (int c = 0; c < kWellColumns; ++c) {
    for (int r = fromRow; r < kWellRows; ++r) p.well[WellIndex(c, r)] = static_cast<uint8_t>(RandomNext() % 7 + 1);
  }
}

// A step in which the piece moves sideways: keys polled, the piece erased
// and drawn. The frame copy to the screen is left out (no primary surface).
void BM_GameTickStep(benchmark::State& state) {
  SetUpScreen();
  playerCount = 1;
  blobStyle = 0;
  RandomSeed(7);
  players[0] = PlayerState{};
  players[0].state = kPlaying;
  players[0].controlHandler = ControlHandler::ArrowKeysDownRotate;
  SpawnPiece(players[0]);
  Surface* screen = primarySurface;
  primarySurface = nullptr;
  uint32_t now = 1000;
  bool left = true;
  for (auto _ : state) {
    gravityCountdown = 38;
    platform::headless::SetKeyHeld(left ? VK_LEFT : VK_RIGHT, true);
    platform::headless::SetKeyHeld(left ? VK_RIGHT : VK_LEFT, false);
    left = !left;
    now += 26;
    platform::headless::SetClock(now);
    GameTick();
  }
  primarySurface = screen;
  platform::headless::SetKeyHeld(VK_LEFT, false);
  platform::headless::SetKeyHeld(VK_RIGHT, false);
}
BENCHMARK(BM_GameTickStep);

void BM_DrawPlayScreenTwoPlayers(benchmark::State& state) {
  SetUpScreen();
  playerCount = 2;
  RandomSeed(11);
  for (int p = 0; p < 2; ++p) {
    players[p] = PlayerState{};
    players[p].index = p;
    FillRandomly(players[p], 8);
    LoadShape(players[p], 4);
    players[p].pieceX = 3;
    players[p].pieceY = 2;
    players[p].pieceColour = 4;
  }
  for (auto _ : state) DrawPlayScreen();
}
BENCHMARK(BM_DrawPlayScreenTwoPlayers);

// Every cell taken by chance: no group is large enough, so every block
// starts a search.
void BM_RemoveBlobGroupsFullWell(benchmark::State& state) {
  RandomSeed(3);
  PlayerState full;
  FillRandomly(full, 0);
  PlayerState p;
  for (auto _ : state) {
    std::memcpy(p.well, full.well, sizeof p.well);
    RemoveBlobGroups(p);
    benchmark::DoNotOptimize(p.well);
  }
}
BENCHMARK(BM_RemoveBlobGroupsFullWell);

// The whole well one colour: one search of 230 cells and one removal.
void BM_RemoveBlobGroupsOneColour(benchmark::State& state) {
  PlayerState full;
  std::memset(full.well, 5, sizeof full.well);
  PlayerState p;
  for (auto _ : state) {
    std::memcpy(p.well, full.well, sizeof p.well);
    RemoveBlobGroups(p);
    benchmark::DoNotOptimize(p.well);
  }
}
BENCHMARK(BM_RemoveBlobGroupsOneColour);

}  // namespace
