#include "tools/assets/preview.h"

#include <cmath>
#include <cstdio>

#include "platform/png.h"
#include "tools/assets/blocks.h"

namespace assets {
namespace {

constexpr int kScreenWidth = 640, kScreenHeight = 480;

bool WriteScreen(const std::string& path, const IndexCanvas& screen, const Palette& palette) {
  platform::IndexedPicture picture;
  picture.width = screen.width;
  picture.height = screen.height;
  picture.pixels = screen.pixels;
  picture.palette.resize(768);
  for (int i = 0; i < 768; ++i) picture.palette[i] = static_cast<uint8_t>(palette.bytes[i] * 255 / 63);
  return platform::WritePngIndexed(path, picture);
}

// A well of 10 x 23 cells: 0 empty, 1..7 a block colour.
struct Well {
  int cells[10][23] = {};
};

// Rows from the bottom of the well, written as strings of '.' and digits.
Well MakeWell(std::initializer_list<const char*> rowsFromTop) {
  Well well;
  int r = 23 - static_cast<int>(rowsFromTop.size());
  for (const char* row : rowsFromTop) {
    for (int c = 0; c < 10; ++c) well.cells[c][r] = row[c] == '.' ? 0 : row[c] - '0';
    ++r;
  }
  return well;
}

int EdgeMask(const Well& well, int c, int r) {
  int k = well.cells[c][r], m = 0;
  if (r == 0 || well.cells[c][r - 1] != k) m |= kTopClosed;
  if (c == 9 || well.cells[c + 1][r] != k) m |= kRightClosed;
  if (r == 22 || well.cells[c][r + 1] != k) m |= kBottomClosed;
  if (c == 0 || well.cells[c - 1][r] != k) m |= kLeftClosed;
  return m;
}

IndexCanvas Tile(const IndexCanvas& sheet, int colour, int mask) {
  if (colour == 0) return sheet.Crop(kEmptyTileX, kEmptyTileY, kEmptyTileX + kTileSize, kEmptyTileY + kTileSize);
  return sheet.Crop(mask * kTileSize, (colour - 1) * kTileSize, mask * kTileSize + kTileSize, colour * kTileSize);
}

struct Piece {
  int colour = 0;
  int x = 0, y = 0;
  const char* shape[4] = {"....", "....", "....", "...."};
};

void DrawWell(IndexCanvas& screen, const IndexCanvas& sheet, const Well& well, const Piece& piece, int left) {
  const int top = 8;
  for (int c = 0; c < 10; ++c) {
    for (int r = 0; r < 23; ++r) {
      int k = well.cells[c][r];
      screen.Paste(Tile(sheet, k, k ? EdgeMask(well, c, r) : 0), left + 20 * c, top + 20 * r);
    }
  }
  if (piece.colour) {
    for (int j = 0; j < 4; ++j) {
      for (int i = 0; i < 4; ++i) {
        if (piece.shape[j][i] != '#') continue;
        auto in = [&](int a, int b) { return a >= 0 && b >= 0 && a < 4 && b < 4 && piece.shape[b][a] == '#'; };
        int m = (in(i, j - 1) ? 0 : kTopClosed) | (in(i + 1, j) ? 0 : kRightClosed) |
                (in(i, j + 1) ? 0 : kBottomClosed) | (in(i - 1, j) ? 0 : kLeftClosed);
        screen.Paste(Tile(sheet, piece.colour, m), left + 20 * (piece.x + i), top + 20 * (piece.y + j));
      }
    }
  }
  IndexCanvas side = sheet.Crop(kSideBarX, 0, kSideBarX + kSideBarWidth, kSideBarHeight);
  screen.Paste(side, left - 4, top);
  screen.Paste(side, left + 200, top);
  screen.Paste(sheet.Crop(kBottomBarX, 0, kBottomBarX + kBottomBarWidth, kBottomBarHeight), left - 4, top + 460);
}

const Well& SampleWellA() {
  static const Well well = MakeWell({
      "......3...",
      ".....33...",
      "1...5.3...",
      "11..55.662",
      "71...5.662",
      "77.44.4442",
      "73344.4122",
      "333.71111.",
      "6665772255",
      "6445722553",
      "7444411333",
  });
  return well;
}

const Well& SampleWellB() {
  static const Well well = MakeWell({
      "..4.......",
      "..44...1..",
      "2.24..511.",
      "22233.5561",
      "72233.6661",
      "777.514455",
      "6.1111.445",
      "66642.2233",
  });
  return well;
}

IndexCanvas PlayScreen(const Artwork& art, int players, bool blob, bool gameOver) {
  IndexCanvas screen = art.background;
  const IndexCanvas& f2 = art.font2;
  Piece t;
  t.colour = 7;
  t.x = 3;
  t.y = 2;
  t.shape[0] = ".#..";
  t.shape[1] = "###.";
  Piece s;
  s.colour = 5;
  s.x = 5;
  s.y = 4;
  s.shape[0] = "#...";
  s.shape[1] = "##..";
  s.shape[2] = ".#..";
  if (players == 1) {
    DrawWell(screen, art.sheet, SampleWellA(), gameOver ? Piece{} : t, 220);
    PrintPreviewText(f2, screen, blob ? 48 : 32, 14, blob ? "BLOB" : "NORMAL", 16, false);
    PrintPreviewText(f2, screen, 4, 42, "POINTS:  4170", 16, false);
    PrintPreviewText(f2, screen, 4, 70, "LEVEL:      3", 16, false);
    PrintPreviewText(f2, screen, 4, 98, "ROWS:      27", 16, false);
    const char* legend[7] = {"CONTROL KEYS", "ESC-QUIT", "LEFT-LEFT", "RIGHT-RIGHT", "DOWN-ROTATE", "CTRL-DROP",
                             "F1-CHANGE"};
    for (int i = 0; i < 7; ++i) PrintPreviewText(f2, screen, 436, 14 + 28 * i, legend[i], 16, false);
    if (gameOver) screen.Paste(art.sheet.Crop(kPanelX, kPanelY, kPanelX + kPanelWidth, kPanelY + kPanelHeight), 250, 148, true);
  } else {
    DrawWell(screen, art.sheet, SampleWellA(), t, 70);
    DrawWell(screen, art.sheet, SampleWellB(), gameOver ? Piece{} : s, 370);
    PrintPreviewText(f2, screen, blob ? 304 : 296, 14, blob ? "BLOB" : "NORMAL", 8, false);
    const char* left[13] = {"PTS:", "2380", "LVL:", "2", "ROWS:", "14", "", "CTRL", "A", "D", "SHFT", "S", "F1"};
    const char* right[13] = {"PTS:", "1975", "LVL:", "1", "ROWS:", "11", "", "CTRL", "LEFT", "RIGHT", "CTRL", "DOWN",
                             "F2"};
    for (int i = 0; i < 13; ++i) {
      PrintPreviewText(f2, screen, 8, 28 + 14 * i, left[i], 8, false);
      PrintPreviewText(f2, screen, 592, 28 + 14 * i, right[i], 8, false);
    }
    if (gameOver) screen.Paste(art.sheet.Crop(kPanelX, kPanelY, kPanelX + kPanelWidth, kPanelY + kPanelHeight), 400, 148, true);
  }
  return screen;
}

void FillBar(IndexCanvas& screen, int y0, int y1) {
  for (int k = 0; k < 16; ++k) screen.Fill(k, y0 + k, kScreenWidth - k, y1 - k, static_cast<uint8_t>(80 + k));
}

IndexCanvas HiscoreScreen(const Artwork& art) {
  IndexCanvas screen = art.background;
  const int h = 14, a = 16;
  const std::string heading = "POINTS LEVEL ROWS        PLAYER";
  int y = kScreenHeight / 2 - 10 * h;
  PrintPreviewText(art.font2, screen, kScreenWidth / 2 - a * static_cast<int>(heading.size()) / 2, y, heading, 16, false);
  const char* names[10] = {"ALICE", "NOONE", "BERND", "NOONE", "CAROLINE", "NOONE", "DIETER", "NOONE", "NOONE", "EVE"};
  const int points[10] = {12480, 9310, 4170, 950, 900, 850, 800, 750, 700, 650};
  for (int i = 0; i < 10; ++i) {
    int row = y + 2 * h * (i + 1);
    if (i == 2) FillBar(screen, row - h / 2, row + 3 * h / 2);
    char line[64];
    std::snprintf(line, sizeof line, "%5d %2d %3d %30s", points[i], i < 3 ? 9 - 3 * i : 0, i < 3 ? 80 - 25 * i : 0,
                  names[i]);
    int len = static_cast<int>(std::string(line).size());
    PrintPreviewText(art.font2, screen, kScreenWidth / 2 - 14 * len / 2, row, line, 14, false);
  }
  return screen;
}

IndexCanvas ResultScreen(const Artwork& art) {
  IndexCanvas screen = PlayScreen(art, 2, false, true);
  const int h = 14, a = 16, t = kScreenHeight / 3;
  FillBar(screen, t, t + 2 * h);
  FillBar(screen, 2 * t, 2 * t + 2 * h);
  const std::string one = "PLAYER 1 - 3", two = "PLAYER 2 - 5";
  PrintPreviewText(art.font1, screen, kScreenWidth / 2 - a * static_cast<int>(one.size()) / 2, t + h / 2, one, 16, false);
  PrintPreviewText(art.font1, screen, kScreenWidth / 2 - a * static_cast<int>(two.size()) / 2, 2 * t + h / 2, two, 16,
                   false);
  return screen;
}

IndexCanvas TitleScreen(const Artwork& art, int slideY, int scrollPos) {
  IndexCanvas screen = art.title;
  IndexCanvas logo = art.logo.Crop(0, 0, 640, 200);
  screen.Paste(logo, 0, slideY, true);
  const std::string text = "STAKKOR - THE BLOCKS ARE FALLING AGAIN!   Player 1: LEFT and RIGHT move the piece";
  std::string line = text.substr(static_cast<size_t>(scrollPos), 42);
  PrintPreviewText(art.font1, screen, 8, kScreenHeight - 14, line, 16, true);
  return screen;
}

IndexCanvas MenuScreen(const Artwork& art, int players, int selection, int width, int previousWidth) {
  IndexCanvas screen = players == 1 ? art.menu1 : art.menu2;
  const IndexCanvas& picture = players == 1 ? art.menu1 : art.menu2;
  for (int w : {previousWidth, width}) {
    if (w <= 0) continue;
    int x = kScreenWidth / 2 - w / 2, y = 48 + 98 * selection;
    for (int dy = 0; dy < 60; ++dy) {
      for (int dx = 0; dx < w; ++dx) {
        int sx = 160 + dx * 320 / w;
        screen.At(x + dx, y + dy) = picture.At(sx, y + dy);
      }
    }
  }
  return screen;
}

}  // namespace

void PrintPreviewText(const IndexCanvas& font, IndexCanvas& dest, int x, int y, const std::string& text, int advance,
                      bool opaque) {
  const int perRow = font.width / 16;
  for (size_t i = 0; i < text.size(); ++i) {
    int c = static_cast<unsigned char>(text[i]);
    if (c < 32 || c > 127) continue;
    int k = c - 32, sx = (k % perRow) * 16, sy = (k / perRow) * 14;
    int dx0 = x + static_cast<int>(i) * advance;
    // A cell that does not fit wholly is not drawn.
    if (dx0 < 0 || y < 0 || dx0 + advance > dest.width || y + 14 > dest.height) continue;
    for (int dy = 0; dy < 14; ++dy) {
      for (int dx = 0; dx < advance; ++dx) {
        uint8_t v = font.At(sx + dx * 16 / advance, sy + dy);
        if (v || opaque) dest.At(dx0 + dx, y + dy) = v;
      }
    }
  }
}

bool WritePreviews(const Artwork& art, const std::string& directory) {
  bool ok = true;
  auto write = [&](const char* name, const IndexCanvas& screen, const Palette& palette) {
    ok = WriteScreen(directory + "/" + name, screen, palette) && ok;
  };
  write("play1.png", PlayScreen(art, 1, false, false), art.gamePalette);
  write("play1_gameover.png", PlayScreen(art, 1, true, true), art.gamePalette);
  write("play2.png", PlayScreen(art, 2, true, false), art.gamePalette);
  write("play2_gameover.png", PlayScreen(art, 2, false, true), art.gamePalette);
  write("hiscore.png", HiscoreScreen(art), art.gamePalette);
  write("result.png", ResultScreen(art), art.gamePalette);
  write("title.png", TitleScreen(art, 104, 0), art.titlePalette);
  write("title_slide.png", TitleScreen(art, 24, 9), art.titlePalette);
  for (int i = 0; i < 4; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "menu1_entry%d.png", i);
    write(name, MenuScreen(art, 1, i, 300, 419), art.menuPalette);
  }
  write("menu2_entry2.png", MenuScreen(art, 2, 2, 260, 419), art.menuPalette);
  write("menu2_entry2_wide.png", MenuScreen(art, 2, 2, 419, 0), art.menuPalette);
  write("closing.png", art.closingLogo, art.closingPalette);
  // The sheet and the fonts as they are, on a grey that shows the see-through parts.
  write("sheet.png", art.sheet, art.gamePalette);
  return ok;
}

}  // namespace assets
