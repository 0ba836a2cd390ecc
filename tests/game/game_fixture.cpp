#include "tests/game/game_fixture.h"

#include <cstring>

#include "game/game_tick.h"
#include "game/match_flags.h"
#include "game/pieces.h"
#include "game/play_assets.h"
#include "game/random.h"
#include "gfx/display.h"
#include "media/sound_effects.h"
#include "platform/headless/headless_backend.h"

namespace game_test {
namespace {

Surface* SolidSurface(int width, int height, uint8_t index) {
  Surface* surface = CreateSurface(width, height);
  std::memset(surface->Pixels(), index, static_cast<size_t>(width) * height);
  return surface;
}

Image* SolidImage(int width, int height, uint8_t index) {
  Surface* source = SolidSurface(width, height, index);
  Image* image = new Image(source, 0, 0, width, height);
  ReleaseSurface(source);
  return image;
}

// 16 glyphs a row, six rows: characters 32 to 127.
BitmapFont* TestFont() {
  auto* font = new BitmapFont{};
  font->surface = CreateSurface(16 * 16, 14 * 6);
  for (int c = 33; c < 128; ++c) {
    const int cell = c - 32, left = (cell % 16) * 16, top = (cell / 16) * 14;
    for (int y = 0; y < 14; ++y) std::memset(font->surface->Row(top + y) + left, GlyphIndex(static_cast<char>(c)), 16);
  }
  font->surface->SetColourKey(0);
  font->glyphsPerRow = 16;
  font->cellWidth = font->advance = 16;
  font->cellHeight = font->drawHeight = 14;
  return font;
}

void MakeAssets() {
  if (backgroundImage) return;
  backgroundImage = SolidSurface(640, 480, kBackgroundIndex);
  blockTiles[0][0] = SolidImage(20, 20, kEmptyTileIndex);
  for (int k = 1; k <= 7; ++k) {
    for (int m = 0; m < 17; ++m) blockTiles[k][m] = SolidImage(20, 20, TileIndex(k, m));
  }
  wellSideBar = SolidImage(4, 460, kSideBarIndex);
  wellBottomBar = SolidImage(208, 4, kBottomBarIndex);
  panelImage = SolidImage(160, 140, kPanelIndex);
  font2 = TestFont();
}

uint8_t CellCode(char c) { return c == '.' ? 0 : static_cast<uint8_t>(c - '0'); }

// Every effect the game plays, by the stem of its file name ("WURF").
void RecordEffect(const char* fileName) {
  std::string stem = fileName;
  PlayedEffects().push_back(stem.substr(0, stem.find('.')));
}

}  // namespace

// Copied during the program's start-up, before any test runs: the latches
// are constant data of the program, so this sees the values it starts with.
const KeyLatches latchesAtStart = [] {
  KeyLatches copy;
  std::memcpy(copy.data(), keyLatch, sizeof keyLatch);
  return copy;
}();

const KeyLatches& LatchesAtProgramStart() { return latchesAtStart; }

std::vector<std::string>& PlayedEffects() {
  static std::vector<std::string> effects;
  return effects;
}

uint32_t SeedGiving(std::initializer_list<int> values, int modulo) {
  for (uint32_t candidate = 0;; ++candidate) {
    Lcg lcg{candidate};
    bool all = true;
    for (int v : values) all = all && lcg.Next() % modulo + 1 == v;
    if (all) return candidate;
  }
}

void SetBottomRows(PlayerState& p, std::initializer_list<const char*> rows) {
  int row = kWellRows - static_cast<int>(rows.size());
  for (const char* text : rows) {
    for (int c = 0; c < kWellColumns; ++c) p.well[WellIndex(c, row)] = CellCode(text[c]);
    ++row;
  }
}

std::string RowText(const PlayerState& p, int row) {
  std::string text;
  for (int c = 0; c < kWellColumns; ++c) {
    const uint8_t v = p.well[WellIndex(c, row)];
    text += v ? static_cast<char>('0' + v) : '.';
  }
  return text;
}

void PlacePiece(PlayerState& p, int type, int x, int y, uint8_t colour, int turns) {
  LoadShape(p, type);
  for (int t = 0; t < turns; ++t) {
    uint8_t turned[kBoxCells];
    TurnBox(p.pieceCells, turned);
    std::memcpy(p.pieceCells, turned, sizeof turned);
  }
  p.pieceX = x;
  p.pieceY = y;
  p.pieceColour = colour ? colour : static_cast<uint8_t>(type);
}

void GameTest::SetUp() {
  platform::headless::StartForTests();
  if (!backBuffer) {
    ASSERT_EQ(InitDisplay("Stakkorx", 8, 640, 480, 640, 480), 1);
  }
  MakeAssets();
  players[0] = PlayerState{};
  players[1] = PlayerState{};
  players[0].index = 0;
  players[1].index = 1;
  players[0].state = players[1].state = kPlaying;
  playerCount = 1;
  blobStyle = 0;
  english = 1;
  RandomSeed(1);
  std::memcpy(keyLatch, LatchesAtProgramStart().data(), sizeof keyLatch);
  gravityCountdown = 38;
  screenDirty = 0;
  pauseCheckHook = nullptr;
  platform::headless::SetClock(now);
  lastTickTime = now;
  SetEffectListener(RecordEffect);
  PlayedEffects().clear();
}

void GameTest::TearDown() {
  pauseCheckHook = nullptr;
  SetEffectListener(nullptr);
}

void GameTest::Step() {
  now += 26;
  platform::headless::SetClock(now);
  GameTick();
}

void GameTest::Hold(int key, bool held) { platform::headless::SetKeyHeld(key, held); }

uint8_t GameTest::Pixel(int x, int y) const { return backBuffer->Row(y)[x]; }

std::string GameTest::TextAt(int x, int y, int length, int advance) const {
  std::string text;
  for (int k = 0; k < length; ++k) {
    const uint8_t v = Pixel(x + k * advance + advance / 2, y + 7);
    text += v >= 100 && v < 196 ? static_cast<char>(v - 100 + 32) : '?';
  }
  return text;
}

void GameTest::BeginMatch(int count, bool blob, uint32_t seedValue) {
  playerCount = count;
  blobStyle = blob ? 1 : 0;
  RandomSeed(seedValue);
  for (int p = 0; p < count; ++p) {
    players[p].index = p;
    players[p].controlHandler = count == 2 && p == 0 ? ControlHandler::LetterKeysShiftDrop
                                                     : ControlHandler::ArrowKeysDownRotate;
    SpawnPiece(players[p]);
  }
  players[0].state = players[1].state = kPlaying;
  gravityCountdown = 9;
  PlayedEffects().clear();
}

}  // namespace game_test
