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

// The front end's pictures: plain areas of one index each. The logo is
// see-through in its left 40 columns; each menu entry's strip (x 160..480,
// y 48 + 98 i .. 108 + 98 i) has a colour of its own.
constexpr uint8_t kTitle = 205;
constexpr uint8_t kLogo = 206;
constexpr uint8_t kClosingLogo = 207;
constexpr uint8_t kMenu1Back = 208;
constexpr uint8_t kMenu2Back = 209;
constexpr uint8_t Menu1Strip(int entry) { return static_cast<uint8_t>(210 + entry); }
constexpr uint8_t Menu2Strip(int entry) { return static_cast<uint8_t>(214 + entry); }

// Writes the game's data files into `dir`, all pictures with one palette
// in which every index has its own colour: FONT1.PIX, FONT2.PIX, HINTER.PIX,
// STEINES.PIX, PCBLOKS.PIX, TITELS.PIX, KVLOGO.PIX, MENU1.PIX, MENU2.PIX,
// SCROLL.TXT ("A", "B" and a line break) and a MUSIC.MDS whose one buffer
// lasts half a second.
void WriteDataFiles(const std::string& dir);
// The names of those files.
std::vector<std::string> DataFileNames();
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

struct RunOptions {
  std::string language = "C";  // LC_ALL and LANG of the run
  uint32_t maxMs = 0;          // 0: the script's last time + 20000
  std::string audioLog;        // file name for --audio-log, none if empty
  // Put before the program on its command line, e.g. to run it as another
  // user or in a namespace of its own.
  std::string wrapper;
};

// A wrapper that runs the program as an ordinary user when the tests run
// as root, so that file permissions hold for it; empty otherwise.
std::string AsOrdinaryUser();
// The programs the runs start: the native ones built with these tests, or
// the ones named by STAKKOR_E2E_PROGRAM and STAKKOR_E2E_MATCH_RUNNER (the
// web build's node programs run the same scripts that way). A named program
// that cannot be run fails the test.
std::string ProgramUnderTest();
std::string MatchRunnerUnderTest();

// Runs `program args` in `dir` with `script` as run.txt (its lines put in
// time order first), the options kept in `dir`, always with a --max-ms so
// that no run can hang. Returns the exit status: 0 for a normal end, 3 when
// the clock reached the limit.
int RunProgram(const std::string& dir, const std::string& program, const std::string& args, const std::string& script,
               const RunOptions& options = {});

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
// `skipAfterFirst` draws are left out after the first piece's: those of the
// other player's first piece in a two-player match.
Straight DropStraight(uint32_t seed, bool blob, int limit, int skipAfterFirst = 0);

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
// Script lines that hold `key` from `down` to `up`.
std::string Hold(uint32_t down, uint32_t up, const std::string& key);
// Script lines for one output at `time`: "shot" or "dump" of `file`.
std::string ShotAt(uint32_t time, const std::string& file);
std::string DumpAt(uint32_t time, const std::string& file);

// Texts as TextAt reads them: a see-through space shows as '?'.
std::string Spaced(std::string text);

// ---- the front end ----
// Space during the logo slide ends the title (the scroller sees it still
// held and ends at once); the menu starts when Space is up.
constexpr uint32_t kSkipTitleAt = 800;
constexpr uint32_t kMenuStart = kSkipTitleAt + 6;
std::string SkipTitle();
// The highlight pulses with the menu's passes, one a millisecond, and is
// widest (about 419 pixels) 360 passes into every 720. MenuPeak(k): the
// k-th widest moment of the first menu of a run.
constexpr uint32_t MenuPeak(int k) { return kMenuStart + 360 + 720 * static_cast<uint32_t>(k); }
// Which menu picture a shot shows and which entries are highlighted:
// "MENU1 3", "MENU2 0 2", "MENU1" (none), or "other" for no menu picture.
// Taken at a widest moment, a highlighted entry's stretched strip reaches
// beyond the picture's own strip on both sides.
std::string MenuState(const platform::RgbPicture& shot);
// Closing logo: Return at `time` ends it; its fade-out then ends the run.
std::string LeaveClosingLogo(uint32_t time);

// ---- HISCORE.DAT ----
struct HiscoreRow {
  int32_t points = 0;
  int32_t level = 0;
  int32_t rows = 0;
  std::string name;
};
// The file's 424 bytes for ten rows, with the checksum of the points and
// first name bytes.
std::string HiscoreFile(const std::vector<HiscoreRow>& rows);
// The rows of a file; `checksumOk` tells whether its checksum holds. Empty
// when the file is not 424 bytes long.
std::vector<HiscoreRow> ReadHiscoreFile(const std::string& bytes, bool* checksumOk);

}  // namespace e2e
