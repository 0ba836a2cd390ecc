// The stakkor program itself, headless: a one-player match played to its
// end by a script, the next match, Escape, and the options file.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "tests/e2e/e2e_support.h"

namespace e2e {
namespace {

// The box of a piece as the dump writes it: '1' per block, index i * 4 + j.
std::string CellsText(const Piece& piece) {
  std::string text;
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) text += piece.blocks[i][j] ? '1' : '0';
  }
  return text;
}

std::string Spaced(std::string text) {
  for (char& c : text) c = c == ' ' ? '?' : c;
  return text;
}

class OnePlayerRun : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(dir.Path().empty());
    WriteDataFiles(dir.Path());
  }
  Json Dump(const std::string& name) const { return ParseJson(dir.Read(name)); }
  ScratchDir dir;
};

TEST_F(OnePlayerRun, AMatchPlayedToItsEndThenTheNextThenEscape) {
  // The match starts at clock 0: seed 0, steps every 26 ms. Every second
  // step drops the piece with CTRL until the spawn is blocked.
  std::string script;
  for (uint32_t step = 1; step < 60; step += 2) script += Press(26 * step, "CTRL");
  script +=
      "8000 dump over.json\n8000 shot over.png\n"
      "8000 down RETURN\n8010 up RETURN\n"
      "8080 dump second.json\n"
      "8100 down ESCAPE\n8150 up ESCAPE\n"
      "9000 dump end.json\n";
  ASSERT_EQ(RunProgram(dir.Path(), STAKKOR_PROGRAM, "", script), 0) << dir.Read("err.txt");

  const Straight expected = DropStraight(0, false, 1000);
  ASSERT_TRUE(expected.over);
  ASSERT_FALSE(AnyRowFull(expected.well));
  const Json over = Dump("over.json");
  ASSERT_FALSE(over.IsNull()) << dir.Read("over.json");
  EXPECT_EQ(over["matchSeed"].Int(), 0);
  EXPECT_EQ(over["english"].Int(), 1);
  EXPECT_EQ(over["playerCount"].Int(), 1);
  EXPECT_EQ(over["blobStyle"].Int(), 0);
  EXPECT_EQ(static_cast<uint32_t>(over["seed"].number), expected.seed);
  const Json& p1 = over["players"][0];
  EXPECT_EQ(p1["state"].Int(), -1);  // 99, 74, 49, 24, -1: the match is over
  EXPECT_EQ(p1["losses"].Int(), -1);
  EXPECT_EQ(p1["points"].Int(), expected.locks);
  EXPECT_EQ(p1["well"].text, expected.well.Digits());
  EXPECT_EQ(p1["pieceY"].Int(), -2);  // the blocked piece stays where it spawned
  EXPECT_EQ(p1["pieceColour"].Int(), expected.last.colour);
  EXPECT_EQ(p1["pieceCells"].text, CellsText(expected.last));
  EXPECT_EQ(p1["controlHandler"].text, "ArrowKeysDownRotate");
  EXPECT_EQ(over["players"][1]["state"].Int(), 100);

  platform::RgbPicture shot;
  ASSERT_TRUE(platform::ReadPngRgb(dir.Path() + "/over.png", shot));
  EXPECT_EQ(CompareWellWithShot(p1, shot, 220, true), "");
  EXPECT_EQ(IndexAt(shot, 218, 100), kSideBar);
  EXPECT_EQ(IndexAt(shot, 300, 470), kBottomBar);
  EXPECT_EQ(IndexAt(shot, 600, 400), kBackground);
  EXPECT_EQ(TextAt(shot, 32, 14, 6), "NORMAL");
  char points[32];
  std::snprintf(points, sizeof points, "POINTS: %5d", expected.locks);
  EXPECT_EQ(TextAt(shot, 4, 42, 13), Spaced(points));
  EXPECT_EQ(TextAt(shot, 436, 14, 12), Spaced("CONTROL KEYS"));
  EXPECT_EQ(TextAt(shot, 436, 154, 9), "CTRL-DROP");

  // Return started the next match in the following millisecond; three
  // steps later the countdown to its first gravity step has gone 9 -> 6.
  const Json second = Dump("second.json");
  EXPECT_EQ(second["matchSeed"].Int(), 8001);
  EXPECT_EQ(second["lastTickTime"].Int(), 8001 + 3 * 26);
  EXPECT_EQ(second["gravityCountdown"].Int(), 6);
  EXPECT_EQ(second["players"][0]["state"].Int(), 100);
  EXPECT_EQ(second["players"][0]["points"].Int(), 0);
  EXPECT_EQ(second["players"][0]["losses"].Int(), -1);  // kept across matches
  EXPECT_EQ(second["players"][0]["pieceY"].Int(), -1);

  const Json end = Dump("end.json");
  EXPECT_EQ(end["players"][0]["state"].Int(), 0);
  EXPECT_EQ(end["players"][1]["state"].Int(), 0);
  EXPECT_EQ(dir.Read("Kolvanic/Stakkor/Options"), "0 0 0");
}

