#include "tests/e2e/e2e_support.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "media/pix_writer.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

// Every index its own colour: red from the high six bits, green from the
// low two, blue from a spread of the index.
void TestPalette(uint8_t palette[768]) {
  for (int i = 0; i < 256; ++i) {
    palette[3 * i] = static_cast<uint8_t>(i >> 2);
    palette[3 * i + 1] = static_cast<uint8_t>((i & 3) * 21);
    palette[3 * i + 2] = static_cast<uint8_t>((i * 37) & 63);
  }
}

// A 6-bit component as the screen shows it in 8 bits.
uint8_t Widen(uint8_t v) { return static_cast<uint8_t>((v << 2) | (v >> 4)); }

void WritePix(const std::string& path, int width, int height, const std::vector<uint8_t>& pixels) {
  uint8_t palette[768];
  TestPalette(palette);
  const std::vector<uint8_t> file = EncodePixFile(width, height, pixels.data(), palette);
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                              static_cast<std::streamsize>(file.size()));
}

void FillRect(std::vector<uint8_t>& pixels, int width, int x0, int y0, int x1, int y1, uint8_t index) {
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) pixels[static_cast<size_t>(y) * width + x] = index;
  }
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void PutU32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>(v >> (8 * i));
}

uint32_t GetU32(const std::string& in, size_t at) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= uint32_t{static_cast<uint8_t>(in[at + i])} << (8 * i);
  return v;
}

// A MIDI stream file of one buffer: a note, then nothing for 480 ticks
// (half a second at the default tempo), played in a loop by the game.
std::string MusicFile() {
  std::string events;
  for (uint32_t v : {0u, 0u, 0x00643C90u, 480u, 0u, 0x02000000u}) PutU32(events, v);
  std::string data;
  PutU32(data, 1);  // buffers
  PutU32(data, 0);  // start tick
  PutU32(data, static_cast<uint32_t>(events.size()));
  data += events;
  std::string inner = "MIDSfmt ";
  PutU32(inner, 12);
  for (uint32_t v : {480u, 1024u, 0u}) PutU32(inner, v);  // ticks a quarter, buffer size, flags
  inner += "data";
  PutU32(inner, static_cast<uint32_t>(data.size()));
  inner += data;
  std::string file = "RIFF";
  PutU32(file, static_cast<uint32_t>(inner.size()));
  return file + inner;
}

void WriteMenu(const std::string& path, uint8_t back, uint8_t (*strip)(int)) {
  std::vector<uint8_t> menu(640 * 480, back);
  for (int i = 0; i < 4; ++i) FillRect(menu, 640, 160, 48 + 98 * i, 480, 108 + 98 * i, strip(i));
  WritePix(path, 640, 480, menu);
}

uint8_t Menu1StripOf(int entry) { return Menu1Strip(entry); }
uint8_t Menu2StripOf(int entry) { return Menu2Strip(entry); }

// ---- a small JSON reader, enough for the dump ----
struct Reader {
  const std::string& s;
  size_t at = 0;
  bool ok = true;

  void Space() {
    while (at < s.size() && std::strchr(" \t\r\n", s[at])) ++at;
  }
  bool Eat(char c) {
    Space();
    if (at < s.size() && s[at] == c) {
      ++at;
      return true;
    }
    return false;
  }
  std::string String() {
    std::string text;
    if (!Eat('"')) {
      ok = false;
      return text;
    }
    while (at < s.size() && s[at] != '"') text += s[at++];
    ++at;
    return text;
  }
  Json Value() {
    Json v;
    Space();
    if (at >= s.size()) {
      ok = false;
    } else if (s[at] == '"') {
      v.kind = Json::Kind::String;
      v.text = String();
    } else if (s[at] == '[') {
      ++at;
      v.kind = Json::Kind::Array;
      if (!Eat(']')) {
        do v.items.push_back(Value());
        while (ok && Eat(','));
        ok = ok && Eat(']');
      }
    } else if (s[at] == '{') {
      ++at;
      v.kind = Json::Kind::Object;
      if (!Eat('}')) {
        do {
          std::string name = String();
          ok = ok && Eat(':');
          v.fields[name] = Value();
        } while (ok && Eat(','));
        ok = ok && Eat('}');
      }
    } else if (s.compare(at, 4, "null") == 0) {
      at += 4;
    } else {
      char* end = nullptr;
      v.kind = Json::Kind::Number;
      v.number = std::strtoll(s.c_str() + at, &end, 10);
      if (end == s.c_str() + at) ok = false;
      at = static_cast<size_t>(end - s.c_str());
    }
    return v;
  }
};

