// Two-player and "BLOB" matches, run headless through the game's own start-up
// and match loop by the test program match_runner.
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/e2e/e2e_support.h"

namespace e2e {
namespace {

class MatchRunnerRun : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(dir.Path().empty());
    WriteDataFiles(dir.Path());
  }
  Json Dump(const std::string& name) const { return ParseJson(dir.Read(name)); }
  platform::RgbPicture Shot(const std::string& name) const {
    platform::RgbPicture shot;
    EXPECT_TRUE(platform::ReadPngRgb(dir.Path() + "/" + name, shot));
    return shot;
  }
  ScratchDir dir;
};

TEST_F(MatchRunnerRun, TwoRowsClearedAtOncePushOneRowIntoTheOtherWell) {
  // A start time whose generator gives player 1 five squares in a row:
  // draws 1, 3, 4, 5 and 6 (draw 2 is player 2's first piece).
  uint32_t start = 1;
  for (;; ++start) {
    Lcg lcg{start};
    int draws[6];
    for (int& d : draws) d = lcg.Next() % 7 + 1;
    if (draws[0] == 1 && draws[2] == 1 && draws[3] == 1 && draws[4] == 1 && draws[5] == 1) break;
  }
  // Player 1 (A left, D right, SHIFT drop) lays the squares side by side
  // in the bottom two rows, one key every second step.
  const char* const keys[] = {"A", "A", "A", "A", "SHIFT", "A", "A", "SHIFT", "SHIFT",
                              "D", "D", "SHIFT", "D", "D", "D", "D", "SHIFT"};
  std::string script;
  uint32_t step = 1;
  for (const char* key : keys) {
    script += Press(start + 26 * step, key);
    step += 2;
  }
  const uint32_t after = start + 26 * step + 1;
  script += std::to_string(after) + " dump pushed.json\n" + std::to_string(after) + " shot pushed.png\n";
  script += Press(start + 26 * (step + 4), "ESCAPE");
  ASSERT_EQ(RunProgram(dir.Path(), MatchRunnerUnderTest(), "2 normal --start-at " + std::to_string(start), script), 0)
      << dir.Read("err.txt");

  Lcg lcg{start};
  lcg.Next();
  const int secondType = lcg.Next() % 7 + 1;  // player 2's piece
  for (int k = 2; k < 6; ++k) lcg.Next();
  // The row pushed across: the hole, then nine colours left to right.
  Well pushed;
  const int hole = lcg.Next() % 10;
  for (int c = 0; c < 10; ++c) pushed.At(c, 22) = c == hole ? 0 : static_cast<uint8_t>(lcg.Next() % 7 + 1);
  const int nextType = lcg.Next() % 7 + 1;

  const Json dump = Dump("pushed.json");
  ASSERT_FALSE(dump.IsNull()) << dir.Read("pushed.json");
  EXPECT_EQ(static_cast<uint32_t>(dump["matchSeed"].number), start);
  EXPECT_EQ(dump["playerCount"].Int(), 2);
  EXPECT_EQ(static_cast<uint32_t>(dump["seed"].number), lcg.state);  // 17 draws
  const Json& p1 = dump["players"][0];
  const Json& p2 = dump["players"][1];
  EXPECT_EQ(p1["points"].Int(), 5 + 20);
  EXPECT_EQ(p1["rows"].Int(), 2);
  EXPECT_EQ(p1["well"].text, Well{}.Digits());
  EXPECT_EQ(p1["pieceColour"].Int(), nextType);
  EXPECT_EQ(p1["pieceY"].Int(), -1);
  EXPECT_EQ(p1["controlHandler"].text, "LetterKeysShiftDrop");
  EXPECT_EQ(p2["well"].text, pushed.Digits());
  EXPECT_EQ(p2["pieceColour"].Int(), secondType);
  EXPECT_EQ(p2["pieceX"].Int(), 3);
  EXPECT_EQ(p2["pieceY"].Int(), 0);  // one gravity step, at the ninth step
  EXPECT_EQ(p2["controlHandler"].text, "ArrowKeysDownRotate");
  EXPECT_EQ(p2["state"].Int(), 100);

  const platform::RgbPicture shot = Shot("pushed.png");
  EXPECT_EQ(CompareWellWithShot(p1, shot, 70, false), "");
  EXPECT_EQ(CompareWellWithShot(p2, shot, 370, false), "");
  EXPECT_EQ(IndexAt(shot, 370 + 20 * hole + 10, 8 + 20 * 22 + 10), kEmptyTile);
  EXPECT_EQ(TextAt(shot, 296, 14, 6, 8), "NORMAL");
  EXPECT_EQ(TextAt(shot, 8, 42, 2, 8), "25");
  EXPECT_EQ(TextAt(shot, 8, 98, 1, 8), "2");
  EXPECT_EQ(TextAt(shot, 592, 42, 1, 8), "0");
  EXPECT_EQ(TextAt(shot, 8, 168, 4, 8), "SHFT");
  EXPECT_EQ(TextAt(shot, 592, 154, 5, 8), "RIGHT");

  EXPECT_EQ(dir.Read("Kolvanic/Stakkor/Options"), "0 0 0");
}

TEST_F(MatchRunnerRun, BlobPiecesTakeASecondDrawAndBreakApart) {
  // A start time at which four pieces dropped straight make no group.
  uint32_t start = 500;
  for (;; ++start) {
    const Straight run = DropStraight(start, true, 4);
    if (run.locks == 4 && LargestGroup(run.well) < 16) break;
  }
  const Straight expected = DropStraight(start, true, 4);
  std::string script;
  for (uint32_t step = 1; step <= 7; step += 2) script += Press(start + 26 * step, "CTRL");
  const uint32_t after = start + 26 * 8 + 1;
  script += std::to_string(after) + " dump blob.json\n" + std::to_string(after) + " shot blob.png\n";
  script += Press(start + 26 * 12, "ESCAPE");
  ASSERT_EQ(RunProgram(dir.Path(), MatchRunnerUnderTest(), "1 blob --start-at " + std::to_string(start), script), 0)
      << dir.Read("err.txt");

  Lcg lcg{expected.seed};
  const int nextType = lcg.Next() % 7 + 1, nextColour = lcg.Next() % 7 + 1;
  const Json dump = Dump("blob.json");
  ASSERT_FALSE(dump.IsNull()) << dir.Read("blob.json");
  EXPECT_EQ(dump["blobStyle"].Int(), 1);
  EXPECT_EQ(static_cast<uint32_t>(dump["seed"].number), lcg.state);  // two draws a piece
  const Json& p1 = dump["players"][0];
  EXPECT_EQ(p1["well"].text, expected.well.Digits());
  EXPECT_EQ(p1["points"].Int(), 4 * 3);
  EXPECT_EQ(p1["rows"].Int(), 0);
  EXPECT_EQ(p1["pieceColour"].Int(), nextColour);
  const Piece next = NewPiece(nextType, nextColour);
  std::string cells;
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) cells += next.blocks[i][j] ? '1' : '0';
  }
  EXPECT_EQ(p1["pieceCells"].text, cells);

  const platform::RgbPicture shot = Shot("blob.png");
  EXPECT_EQ(CompareWellWithShot(p1, shot, 220, false), "");
  EXPECT_EQ(TextAt(shot, 48, 14, 4), "BLOB");
  char points[32];
  std::snprintf(points, sizeof points, "POINTS: %5d", 12);
  EXPECT_EQ(TextAt(shot, 4, 42, 13), Spaced(points));
}

}  // namespace
}  // namespace e2e