TEST_F(OnePlayerRun, StoredOptionsChooseTheLayoutAndAreWrittenBackAsRead) {
  std::filesystem::create_directories(dir.Path() + "/Kolvanic/Stakkor");
  std::ofstream(dir.Path() + "/Kolvanic/Stakkor/Options") << "5 -3 256";
  const std::string script = "100 dump start.json\n100 shot start.png\n" + Press(26 * 5, "ESCAPE");
  ASSERT_EQ(RunProgram(dir.Path(), STAKKOR_PROGRAM, "", script), 0) << dir.Read("err.txt");
  const Json start = Dump("start.json");
  EXPECT_EQ(start["controlLayout"][0].Int(), 5);
  EXPECT_EQ(start["controlLayout"][1].Int(), -3);
  EXPECT_EQ(start["musicOff"].Int(), 0);
  EXPECT_EQ(start["players"][0]["controlHandler"].text, "ArrowKeysUpRotate");
  platform::RgbPicture shot;
  ASSERT_TRUE(platform::ReadPngRgb(dir.Path() + "/start.png", shot));
  EXPECT_EQ(TextAt(shot, 436, 126, 9), "UP-ROTATE");
  EXPECT_EQ(TextAt(shot, 436, 154, 9), "DOWN-DROP");
  EXPECT_EQ(dir.Read("Kolvanic/Stakkor/Options"), "5 -3 0");
}

TEST_F(OnePlayerRun, ClosingTheWindowEndsTheRun) {
  ASSERT_EQ(RunProgram(dir.Path(), STAKKOR_PROGRAM, "", "300 close\n400 dump end.json\n"), 0) << dir.Read("err.txt");
  const Json end = Dump("end.json");
  EXPECT_EQ(end["quitRequested"].Int(), 1);
  EXPECT_EQ(end["players"][0]["state"].Int(), 100);
  EXPECT_EQ(dir.Read("Kolvanic/Stakkor/Options"), "0 0 0");
}

TEST_F(OnePlayerRun, WithoutDataFilesTheMatchStillRuns) {
  for (const char* name : {"FONT1.PIX", "FONT2.PIX", "HINTER.PIX", "STEINES.PIX"}) {
    std::filesystem::remove(dir.Path() + "/" + name);
  }
  std::string script;
  for (uint32_t step = 1; step < 20; step += 2) script += Press(26 * step, "CTRL");
  script += "600 dump mid.json\n600 shot mid.png\n" + Press(26 * 25, "ESCAPE");
  ASSERT_EQ(RunProgram(dir.Path(), STAKKOR_PROGRAM, "", script), 0) << dir.Read("err.txt");
  const Straight expected = DropStraight(0, false, 10);
  EXPECT_EQ(Dump("mid.json")["players"][0]["well"].text, expected.well.Digits());
}

}  // namespace
}  // namespace e2e