const Json& NullJson() {
  static const Json null;
  return null;
}

// Shapes row by row, as the game's table has them.
const char* const kShapes[8] = {
    "................", ".....XX..XX.....", ".....XX.XX......", "....XX...XX.....",
    ".....XXX.X......", "....XXX...X.....", "....XXXX........", ".....XXX..X.....",
};

}  // namespace

void WriteDataFiles(const std::string& dir) {
  std::vector<uint8_t> background(640 * 480, kBackground);
  WritePix(dir + "/HINTER.PIX", 640, 480, background);

  std::vector<uint8_t> sheet(532 * 460, 0);
  for (int k = 1; k <= 7; ++k) {
    for (int v = 0; v < 17; ++v) FillRect(sheet, 532, 20 * v, 20 * (k - 1), 20 * v + 20, 20 * k, TileIndex(k, v));
  }
  FillRect(sheet, 532, 0, 380, 20, 400, kEmptyTile);
  FillRect(sheet, 532, 320, 0, 324, 460, kSideBar);
  FillRect(sheet, 532, 324, 0, 532, 4, kBottomBar);
  FillRect(sheet, 532, 0, 140, 160, 280, kPanel);
  WritePix(dir + "/STEINES.PIX", 532, 460, sheet);

  // 16 characters a row from the space; the space's cell stays see-through.
  std::vector<uint8_t> font(256 * 84, 0);
  for (int c = 33; c < 128; ++c) {
    const int cell = c - 32;
    FillRect(font, 256, (cell % 16) * 16, (cell / 16) * 14, (cell % 16) * 16 + 16, (cell / 16) * 14 + 14,
             GlyphIndex(static_cast<char>(c)));
  }
  WritePix(dir + "/FONT1.PIX", 256, 84, font);
  WritePix(dir + "/FONT2.PIX", 256, 84, font);

  std::vector<uint8_t> logo(640 * 200, kLogo);
  FillRect(logo, 640, 0, 0, 40, 200, 0);
  WritePix(dir + "/PCBLOKS.PIX", 640, 200, logo);
  WritePix(dir + "/TITELS.PIX", 640, 480, std::vector<uint8_t>(640 * 480, kTitle));
  WritePix(dir + "/KVLOGO.PIX", 640, 480, std::vector<uint8_t>(640 * 480, kClosingLogo));
  WriteMenu(dir + "/MENU1.PIX", kMenu1Back, Menu1StripOf);
  WriteMenu(dir + "/MENU2.PIX", kMenu2Back, Menu2StripOf);
  WriteBytes(dir + "/SCROLL.TXT", "A\nB");
  WriteBytes(dir + "/MUSIC.MDS", MusicFile());
}

std::vector<std::string> DataFileNames() {
  return {"FONT1.PIX",  "FONT2.PIX", "HINTER.PIX", "STEINES.PIX", "PCBLOKS.PIX", "TITELS.PIX",
          "KVLOGO.PIX", "MENU1.PIX", "MENU2.PIX",  "SCROLL.TXT",  "MUSIC.MDS"};
}

int IndexAt(const platform::RgbPicture& shot, int x, int y) {
  static const std::map<uint32_t, int> byColour = [] {
    uint8_t palette[768];
    TestPalette(palette);
    std::map<uint32_t, int> map;
    for (int i = 0; i < 256; ++i) {
      const uint32_t rgb = (uint32_t{Widen(palette[3 * i])} << 16) | (uint32_t{Widen(palette[3 * i + 1])} << 8) |
                           Widen(palette[3 * i + 2]);
      map[rgb] = i;
    }
    return map;
  }();
  if (x < 0 || y < 0 || x >= shot.width || y >= shot.height) return -1;
  const uint8_t* p = shot.rgb.data() + (static_cast<size_t>(y) * shot.width + x) * 3;
  auto found = byColour.find((uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2]);
  return found == byColour.end() ? -1 : found->second;
}

