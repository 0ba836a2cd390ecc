#include "tests/e2e/e2e_support.h"

#include <sys/wait.h>
#include <unistd.h>

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

int RunProgram(const std::string& dir, const std::string& program, const std::string& args, const std::string& script) {
  std::ofstream(dir + "/run.txt") << script;
  const std::string command = "cd '" + dir + "' && XDG_CONFIG_HOME='" + dir + "' LC_ALL=C LANG=C '" + program + "' " +
                              args + " --headless --script run.txt >out.txt 2>err.txt";
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

Straight DropStraight(uint32_t seed, bool blob, int limit) {
  Straight run;
  Lcg lcg{seed};
  while (run.locks < limit) {
    const int type = lcg.Next() % 7 + 1;
    const int colour = blob ? lcg.Next() % 7 + 1 : type;
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

std::string Press(uint32_t time, const std::string& key) {
  return std::to_string(time - 3) + " down " + key + "\n" + std::to_string(time + 3) + " up " + key + "\n";
}

}  // namespace e2e
