// The stakkor program itself, headless: one-player matches started from the
// menu, played to their end by a script, the hiscore screen after them, the
// options file, and closing the window.
#include <cstdio>
#include <filesystem>

#include "tests/e2e/e2e_fixture.h"

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

// Return in the menu starts the match in that same millisecond.
constexpr uint32_t kStart = 1000;
std::string StartFromMenu(uint32_t time) { return Hold(time, time + 5, "RETURN"); }

using OnePlayerRun = ProgramRun;

TEST_F(OnePlayerRun, AMatchPlayedToItsEndThenTheNextThenEscape) {
  const Straight expected = DropStraight(kStart, false, 1000);
  ASSERT_TRUE(expected.over);
  ASSERT_FALSE(AnyRowFull(expected.well));
  const int locks = expected.locks;
  // Every second step drops the piece with CTRL until the spawn is blocked
  // (at step 2 * locks - 1). The game-over panel then shows while the
  // state counts down 99, 74, 49, 24, -1, one fall a gravity period (38
  // steps at level 0).
  std::string script = SkipTitle() + StartFromMenu(kStart);
  for (int step = 1; step <= 2 * locks + 1; step += 2) script += Press(kStart + 26 * step, "CTRL");
  const uint32_t over = kStart + 26 * (2 * locks + 4) + 1;
  script += DumpAt(over, "over.json") + ShotAt(over, "over.png");
  // Long after the countdown, the hiscore table: Return leaves it, Return
  // in the menu starts the next match.
  const uint32_t table = kStart + 26 * (2 * locks + 5 * 38);
  const uint32_t second = table + 100;
  script += ShotAt(table, "table.png") + Hold(table, table + 6, "RETURN") + StartFromMenu(second);
  script += DumpAt(second + 3 * 26 + 1, "second.json") + Press(second + 26 * 5, "ESCAPE");
  script += Hold(second + 400, second + 406, "RETURN") + Hold(second + 500, second + 506, "ESCAPE") +
            LeaveClosingLogo(second + 600) + DumpAt(second + 5000, "end.json");
  ASSERT_EQ(Run(script), 0) << Errors();

  const Json dump = Dump("over.json");
  EXPECT_EQ(dump["matchSeed"].Int(), static_cast<int>(kStart));
  EXPECT_EQ(dump["english"].Int(), 1);
  EXPECT_EQ(dump["playerCount"].Int(), 1);
  EXPECT_EQ(dump["blobStyle"].Int(), 0);
  EXPECT_EQ(dump["musicOff"].Int(), 0);
  EXPECT_EQ(static_cast<uint32_t>(dump["seed"].number), expected.seed);
  const Json& p1 = dump["players"][0];
  EXPECT_GT(p1["state"].Int(), 0);  // 99, 74, 49, 24: counting down
  EXPECT_LT(p1["state"].Int(), 100);
  EXPECT_EQ(p1["losses"].Int(), -1);
  EXPECT_EQ(p1["points"].Int(), locks);
  EXPECT_EQ(p1["well"].text, expected.well.Digits());
  EXPECT_EQ(p1["pieceY"].Int(), -2);  // the blocked piece stays where it spawned
  EXPECT_EQ(p1["pieceColour"].Int(), expected.last.colour);
  EXPECT_EQ(p1["pieceCells"].text, CellsText(expected.last));
  EXPECT_EQ(p1["controlHandler"].text, "ArrowKeysDownRotate");
  EXPECT_EQ(dump["players"][1]["state"].Int(), 100);

  const platform::RgbPicture shot = Shot("over.png");
  EXPECT_EQ(CompareWellWithShot(p1, shot, 220, true), "");
  EXPECT_EQ(IndexAt(shot, 218, 100), kSideBar);
  EXPECT_EQ(IndexAt(shot, 300, 470), kBottomBar);
  EXPECT_EQ(IndexAt(shot, 600, 400), kBackground);
  EXPECT_EQ(TextAt(shot, 32, 14, 6), "NORMAL");
  char points[32];
  std::snprintf(points, sizeof points, "POINTS: %5d", locks);
  EXPECT_EQ(TextAt(shot, 4, 42, 13), Spaced(points));
  EXPECT_EQ(TextAt(shot, 436, 14, 12), Spaced("CONTROL KEYS"));
  EXPECT_EQ(TextAt(shot, 436, 154, 9), "CTRL-DROP");

  // The points stay below the default table: no entry, no entry bar.
  const platform::RgbPicture hiscores = Shot("table.png");
  EXPECT_EQ(TextAt(hiscores, 72, 100, 31), Spaced("POINTS LEVEL ROWS        PLAYER"));
  EXPECT_EQ(TextAt(hiscores, 19, 380, 5, 14), Spaced("  550"));
  for (int row = 0; row < 10; ++row) EXPECT_EQ(IndexAt(hiscores, 4, 128 + 28 * row + 7), kBackground) << row;

  // Three steps into the next match the countdown to its first gravity
  // step has gone 9 -> 6; the loss of the first match is kept.
  const Json next = Dump("second.json");
  EXPECT_EQ(next["matchSeed"].Int(), static_cast<int>(second));
  EXPECT_EQ(next["lastTickTime"].Int(), static_cast<int>(second + 3 * 26));
  EXPECT_EQ(next["gravityCountdown"].Int(), 6);
  EXPECT_EQ(next["players"][0]["state"].Int(), 100);
  EXPECT_EQ(next["players"][0]["points"].Int(), 0);
  EXPECT_EQ(next["players"][0]["losses"].Int(), -1);
  EXPECT_EQ(next["players"][0]["pieceY"].Int(), -1);

  // Escape ended the second match (no loss); the menu's Escape the run.
  const Json end = Dump("end.json");
  EXPECT_EQ(end["players"][0]["state"].Int(), 0);
  EXPECT_EQ(end["players"][1]["state"].Int(), 0);
  EXPECT_EQ(end["players"][0]["losses"].Int(), -1);
  EXPECT_EQ(end["quitRequested"].Int(), 1);
  EXPECT_EQ(Options(), "0 0 0");
  bool checksumOk = false;
  const std::vector<HiscoreRow> rows = ReadHiscoreFile(dir.Read("HISCORE.DAT"), &checksumOk);
  EXPECT_TRUE(checksumOk);
  ASSERT_EQ(rows.size(), 10u);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(rows[i].points, 1000 - 50 * i);
    EXPECT_EQ(rows[i].name, "NOONE");
  }
}