ScratchDir::ScratchDir() {
  char pattern[] = "/tmp/stakkor-e2e-XXXXXX";
  if (::mkdtemp(pattern)) path_ = pattern;
}

ScratchDir::~ScratchDir() {
  if (!path_.empty() && !std::getenv("STAKKOR_KEEP_E2E")) fs::remove_all(path_);
}

std::string ScratchDir::Read(const std::string& name) const {
  std::ifstream in(path_ + "/" + name, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string AsOrdinaryUser() {
  return ::geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups" : "";
}

namespace {

std::string ChosenProgram(const char* variable, const char* builtWithTests) {
  const char* chosen = std::getenv(variable);
  if (!chosen || !*chosen) return builtWithTests;
  if (::access(chosen, X_OK) != 0) ADD_FAILURE() << variable << " names " << chosen << ", which cannot be run";
  return chosen;
}

}  // namespace

std::string ProgramUnderTest() { return ChosenProgram("STAKKOR_E2E_PROGRAM", STAKKOR_PROGRAM); }
std::string MatchRunnerUnderTest() { return ChosenProgram("STAKKOR_E2E_MATCH_RUNNER", MATCH_RUNNER); }

int RunProgram(const std::string& dir, const std::string& program, const std::string& args, const std::string& script,
               const RunOptions& options) {
  // Lines in time order (the order of equal times kept), as the harness
  // wants them; the script builders may give them in any order.
  std::vector<std::pair<unsigned long, std::string>> lines;
  std::istringstream in(script);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty()) lines.emplace_back(std::strtoul(line.c_str(), nullptr, 10), line);
  }
  std::stable_sort(lines.begin(), lines.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::string text;
  for (const auto& line : lines) text += line.second + "\n";
  std::ofstream(dir + "/run.txt") << text;

  const unsigned long last = lines.empty() ? 0 : lines.back().first;
  const unsigned long maxMs = options.maxMs ? options.maxMs : last + 20000;
  std::string flags = " --headless --script run.txt --max-ms " + std::to_string(maxMs);
  if (!options.audioLog.empty()) flags += " --audio-log '" + options.audioLog + "'";
  // The run's directory is both places of the game's files, so only the
  // test's own data is found there.
  const std::string command = "cd '" + dir + "' && XDG_CONFIG_HOME='" + dir + "' STAKKOR_DATA_DIR='" + dir +
                              "' LC_ALL='" + options.language +
                              "' LANG='" + options.language + "' " + options.wrapper + " '" + program + "' " + args + flags +
                              " >out.txt 2>err.txt";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

const Json& Json::operator[](const std::string& name) const {
  auto found = fields.find(name);
  return found == fields.end() ? NullJson() : found->second;
}

const Json& Json::operator[](size_t index) const { return index < items.size() ? items[index] : NullJson(); }

Json ParseJson(const std::string& text) {
  Reader reader{text};
  Json value = reader.Value();
  return reader.ok ? value : Json{};
}

std::string Well::Digits() const {
  std::string text;
  for (uint8_t v : cells) text += static_cast<char>('0' + v);
  return text;
}

Piece NewPiece(int type, int colour) {
  Piece piece;
  piece.type = type;
  piece.colour = colour;
  for (int j = 0; j < 4; ++j) {
    for (int i = 0; i < 4; ++i) piece.blocks[i][j] = kShapes[type][j * 4 + i] == 'X';
  }
  return piece;
}

bool Fits(const Well& well, const Piece& piece, int x, int y) {
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      if (!piece.blocks[i][j]) continue;
      const int c = x + i, r = y + j;
      if (c < 0 || c > 9 || r > 22) return false;
      if (r >= 0 && well.At(c, r)) return false;
    }
  }
  return true;
}

void DropAndLock(Well& well, Piece& piece) {
  while (Fits(well, piece, piece.x, piece.y + 1)) ++piece.y;
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      if (piece.blocks[i][j] && piece.y + j >= 0) well.At(piece.x + i, piece.y + j) = static_cast<uint8_t>(piece.colour);
    }
  }
}

