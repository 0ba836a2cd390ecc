// The hiscore table after one-player games, through the real program: a
// result that earns a place, the name typed for it, the file written back;
// and the texts of a German run.
#include <cstdio>

#include "tests/e2e/e2e_fixture.h"

namespace e2e {
namespace {

constexpr uint32_t kStart = 1000;

// The y of a table position's line (font2 cells 14 high, 2 lines apart).
constexpr int LineY(int position) { return 100 + 28 * (position + 1); }
// Table lines are 43 characters of 14 pixels, centred: "%5d %2d %3d %30s".
constexpr int kLineX = 320 - 14 * 43 / 2;
constexpr int CharX(int k) { return kLineX + 14 * k; }

using Hiscores = ProgramRun;

TEST_F(Hiscores, AResultThatEarnsAPlaceTakesATypedNameAndIsWrittenBack) {
  // A table of small results: 9 points down to 0.
  std::vector<HiscoreRow> before;
  for (int i = 0; i < 10; ++i) before.push_back({9 - i, i + 1, i + 10, std::string("NAME") + static_cast<char>('A' + i)});
  WriteFile("HISCORE.DAT", HiscoreFile(before));

  // Five pieces dropped give 5 points: past position 5's 4, not past the
  // 5 of position 4. Escape then ends the match.
  ASSERT_FALSE(DropStraight(kStart, false, 5).over);
  std::string script = SkipTitle() + Hold(kStart, kStart + 5, "RETURN");
  for (int step = 1; step <= 9; step += 2) script += Press(kStart + 26 * step, "CTRL");
  script += Press(kStart + 26 * 11, "ESCAPE");
  // "AB C", Backspace, "D": each press one character.
  uint32_t at = 1400;
  for (const char* key : {"A", "B", "SPACE", "C", "BACKSPACE", "D"}) {
    script += Hold(at, at + 5, key);
    at += 20;
  }
  script += ShotAt(1550, "entry.png") + DumpAt(1550, "entry.json") + Hold(1600, 1606, "RETURN") +
            ShotAt(1700, "table.png") + Hold(1800, 1806, "SPACE") + Hold(1900, 1906, "ESCAPE") + LeaveClosingLogo(2000);
  ASSERT_EQ(Run(script), 0) << Errors();

  const Json entry = Dump("entry.json");
  EXPECT_EQ(entry["players"][0]["points"].Int(), 5);
  EXPECT_EQ(entry["players"][0]["state"].Int(), 0);

  // The entry bar at position 5: colour 80 at its rim, one more a pixel
  // inwards (the 28-pixel bar has room for 14 of its 16 boxes).
  const platform::RgbPicture shot = Shot("entry.png");
  const int y = LineY(5);
  EXPECT_EQ(IndexAt(shot, 16, y - 8), kBackground);
  EXPECT_EQ(IndexAt(shot, 16, y + 21), kBackground);
  for (int k = 0; k < 14; ++k) {
    EXPECT_EQ(IndexAt(shot, 16, y - 7 + k), 80 + k) << k;
    EXPECT_EQ(IndexAt(shot, 16, y + 20 - k), 80 + k) << k;
    EXPECT_EQ(IndexAt(shot, k, y + 7), 80 + k) << k;
  }
  EXPECT_EQ(TextAt(shot, kLineX, y, 12, 14), Spaced("    5  0   0"));
  EXPECT_EQ(TextAt(shot, CharX(39), y, 4, 14), Spaced("AB D"));
  EXPECT_EQ(TextAt(shot, CharX(38), LineY(4), 5, 14), "NAMEE");
  EXPECT_EQ(TextAt(shot, CharX(38), LineY(6), 5, 14), "NAMEF");

  // After Return the table alone, the new line among the others.
  const platform::RgbPicture table = Shot("table.png");
  EXPECT_EQ(IndexAt(table, 16, y + 7), kBackground);
  EXPECT_EQ(TextAt(table, CharX(39), y, 4, 14), Spaced("AB D"));
  EXPECT_EQ(TextAt(table, kLineX, LineY(4), 12, 14), Spaced("    5  5  14"));
  EXPECT_EQ(TextAt(table, CharX(38), LineY(9), 5, 14), "NAMEI");

  bool checksumOk = false;
  const std::vector<HiscoreRow> after = ReadHiscoreFile(dir.Read("HISCORE.DAT"), &checksumOk);
  EXPECT_TRUE(checksumOk);
  ASSERT_EQ(after.size(), 10u);
  for (int i = 0; i < 10; ++i) {
    const HiscoreRow& expected = i < 5 ? before[i] : i == 5 ? HiscoreRow{5, 0, 0, "AB D"} : before[i - 1];
    EXPECT_EQ(after[i].points, expected.points) << i;
    EXPECT_EQ(after[i].level, expected.level) << i;
    EXPECT_EQ(after[i].rows, expected.rows) << i;
    EXPECT_EQ(after[i].name, expected.name) << i;
  }
}

TEST_F(Hiscores, ClosingTheWindowDuringTheNameEntryKeepsTheNameTypedSoFar) {
  std::vector<HiscoreRow> before;
  for (int i = 0; i < 10; ++i) before.push_back({9 - i, 0, 0, "OLD"});
  WriteFile("HISCORE.DAT", HiscoreFile(before));
  std::string script = SkipTitle() + Hold(kStart, kStart + 5, "RETURN");
  for (int step = 1; step <= 9; step += 2) script += Press(kStart + 26 * step, "CTRL");
  script += Press(kStart + 26 * 11, "ESCAPE") + Hold(1400, 1405, "A") + Hold(1420, 1425, "B") + "1500 close\n" +
            ShotAt(1600, "logo.png") + LeaveClosingLogo(1700);
  ASSERT_EQ(Run(script), 0) << Errors();
  EXPECT_EQ(IndexAt(Shot("logo.png"), 320, 240), kClosingLogo);
  bool checksumOk = false;
  const std::vector<HiscoreRow> after = ReadHiscoreFile(dir.Read("HISCORE.DAT"), &checksumOk);
  EXPECT_TRUE(checksumOk);
  ASSERT_EQ(after.size(), 10u);
  EXPECT_EQ(after[5].points, 5);
  EXPECT_EQ(after[5].name, "AB");
  EXPECT_EQ(after[9].points, 1);
}

TEST_F(Hiscores, AGermanRunShowsGermanTextsAndDefaultNames) {
  RunOptions german;
  german.language = "de_DE.UTF-8";
  const std::string script = SkipTitle() + Hold(kStart, kStart + 5, "RETURN") + DumpAt(kStart + 100, "play.json") +
                             ShotAt(kStart + 100, "play.png") + Press(kStart + 26 * 5, "ESCAPE") +
                             ShotAt(1400, "table.png") + Hold(1500, 1506, "ESCAPE") + Hold(1600, 1606, "ESCAPE") +
                             LeaveClosingLogo(1700);
  ASSERT_EQ(Run(script, german), 0) << Errors();
  EXPECT_EQ(Dump("play.json")["english"].Int(), 0);
  const platform::RgbPicture play = Shot("play.png");
  EXPECT_EQ(TextAt(play, 4, 42, 13), Spaced("PUNKTE:     0"));
  EXPECT_EQ(TextAt(play, 4, 98, 13), Spaced("REIHEN:     0"));

  const platform::RgbPicture table = Shot("table.png");
  EXPECT_EQ(TextAt(table, 64, 100, 32), Spaced("PUNKTE LEVEL REIHEN      SPIELER"));
  for (int i = 0; i < 10; ++i) {
    char line[64];
    std::snprintf(line, sizeof line, "%5d  0   0", 1000 - 50 * i);
    EXPECT_EQ(TextAt(table, kLineX, LineY(i), 12, 14), Spaced(line)) << i;
    EXPECT_EQ(TextAt(table, CharX(36), LineY(i), 7, 14), "NIEMAND") << i;
  }

  // The default table written: 7750 points and ten times the 'N'.
  const std::string file = dir.Read("HISCORE.DAT");
  bool checksumOk = false;
  const std::vector<HiscoreRow> rows = ReadHiscoreFile(file, &checksumOk);
  EXPECT_TRUE(checksumOk);
  ASSERT_EQ(rows.size(), 10u);
  EXPECT_EQ(rows[9].name, "NIEMAND");
  EXPECT_EQ(file.substr(420), std::string("\x52\x21\x00\x00", 4));  // 8530
}

}  // namespace
}  // namespace e2e