TEST_F(OnePlayerRun, StoredOptionsChooseTheLayoutAndAreWrittenBackAsRead) {
  StoreOptions("5 -3 256");
  RunOptions options;
  options.audioLog = "audio.txt";
  const std::string script = SkipTitle() + StartFromMenu(kStart) + DumpAt(kStart + 100, "start.json") +
                             ShotAt(kStart + 100, "start.png") + Press(kStart + 26 * 5, "ESCAPE") +
                             Hold(1400, 1406, "ESCAPE") + Hold(1500, 1506, "ESCAPE") + LeaveClosingLogo(1600);
  ASSERT_EQ(Run(script, options), 0) << Errors();
  const Json start = Dump("start.json");
  EXPECT_EQ(start["controlLayout"][0].Int(), 5);
  EXPECT_EQ(start["controlLayout"][1].Int(), -3);
  EXPECT_EQ(start["musicOff"].Int(), 0);  // the lowest byte of 256
  EXPECT_EQ(start["players"][0]["controlHandler"].text, "ArrowKeysUpRotate");
  const platform::RgbPicture shot = Shot("start.png");
  EXPECT_EQ(TextAt(shot, 436, 126, 9), "UP-ROTATE");
  EXPECT_EQ(TextAt(shot, 436, 154, 9), "DOWN-DROP");
  // So the music played from the start: its half-second buffer ended in
  // the title already.
  const std::string audio = dir.Read("audio.txt");
  const size_t first = audio.find(" music-buffer 0\n");
  ASSERT_NE(first, std::string::npos) << audio;
  EXPECT_LT(std::stoul(audio.substr(audio.rfind('\n', first) + 1)), kMenuStart) << audio;
  EXPECT_EQ(Options(), "5 -3 0");
}

TEST_F(OnePlayerRun, ClosingTheWindowSkipsTheHiscoresAndAClosingAgainEndsTheRun) {
  const std::string script = SkipTitle() + StartFromMenu(kStart) + "1200 close\n" + DumpAt(1300, "logo.json") +
                             ShotAt(1300, "logo.png") + "1400 close\n" + DumpAt(9000, "end.json");
  ASSERT_EQ(Run(script), 0) << Errors();
  const Json logo = Dump("logo.json");
  EXPECT_EQ(logo["matchSeed"].Int(), static_cast<int>(kStart));
  EXPECT_EQ(logo["players"][0]["state"].Int(), 100);  // the match did not end by itself
  EXPECT_EQ(logo["quitRequested"].Int(), 0);           // the logo waits for a key or a close
  const platform::RgbPicture shot = Shot("logo.png");
  EXPECT_EQ(IndexAt(shot, 320, 240), kClosingLogo);
  EXPECT_EQ(IndexAt(shot, 5, 475), kClosingLogo);
  const Json end = Dump("end.json");
  EXPECT_EQ(end["quitRequested"].Int(), 1);
  EXPECT_GE(end["clock"].Int(), 1400 + 64 * 12);  // faded out
  EXPECT_LT(end["clock"].Int(), 1400 + 64 * 12 + 20);
  EXPECT_FALSE(std::filesystem::exists(dir.Path() + "/HISCORE.DAT"));
  EXPECT_EQ(Options(), "0 0 0");
}

TEST_F(OnePlayerRun, WithoutDataFilesTheGameStillRunsWithoutMusic) {
  for (const std::string& name : DataFileNames()) std::filesystem::remove(dir.Path() + "/" + name);
  std::string script = SkipTitle() + StartFromMenu(kStart);
  for (int step = 1; step < 20; step += 2) script += Press(kStart + 26 * step, "CTRL");
  script += DumpAt(kStart + 600, "mid.json") + Press(kStart + 26 * 25, "ESCAPE") + Hold(1900, 1906, "ESCAPE") +
            Hold(2000, 2006, "ESCAPE") + LeaveClosingLogo(2100);
  ASSERT_EQ(Run(script), 0) << Errors();
  const Json mid = Dump("mid.json");
  EXPECT_EQ(mid["players"][0]["well"].text, DropStraight(kStart, false, 10).well.Digits());
  EXPECT_EQ(mid["musicOff"].Int(), 1);
  // The box was answered OK: the game went on without music for this run,
  // and the stored option stays the player's own (music on).
  EXPECT_NE(Errors().find("[MIDI] Unable to play music!"), std::string::npos);
  EXPECT_EQ(Options(), "0 0 0");
  bool checksumOk = false;
  EXPECT_EQ(ReadHiscoreFile(dir.Read("HISCORE.DAT"), &checksumOk).size(), 10u);
  EXPECT_TRUE(checksumOk);
}

}  // namespace
}  // namespace e2e
