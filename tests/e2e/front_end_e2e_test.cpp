// The screens around the matches, through the real program: the title with
// its logo slide and scroller, the menu, and the closing logo.
#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/e2e_fixture.h"

namespace e2e {
namespace {

using FrontEnd = ProgramRun;

// The scroller line at the bottom of a shot: its characters up to the last
// one drawn, or "-" while nothing of it shows. '#' marks a pixel that is
// neither a glyph nor the opaque background of a space.
std::string ScrollerLine(const platform::RgbPicture& shot) {
  constexpr int kY = 466 + 7;
  if (IndexAt(shot, 16, kY) == kTitle) return "-";
  std::string line;
  for (int k = 0; k < 39; ++k) {
    const int index = IndexAt(shot, 8 + 16 * k + 8, kY);
    line += index >= 100 && index < 196 ? static_cast<char>(index - 100 + 32) : index == 0 ? ' ' : '#';
  }
  // Left of the line and where a 40th character would not fit whole, the
  // title picture stays.
  if (IndexAt(shot, 4, kY) != kTitle || IndexAt(shot, 636, kY) != kTitle) line += "|edges";
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}

bool ShowsEverywhere(const platform::RgbPicture& shot, int index) {
  for (int y = 5; y < 480; y += 50) {
    for (int x = 5; x < 640; x += 50) {
      if (IndexAt(shot, x, y) != index) return false;
    }
  }
  return true;
}

TEST_F(FrontEnd, TheLogoComesToRestAt104AndTheScrollerShowsABThenBThenNothing) {
  // One shot a scroller step (26 ms), from before its line shows until
  // after a whole round of the text.
  constexpr uint32_t kFirstShot = 1770;
  constexpr int kShots = 50;
  std::string script;
  for (int k = 0; k < kShots; ++k) script += ShotAt(kFirstShot + 26 * k, "line" + std::to_string(k) + ".png");
  // Escape ends the scroller and is not waited out: the menu sees it still
  // held and quits before drawing its highlight.
  const uint32_t escape = kFirstShot + 26 * kShots;
  script += Hold(escape, escape + 100, "ESCAPE") + DumpAt(escape + 50, "menu.json") + ShotAt(escape + 50, "menu.png") +
            DumpAt(escape + 150, "logo.json") + ShotAt(escape + 150, "logo.png") + LeaveClosingLogo(escape + 200);
  ASSERT_EQ(Run(script), 0) << Errors();

  const platform::RgbPicture rest = Shot("line0.png");
  EXPECT_EQ(IndexAt(rest, 320, 50), kTitle);
  EXPECT_EQ(IndexAt(rest, 320, 103), kTitle);
  EXPECT_EQ(IndexAt(rest, 320, 104), kLogo);
  EXPECT_EQ(IndexAt(rest, 320, 303), kLogo);
  EXPECT_EQ(IndexAt(rest, 320, 304), kTitle);
  EXPECT_EQ(IndexAt(rest, 40, 200), kLogo);
  EXPECT_EQ(IndexAt(rest, 39, 200), kTitle);  // the logo's see-through columns

  std::vector<std::pair<std::string, int>> runs;
  for (int k = 0; k < kShots; ++k) {
    const std::string line = ScrollerLine(Shot("line" + std::to_string(k) + ".png"));
    if (runs.empty() || runs.back().first != line) runs.emplace_back(line, 0);
    ++runs.back().second;
  }
  ASSERT_GE(runs.size(), 5u);
  EXPECT_EQ(runs[0].first, "-");
  const char* const cycle[] = {"AB", "B", ""};
  for (size_t r = 1; r < runs.size(); ++r) {
    EXPECT_EQ(runs[r].first, cycle[(r - 1) % 3]) << "run " << r;
    if (r + 1 < runs.size()) {
      EXPECT_EQ(runs[r].second, 9) << "run " << r << " of \"" << runs[r].first << "\"";
    }
  }

  const Json menu = Dump("menu.json");
  EXPECT_EQ(menu["quitRequested"].Int(), 1);
  EXPECT_EQ(MenuState(Shot("menu.png")), "MENU1");
  const Json logo = Dump("logo.json");
  EXPECT_EQ(logo["quitRequested"].Int(), 0);  // the logo waits for its key all the same
  EXPECT_TRUE(logo["matchSeed"].IsNull());
  EXPECT_TRUE(ShowsEverywhere(Shot("logo.png"), kClosingLogo));
}

TEST_F(FrontEnd, TwoDuringTheSlideSkipsTheScrollerAndTheMenuShowsTwoPlayers) {
  const std::string script = Hold(1000, 1010, "2") + DumpAt(1060, "menu.json") + ShotAt(1060, "menu.png") +
                             Hold(1200, 1206, "ESCAPE") + LeaveClosingLogo(1300);
  ASSERT_EQ(Run(script), 0) << Errors();
  const Json menu = Dump("menu.json");
  EXPECT_EQ(menu["playerCount"].Int(), 2);
  EXPECT_EQ(menu["blobStyle"].Int(), 0);
  EXPECT_EQ(MenuState(Shot("menu.png")), "MENU2");
}

TEST_F(FrontEnd, BDuringTheSlidePresetsBlobPieces) {
  const std::string script = Hold(1000, 1010, "B") + DumpAt(1060, "menu.json") + ShotAt(1060, "menu.png") +
                             Hold(1200, 1206, "ESCAPE") + LeaveClosingLogo(1300);
  ASSERT_EQ(Run(script), 0) << Errors();
  const Json menu = Dump("menu.json");
  EXPECT_EQ(menu["blobStyle"].Int(), 1);
  EXPECT_EQ(menu["playerCount"].Int(), 1);
  EXPECT_EQ(MenuState(Shot("menu.png")), "MENU1");
}

TEST_F(FrontEnd, EscapeDuringTheSlideGoesStraightToTheClosingLogo) {
  const std::string script = Hold(1000, 1010, "ESCAPE") + DumpAt(1005, "held.json") + DumpAt(1060, "logo.json") +
                             ShotAt(1060, "logo.png") + LeaveClosingLogo(1100) + DumpAt(9000, "end.json");
  ASSERT_EQ(Run(script), 0) << Errors();
  EXPECT_EQ(Dump("held.json")["quitRequested"].Int(), 1);
  const Json logo = Dump("logo.json");
  EXPECT_EQ(logo["quitRequested"].Int(), 0);
  EXPECT_TRUE(logo["matchSeed"].IsNull());
  EXPECT_TRUE(ShowsEverywhere(Shot("logo.png"), kClosingLogo));
  // Written as the run ended: after Return, the fade-out's 64 steps of 12 ms.
  const Json end = Dump("end.json");
  EXPECT_EQ(end["quitRequested"].Int(), 1);
  EXPECT_GE(end["clock"].Int(), 1100 + 64 * 12);
  EXPECT_LT(end["clock"].Int(), 1100 + 64 * 12 + 20);
  EXPECT_EQ(Options(), "0 0 0");
}

TEST_F(FrontEnd, ClosingTheWindowDuringTheScrollerDoesNotEndTheRun) {
  const std::string script = "1900 close\n" + DumpAt(2000, "menu.json") + ShotAt(2000, "menu.png") +
                             Hold(2100, 2106, "ESCAPE") + LeaveClosingLogo(2200);
  ASSERT_EQ(Run(script), 0) << Errors();
  const Json menu = Dump("menu.json");
  EXPECT_EQ(menu["quitRequested"].Int(), 0);
  EXPECT_TRUE(menu["matchSeed"].IsNull());
  EXPECT_EQ(MenuState(Shot("menu.png")), "MENU1");
}

TEST_F(FrontEnd, LosingTheFocusHoldsAMatchWithoutMakingUpItsSteps) {
  constexpr uint32_t kStart = 1000;
  const std::string script = SkipTitle() + Hold(kStart, kStart + 5, "RETURN") + DumpAt(kStart + 26 * 4 + 1, "before.json") +
                             "1110 focus off\n" + DumpAt(2000, "away.json") + "3000 focus on\n" +
                             DumpAt(3010, "back.json") + Hold(3100, 3130, "ESCAPE") + Hold(3300, 3306, "ESCAPE") +
                             Hold(3400, 3406, "ESCAPE") + LeaveClosingLogo(3500);
  ASSERT_EQ(Run(script), 0) << Errors();
  const Json before = Dump("before.json"), away = Dump("away.json"), back = Dump("back.json");
  EXPECT_EQ(away["clock"].Int(), 2000);
  EXPECT_EQ(away["lastTickTime"].Int(), before["lastTickTime"].Int());
  EXPECT_EQ(away["gravityCountdown"].Int(), before["gravityCountdown"].Int());
  // Back in focus, the match takes one step at once and goes on from there.
  EXPECT_GE(back["lastTickTime"].Int(), 3000);
  EXPECT_EQ(back["gravityCountdown"].Int(), before["gravityCountdown"].Int() - 1);
  EXPECT_EQ(back["players"][0]["pieceY"].Int(), before["players"][0]["pieceY"].Int());
}

TEST_F(FrontEnd, ARunLeftWaitingForTheFocusStopsAtItsLimit) {
  RunOptions options;
  options.maxMs = 5000;
  EXPECT_EQ(Run(SkipTitle() + "1000 focus off\n" + DumpAt(4000, "waiting.json"), options), 3);
  const Json waiting = Dump("waiting.json");
  EXPECT_EQ(waiting["clock"].Int(), 4000);
  EXPECT_TRUE(waiting["matchSeed"].IsNull());
  EXPECT_EQ(Options(), "");  // ended by the harness: nothing saved
}

TEST_F(FrontEnd, UpFromTheFirstEntrySelectsTheLastAndDownComesBack) {
  const std::string script = SkipTitle() + ShotAt(MenuPeak(0), "first.png") + Hold(MenuPeak(0) + 100, MenuPeak(0) + 105, "UP") +
                             ShotAt(MenuPeak(1), "up.png") + Hold(MenuPeak(1) + 100, MenuPeak(1) + 105, "DOWN") +
                             ShotAt(MenuPeak(2), "down.png") + Hold(MenuPeak(2) + 100, MenuPeak(2) + 106, "ESCAPE") +
                             LeaveClosingLogo(MenuPeak(2) + 200) + DumpAt(MenuPeak(5), "end.json");
  ASSERT_EQ(Run(script), 0) << Errors();
  EXPECT_EQ(MenuState(Shot("first.png")), "MENU1 0");
  EXPECT_EQ(MenuState(Shot("up.png")), "MENU1 3");
  EXPECT_EQ(MenuState(Shot("down.png")), "MENU1 0");
  EXPECT_TRUE(Dump("end.json")["matchSeed"].IsNull());
}

TEST_F(FrontEnd, SpaceOnThePlayersEntryTogglesThePictureAndStaysThere) {
  std::string script = SkipTitle() + Hold(900, 905, "DOWN") + Hold(950, 955, "DOWN") + ShotAt(MenuPeak(0), "one.png");
  script += Hold(MenuPeak(0) + 100, MenuPeak(0) + 105, "SPACE") + DumpAt(MenuPeak(0) + 150, "two.json") +
            ShotAt(MenuPeak(1), "two.png");
  script += Hold(MenuPeak(1) + 100, MenuPeak(1) + 105, "RETURN") + DumpAt(MenuPeak(1) + 150, "back.json") +
            ShotAt(MenuPeak(2), "back.png");
  script += Hold(MenuPeak(2) + 100, MenuPeak(2) + 106, "ESCAPE") + LeaveClosingLogo(MenuPeak(2) + 200) +
            DumpAt(MenuPeak(5), "end.json");
  ASSERT_EQ(Run(script), 0) << Errors();
  EXPECT_EQ(MenuState(Shot("one.png")), "MENU1 2");
  EXPECT_EQ(Dump("two.json")["playerCount"].Int(), 2);
  EXPECT_EQ(MenuState(Shot("two.png")), "MENU2 2");
  EXPECT_EQ(Dump("back.json")["playerCount"].Int(), 1);
  EXPECT_EQ(MenuState(Shot("back.png")), "MENU1 2");
  const Json end = Dump("end.json");
  EXPECT_TRUE(end["matchSeed"].IsNull());  // Escape on the players entry quits too
  EXPECT_EQ(end["quitRequested"].Int(), 1);
}

struct QuitCase {
  int entry;
  const char* key;
};

class MenuQuit : public ProgramRun, public ::testing::WithParamInterface<QuitCase> {};

TEST_P(MenuQuit, EndsTheRunThroughTheClosingLogo) {
  std::string script = SkipTitle();
  for (int k = 0; k < GetParam().entry; ++k) script += Hold(900 + 50 * k, 905 + 50 * k, "DOWN");
  script += Hold(1300, 1306, GetParam().key) + ShotAt(1350, "logo.png") + LeaveClosingLogo(1400) +
            DumpAt(9000, "end.json");
  ASSERT_EQ(Run(script), 0) << Errors();
  EXPECT_TRUE(ShowsEverywhere(Shot("logo.png"), kClosingLogo));
  const Json end = Dump("end.json");
  EXPECT_TRUE(end["matchSeed"].IsNull());
  EXPECT_EQ(end["playerCount"].Int(), 1);
  EXPECT_EQ(Options(), "0 0 0");
}

INSTANTIATE_TEST_SUITE_P(EveryEntry, MenuQuit,
                         ::testing::Values(QuitCase{0, "ESCAPE"}, QuitCase{1, "ESCAPE"}, QuitCase{2, "ESCAPE"},
                                           QuitCase{3, "ESCAPE"}, QuitCase{3, "RETURN"}, QuitCase{3, "SPACE"}),
                         [](const ::testing::TestParamInfo<QuitCase>& info) {
                           return "Entry" + std::to_string(info.param.entry) + "With" + info.param.key;
                         });

TEST_F(FrontEnd, ReturnOnTheSecondEntryStartsABlobMatch) {
  constexpr uint32_t kStart = 1000;
  const std::string script = SkipTitle() + Hold(900, 905, "DOWN") + Hold(kStart, kStart + 5, "RETURN") +
                             DumpAt(kStart + 27, "blob.json") + ShotAt(kStart + 27, "blob.png") +
                             Press(kStart + 26 * 3, "ESCAPE") + ShotAt(1300, "table.png") +
                             Hold(1400, 1406, "ESCAPE") + Hold(1500, 1506, "ESCAPE") + LeaveClosingLogo(1600);
  ASSERT_EQ(Run(script), 0) << Errors();

  Lcg lcg{kStart};
  lcg.Next();  // the shape
  const int colour = lcg.Next() % 7 + 1;
  const Json blob = Dump("blob.json");
  EXPECT_EQ(blob["matchSeed"].Int(), static_cast<int>(kStart));
  EXPECT_EQ(blob["blobStyle"].Int(), 1);
  EXPECT_EQ(blob["playerCount"].Int(), 1);
  EXPECT_EQ(static_cast<uint32_t>(blob["seed"].number), lcg.state);  // shape and colour drawn
  EXPECT_EQ(blob["players"][0]["pieceColour"].Int(), colour);
  EXPECT_EQ(blob["players"][0]["state"].Int(), 100);
  const platform::RgbPicture shot = Shot("blob.png");
  EXPECT_EQ(TextAt(shot, 48, 14, 4), "BLOB");
  EXPECT_EQ(CompareWellWithShot(blob["players"][0], shot, 220, false), "");

  // Escape ended the match; the hiscore table followed, in English.
  const platform::RgbPicture table = Shot("table.png");
  EXPECT_EQ(TextAt(table, 72, 100, 31), Spaced("POINTS LEVEL ROWS        PLAYER"));
  EXPECT_EQ(TextAt(table, 19 + 38 * 14, 128, 5, 14), "NOONE");
  EXPECT_EQ(TextAt(table, 19, 128, 5, 14), Spaced(" 1000"));
}

}  // namespace
}  // namespace e2e