void CollapseAll(Well& well) {
  for (int c = 0; c < 10; ++c) {
    std::vector<uint8_t> blocks;
    for (int r = 0; r < 23; ++r) {
      if (well.At(c, r)) blocks.push_back(well.At(c, r));
    }
    for (int r = 0; r < 23; ++r) {
      const int from = r - (23 - static_cast<int>(blocks.size()));
      well.At(c, r) = from >= 0 ? blocks[static_cast<size_t>(from)] : 0;
    }
  }
}

int LargestGroup(const Well& well) {
  int largest = 0;
  bool seen[230] = {};
  for (int start = 0; start < 230; ++start) {
    if (seen[start] || !well.cells[start]) continue;
    std::vector<int> stack{start};
    seen[start] = true;
    int size = 0;
    while (!stack.empty()) {
      const int at = stack.back();
      stack.pop_back();
      ++size;
      const int c = at / 23, r = at % 23;
      const int next[4][2] = {{c - 1, r}, {c + 1, r}, {c, r - 1}, {c, r + 1}};
      for (const auto& n : next) {
        if (n[0] < 0 || n[0] > 9 || n[1] < 0 || n[1] > 22) continue;
        const int index = n[0] * 23 + n[1];
        if (!seen[index] && well.cells[index] == well.cells[start]) {
          seen[index] = true;
          stack.push_back(index);
        }
      }
    }
    if (size > largest) largest = size;
  }
  return largest;
}

bool AnyRowFull(const Well& well) {
  for (int r = 0; r < 23; ++r) {
    bool full = true;
    for (int c = 0; c < 10; ++c) full = full && well.At(c, r);
    if (full) return true;
  }
  return false;
}

Straight DropStraight(uint32_t seed, bool blob, int limit, int skipAfterFirst) {
  Straight run;
  Lcg lcg{seed};
  while (run.locks < limit) {
    const int type = lcg.Next() % 7 + 1;
    const int colour = blob ? lcg.Next() % 7 + 1 : type;
    if (run.locks == 0) {
      for (int k = 0; k < skipAfterFirst; ++k) lcg.Next();
    }
    Piece piece = NewPiece(type, colour);
    run.last = piece;
    if (!Fits(run.well, piece, 3, -1)) {
      run.over = true;
      break;
    }
    piece.y = -1;
    run.last = piece;
    DropAndLock(run.well, piece);
    if (blob) CollapseAll(run.well);
    ++run.locks;
  }
  run.seed = lcg.state;
  return run;
}

int WellMask(const Well& well, int c, int r) {
  const uint8_t k = well.At(c, r);
  int mask = 0;
  if (r == 0 || well.At(c, r - 1) != k) mask |= 1;
  if (c == 9 || well.At(c + 1, r) != k) mask |= 2;
  if (r == 22 || well.At(c, r + 1) != k) mask |= 4;
  if (c == 0 || well.At(c - 1, r) != k) mask |= 8;
  return mask;
}

int ExpectedCellIndex(const Json& player, int c, int r) {
  Well well;
  const std::string& digits = player["well"].text;
  for (size_t k = 0; k < 230 && k < digits.size(); ++k) well.cells[k] = static_cast<uint8_t>(digits[k] - '0');
  const std::string& cells = player["pieceCells"].text;
  auto block = [&](int i, int j) {
    return i >= 0 && i < 4 && j >= 0 && j < 4 && cells.size() == 16 && cells[static_cast<size_t>(i * 4 + j)] == '1';
  };
  const int i = c - player["pieceX"].Int(), j = r - player["pieceY"].Int();
  if (block(i, j)) {
    const int mask = (block(i, j - 1) ? 0 : 1) | (block(i + 1, j) ? 0 : 2) | (block(i, j + 1) ? 0 : 4) |
                     (block(i - 1, j) ? 0 : 8);
    return TileIndex(player["pieceColour"].Int(), mask);
  }
  const uint8_t k = well.At(c, r);
  return k ? TileIndex(k, WellMask(well, c, r)) : kEmptyTile;
}

