// What the rule and play-screen tests share: a fresh match state for every
// test, pictures of known palette indices, a font whose glyphs can be read
// back, wells written as text, and a record of the effects played.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "game/player_state.h"

namespace game_test {

// Palette indices of the test pictures.
constexpr uint8_t kBackgroundIndex = 200;
constexpr uint8_t kEmptyTileIndex = 201;
constexpr uint8_t kSideBarIndex = 202;
constexpr uint8_t kBottomBarIndex = 203;
constexpr uint8_t kPanelIndex = 204;
// A block of colour k with mask m is one solid square of this index.
constexpr uint8_t TileIndex(int colour, int mask) { return static_cast<uint8_t>(20 * colour + mask); }
// Every glyph is a solid cell of this index (the space is see-through).
constexpr uint8_t GlyphIndex(char c) { return static_cast<uint8_t>(c - 32 + 100); }

// The key latches as the program starts with them (each fixture starts
// from these, as the first match of a run does).
using KeyLatches = std::array<uint8_t, 8>;
const KeyLatches& LatchesAtProgramStart();

// The effects played since the test began, by file name stem ("WURF", ...).
std::vector<std::string>& PlayedEffects();

// The game's own random sequence, computed here independently.
struct Lcg {
  uint32_t state;
  int32_t Next() {
    state = state * 1103515245u + 12345u;
    return static_cast<int32_t>((state >> 16) & 0x7FFF);
  }
};

// A seed whose next draws give these values of `RandomNext() % modulo + 1`.
uint32_t SeedGiving(std::initializer_list<int> values, int modulo = 7);

// Sets the bottom rows of a well from text, the last line being row 22:
// '.' empty, '1'..'7' a colour.
void SetBottomRows(PlayerState& p, std::initializer_list<const char*> rows);
// Row `row` of the well as text, in the same code.
std::string RowText(const PlayerState& p, int row);
// Places the piece of `type` (spawn orientation turned `turns` times).
void PlacePiece(PlayerState& p, int type, int x, int y, uint8_t colour = 0, int turns = 0);

class GameTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Advances the clock past the step gate and runs one game step.
  void Step();
  // Holds or releases a key for the steps that follow.
  void Hold(int key, bool held = true);
  // The palette index at (x, y) of the back buffer.
  uint8_t Pixel(int x, int y) const;
  // The characters drawn from (x, y) on, read back by glyph colour, one
  // per `advance` pixels; '?' for a cell no glyph covers.
  std::string TextAt(int x, int y, int length, int advance = 16) const;
  // Starts a match state by hand: records reset, first pieces spawned.
  void BeginMatch(int players, bool blob, uint32_t seed = 1);

  uint32_t now = 1000;
};

}  // namespace game_test
