#include "app/shared_assets.h"

#include <new>

#include "app/settings.h"
#include "game/match_flags.h"
#include "game/play_assets.h"
#include "game/player_state.h"
#include "gfx/display.h"
#include "gfx/image_loader.h"
#include "media/sound_effects.h"

namespace {

bool soundEffectsUp = false;
bool displayUp = false;

BitmapFont* MakeFont(const char* fileName) {
  auto* font = new (std::nothrow) BitmapFont{};
  if (font) FontInit(font, fileName, 0, 32, 16, 14);
  return font;
}

void DeleteFont(BitmapFont*& font) {
  if (!font) return;
  FontRelease(font);
  delete font;
  font = nullptr;
}

void DeleteImage(Image*& image) {
  delete image;
  image = nullptr;
}

// Tiles, well bars and the game-over panel, cut from "STEINES.PIX": seven
// rows of 17 tiles (one row per block colour) at the top left, the empty
// tile below them, the bars to the right and the panel under the tiles.
void CutSheet() {
  Surface* sheet = nullptr;
  LoadImageFile("STEINES.PIX", &sheet, nullptr);
  SetColourKey(sheet, 0);
  blockTiles[0][0] = ImageFromSurface(sheet, 0, 380, 20, 400);
  for (int i = 0; i < 7; ++i) {
    for (int j = 0; j < 17; ++j) {
      blockTiles[i + 1][j] = ImageFromSurface(sheet, 20 * j, 20 * i, 20 * j + 20, 20 * i + 20);
    }
  }
  wellSideBar = ImageFromSurface(sheet, 320, 0, 324, 460);
  wellBottomBar = ImageFromSurface(sheet, 324, 0, 532, 4);
  panelImage = ImageFromSurface(sheet, 0, 140, 160, 280);
  ReleaseSurface(sheet);
}

}  // namespace

bool LoadOptionsAndAssets() {
  ReadOptions();
  InitSoundEffects();
  soundEffectsUp = true;
  displayUp = true;
  font1 = MakeFont("FONT1.PIX");
  font2 = MakeFont("FONT2.PIX");
  LoadImageFile("HINTER.PIX", &backgroundImage, gamePalette);
  CutSheet();
  playerCount = 1;
  blobStyle = 0;
  players[0].losses = players[1].losses = 0;
  return true;
}

void SaveOptionsAndRelease() {
  WriteOptions();
  if (displayUp) SaveSettings();
  for (auto& row : blockTiles) {
    for (Image*& tile : row) DeleteImage(tile);
  }
  DeleteImage(wellSideBar);
  DeleteImage(wellBottomBar);
  DeleteImage(panelImage);
  ReleaseSurface(backgroundImage);
  DeleteFont(font2);
  DeleteFont(font1);
  if (soundEffectsUp) ReleaseSoundEffects();
  soundEffectsUp = false;
  if (displayUp) ShutdownDisplay();
  displayUp = false;
}
