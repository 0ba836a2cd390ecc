// What the end-to-end tests share: data files of known colours written by
// the test, runs of a program in a scratch directory, the state dump read
// as JSON, and a small model of the rules worked out here on its own.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/png.h"

namespace e2e {

// ---- test data files ----
// Palette indices of the pictures the tests write.
constexpr uint8_t kBackground = 200;
constexpr uint8_t kEmptyTile = 201;
constexpr uint8_t kSideBar = 202;
constexpr uint8_t kBottomBar = 203;
constexpr uint8_t kPanel = 204;
constexpr uint8_t TileIndex(int colour, int mask) { return static_cast<uint8_t>(20 * colour + mask); }
// Glyphs are solid cells, one palette index per character.
constexpr uint8_t GlyphIndex(char c) { return static_cast<uint8_t>(c - 32 + 100); }

// Writes FONT1.PIX, FONT2.PIX, HINTER.PIX and STEINES.PIX into `dir`, all
// with one palette in which every index has its own colour.
void WriteDataFiles(const std::string& dir);
// The palette index a screenshot pixel shows, or -1 for a colour of none.
int IndexAt(const platform::RgbPicture& shot, int x, int y);

// ---- runs ----
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::string& Path() const { return path_; }
  std::string Read(const std::string& name) const;

 private:
  std::string path_;
};

// Runs `program args` in `dir` with `script` as run.txt, the options kept
// in `dir`, English texts. Returns the exit status.
int RunProgram(const std::string& dir, const std::string& program, const std::string& args, const std::string& script);

// ---- the state dump ----
struct Json {
  enum class Kind { Null, Number, String, Array, Object } kind = Kind::Null;
  long long number = 0;
  std::string text;
  std::vector<Json> items;
  std::map<std::string, Json> fields;

  const Json& operator[](const std::string& name) const;
  const Json& operator[](size_t index) const;
  int Int() const { return static_cast<int>(number); }
  bool IsNull() const { return kind == Kind::Null; }
};
// Parses a dump; a malformed text gives a Null value.
Json ParseJson(const std::string& text);

// ---- the model ----
struct Lcg {
  uint32_t state;
  int32_t Next() {
    state = state * 1103515245u + 12345u;
    return static_cast<int32_t>((state >> 16) & 0x7FFF);
  }
};

struct Well {
  uint8_t cells[230] = {};
  uint8_t& At(int c, int r) { return cells[c * 23 + r]; }
  uint8_t At(int c, int r) const { return cells[c * 23 + r]; }
  std::string Digits() const;  // as the dump writes it
};

struct Piece {
  int type = 0;
  int colour = 0;
  int x = 3;
  int y = -2;
  bool blocks[4][4] = {};  // [i][j]: box column i, row j
};

// A new piece of the shape `type`, as it stands before its first step.
Piece NewPiece(int type, int colour);
bool Fits(const Well& well, const Piece& piece, int x, int y);
// Drops the piece straight down from where it stands and writes it into
// the well (blocks above the well are lost).
void DropAndLock(Well& well, Piece& piece);
void CollapseAll(Well& well);
// Size of the largest group of one colour (side neighbours only).
int LargestGroup(const Well& well);
bool AnyRowFull(const Well& well);

// Straight drops from the spawn place until a spawn is blocked or `limit`
// pieces have been locked, drawing pieces as the game does.
struct Straight {
  Well well;
  int locks = 0;
  bool over = false;
  Piece last;  // the piece standing when the run stopped
  uint32_t seed = 0;
};
Straight DropStraight(uint32_t seed, bool blob, int limit);

// Edge masks as the screen draws them: 1 top, 2 right, 4 bottom, 8 left.
int WellMask(const Well& well, int c, int r);

// The palette index the play screen must show at the middle of cell (c, r),
// from the well and piece of a dumped player record.
int ExpectedCellIndex(const Json& player, int c, int r);

// Compares every well cell of a dumped player with the screenshot of a
// board at `left`; cells under a game-over panel must show the panel.
// Returns a description of the first mismatches, empty when all agree.
std::string CompareWellWithShot(const Json& player, const platform::RgbPicture& shot, int left, bool panel);

// The characters of a text drawn at (x, y) with glyphs `advance` wide; '?'
// where no glyph is.
std::string TextAt(const platform::RgbPicture& shot, int x, int y, int length, int advance = 16);

// Script lines that press `key` so that the game step at `time` sees it
// down and the next one sees it up.
std::string Press(uint32_t time, const std::string& key);

}  // namespace e2e