std::string CompareWellWithShot(const Json& player, const platform::RgbPicture& shot, int left, bool panel) {
  std::string report;
  int mismatches = 0;
  for (int c = 0; c < 10; ++c) {
    for (int r = 0; r < 23; ++r) {
      const int x = left + 20 * c + 10, y = 8 + 20 * r + 10;
      const bool underPanel = panel && x >= left + 30 && x < left + 190 && y >= 148 && y < 288;
      const int expected = underPanel ? kPanel : ExpectedCellIndex(player, c, r);
      const int seen = IndexAt(shot, x, y);
      if (seen != expected && ++mismatches <= 5) {
        report += "cell (" + std::to_string(c) + ", " + std::to_string(r) + "): expected " +
                  std::to_string(expected) + ", shown " + std::to_string(seen) + "\n";
      }
    }
  }
  return report;
}

std::string TextAt(const platform::RgbPicture& shot, int x, int y, int length, int advance) {
  std::string text;
  for (int k = 0; k < length; ++k) {
    const int index = IndexAt(shot, x + k * advance + advance / 2, y + 7);
    text += index >= 100 && index < 196 ? static_cast<char>(index - 100 + 32) : '?';
  }
  return text;
}

std::string Press(uint32_t time, const std::string& key) { return Hold(time - 3, time + 3, key); }

std::string Hold(uint32_t down, uint32_t up, const std::string& key) {
  return std::to_string(down) + " down " + key + "\n" + std::to_string(up) + " up " + key + "\n";
}

std::string ShotAt(uint32_t time, const std::string& file) { return std::to_string(time) + " shot " + file + "\n"; }
std::string DumpAt(uint32_t time, const std::string& file) { return std::to_string(time) + " dump " + file + "\n"; }

std::string Spaced(std::string text) {
  for (char& c : text) c = c == ' ' ? '?' : c;
  return text;
}

std::string SkipTitle() { return Hold(kSkipTitleAt, kMenuStart, "SPACE"); }

std::string MenuState(const platform::RgbPicture& shot) {
  const int back = IndexAt(shot, 20, 20);
  if (back != kMenu1Back && back != kMenu2Back) return "other";
  const bool one = back == kMenu1Back;
  std::string state = one ? "MENU1" : "MENU2";
  for (int i = 0; i < 4; ++i) {
    const int strip = one ? Menu1Strip(i) : Menu2Strip(i), y = 48 + 98 * i + 30;
    const int left = IndexAt(shot, 120, y), right = IndexAt(shot, 519, y);
    if (IndexAt(shot, 320, y) != strip) return "other";
    if (left == strip && right == strip) {
      state += " " + std::to_string(i);
    } else if (left != back || right != back) {
      return "other";
    }
  }
  return state;
}

std::string LeaveClosingLogo(uint32_t time) { return Hold(time, time + 6, "RETURN"); }

std::string HiscoreFile(const std::vector<HiscoreRow>& rows) {
  std::string bytes;
  uint32_t sum = 0;
  for (size_t i = 0; i < 10; ++i) {
    const HiscoreRow row = i < rows.size() ? rows[i] : HiscoreRow{};
    PutU32(bytes, static_cast<uint32_t>(row.points));
    PutU32(bytes, static_cast<uint32_t>(row.level));
    PutU32(bytes, static_cast<uint32_t>(row.rows));
    std::string name = row.name.substr(0, 29);
    name.resize(30, '\0');
    bytes += name;
    sum += static_cast<uint32_t>(row.points) + static_cast<uint8_t>(name[0]);
  }
  PutU32(bytes, sum);
  return bytes;
}

std::vector<HiscoreRow> ReadHiscoreFile(const std::string& bytes, bool* checksumOk) {
  std::vector<HiscoreRow> rows;
  if (checksumOk) *checksumOk = false;
  if (bytes.size() != 424) return rows;
  uint32_t sum = 0;
  for (size_t i = 0; i < 10; ++i) {
    const size_t at = 42 * i;
    HiscoreRow row;
    row.points = static_cast<int32_t>(GetU32(bytes, at));
    row.level = static_cast<int32_t>(GetU32(bytes, at + 4));
    row.rows = static_cast<int32_t>(GetU32(bytes, at + 8));
    const std::string name = bytes.substr(at + 12, 30);
    row.name = name.substr(0, name.find('\0'));
    sum += static_cast<uint32_t>(row.points) + static_cast<uint8_t>(name[0]);
    rows.push_back(row);
  }
  if (checksumOk) *checksumOk = sum == GetU32(bytes, 420);
  return rows;
}

}  // namespace e2e
