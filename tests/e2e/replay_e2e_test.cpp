// Replays through the real program: a match played by a script is saved,
// checked with --verify and shown again with --replay, the same picture at
// the same step; a damaged file is refused; the hiscore table marks the
// entries that have a replay and plays one.
#include <cstdio>
#include <filesystem>

#include "tests/e2e/e2e_fixture.h"

namespace e2e {
namespace {

constexpr uint32_t kStart = 1000;
constexpr uint32_t Step(int n) { return kStart + 26 * static_cast<uint32_t>(n); }
constexpr char kFirstReplay[] = "replays/match-000001.rpl";

class Replays : public ProgramRun {
 protected:
  // stakkor with these arguments and no script; its exit status.
  int Stakkor(const std::string& args) {
    const std::string command = "cd '" + dir.Path() + "' && XDG_CONFIG_HOME='" + dir.Path() + "' '" + STAKKOR_PROGRAM +
                                "' " + args + " >out.txt 2>err.txt";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  // Runs stakkor --replay FILE with a script of viewer keys and outputs.
  int View(const std::string& file, const std::string& script) {
    return RunProgram(dir.Path(), STAKKOR_PROGRAM, "--replay " + file, script);
  }
  std::string Out() const { return dir.Read("out.txt"); }
};

// The pictures agree everywhere but in the viewer's legend, left of the well.
std::string CompareOutsideLegend(const platform::RgbPicture& a, const platform::RgbPicture& b) {
  if (a.rgb.size() != b.rgb.size()) return "sizes differ";
  int differing = 0;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      if (x < 216 && y >= 230 && y < 440) continue;
      const size_t at = (static_cast<size_t>(y) * 640 + x) * 3;
      differing += a.rgb[at] != b.rgb[at] || a.rgb[at + 1] != b.rgb[at + 1] || a.rgb[at + 2] != b.rgb[at + 2];
    }
  }
  return differing ? std::to_string(differing) + " pixels differ" : "";
}

// A one-player match with moves, turns, drops, a pause, F1 and Escape.
std::string PlayedMatch() {
  std::string script = SkipTitle() + Hold(kStart, kStart + 5, "RETURN");
  script += Press(Step(2), "LEFT") + Press(Step(3), "DOWN") + Press(Step(4), "CTRL") + Press(Step(6), "RIGHT") +
            Press(Step(7), "RIGHT") + Press(Step(8), "CTRL") + Press(Step(10), "F1") + Press(Step(11), "UP") +
            Press(Step(12), "DOWN");
  script += ShotAt(Step(13) + 1, "live.png") + DumpAt(Step(13) + 1, "live.json");
  // P at step 14: the game holds until Space.
  script +=
      Press(Step(14), "P") + ShotAt(Step(14) + 200, "live-paused.png") + Hold(Step(14) + 400, Step(14) + 406, "SPACE");
  script += Hold(Step(14) + 700, Step(14) + 730, "ESCAPE") + Hold(2800, 2806, "ESCAPE") + Hold(2900, 2906, "ESCAPE") +
            LeaveClosingLogo(3000);
  return script;
}

TEST_F(Replays, AMatchIsSavedVerifiedAndShownAgainAtTheSameSteps) {
  ASSERT_EQ(Run(PlayedMatch()), 0) << Errors();
  ASSERT_TRUE(std::filesystem::exists(dir.Path() + "/" + kFirstReplay));

  EXPECT_EQ(Stakkor(std::string("--headless --replay ") + kFirstReplay + " --verify"), 0) << dir.Read("err.txt");
  EXPECT_NE(Out().find(std::string("stakkor: ") + kFirstReplay + ": reproduces "), std::string::npos) << Out();

  // The viewer starts the match at 0 on its clock: step n at 26 n. The
  // replayed pause shows "PAUSED" for a second.
  const std::string view = DumpAt(10, "start.json") + ShotAt(26 * 13 + 1, "view.png") +
                           DumpAt(26 * 13 + 1, "view.json") + ShotAt(26 * 14 + 200, "view-paused.png");
  ASSERT_EQ(View(kFirstReplay, view), 0) << Errors();
  ASSERT_EQ(Dump("start.json")["lastTickTime"].Int(), 0);
  const Json live = Dump("live.json"), shown = Dump("view.json");
  for (const char* field : {"seed", "gravityCountdown", "matchSeed"}) {
    EXPECT_EQ(shown[field].number, live[field].number) << field;
  }
  EXPECT_EQ(shown["players"][0]["well"].text, live["players"][0]["well"].text);
  EXPECT_EQ(shown["players"][0]["pieceX"].Int(), live["players"][0]["pieceX"].Int());
  EXPECT_EQ(shown["players"][0]["controlHandler"].text, "ArrowKeysUpRotate");
  EXPECT_EQ(CompareOutsideLegend(Shot("live.png"), Shot("view.png")), "");
  EXPECT_EQ(TextAt(Shot("view.png"), 4, 238, 6), "REPLAY");
  EXPECT_EQ(TextAt(Shot("view-paused.png"), 272, 233, 6), "PAUSED");
  EXPECT_EQ(CompareOutsideLegend(Shot("live-paused.png"), Shot("view-paused.png")), "");
}

TEST_F(Replays, AReplayWithAnyByteChangedIsRefusedWithAMessage) {
  ASSERT_EQ(Run(PlayedMatch()), 0) << Errors();
  const std::string good = dir.Read(kFirstReplay);
  ASSERT_GT(good.size(), 50u);
  for (size_t at = 0; at < good.size(); ++at) {
    std::string damaged = good;
    damaged[at] = static_cast<char>(damaged[at] ^ 0x20);
    WriteFile("damaged.rpl", damaged);
    ASSERT_EQ(Stakkor("--headless --replay damaged.rpl --verify"), 2) << "byte " << at;
    ASSERT_NE(Errors().find("stakkor: damaged.rpl: cannot play this replay: "), std::string::npos) << Errors();
  }
  // Shown, not checked: refused the same way before any window opens.
  EXPECT_EQ(Stakkor("--headless --replay damaged.rpl"), 2);
  WriteFile("short.rpl", good.substr(0, good.size() - 1));
  EXPECT_EQ(Stakkor("--replay short.rpl --verify"), 2);
  EXPECT_NE(Errors().find("damaged"), std::string::npos) << Errors();
}

TEST_F(Replays, BadReplayCommandLinesAreRefused) {
  for (const char* args :
       {"--verify", "--headless --speed 2 --script x", "--replay", "--replay f.rpl --speed 0",
        "--replay f.rpl --speed 17", "--replay f.rpl --speed x", "--replay f.rpl --verify --script s"}) {
    EXPECT_EQ(Stakkor(args), 2) << args;
    EXPECT_NE(Errors().find("usage:"), std::string::npos) << args;
  }
  EXPECT_EQ(Stakkor("--headless --replay missing.rpl --verify"), 2);
  EXPECT_NE(Errors().find("missing.rpl: cannot play this replay: it cannot be read"), std::string::npos) << Errors();
  WriteFile("notes.rpl", "these are notes");
  EXPECT_EQ(Stakkor("--headless --replay notes.rpl"), 2);
  EXPECT_NE(Errors().find("not a replay"), std::string::npos) << Errors();
}

TEST_F(Replays, TheHiscoreTableMarksTheEntryWithAReplayAndRPlaysIt) {
  // A table of small results: five drops earn position 5.
  std::vector<HiscoreRow> before;
  for (int i = 0; i < 10; ++i) before.push_back({9 - i, 0, 0, "OLD"});
  WriteFile("HISCORE.DAT", HiscoreFile(before));
  std::string script = SkipTitle() + Hold(kStart, kStart + 5, "RETURN");
  for (int step = 1; step <= 9; step += 2) script += Press(Step(step), "CTRL");
  script += Press(Step(11), "ESCAPE") + Hold(1400, 1405, "A") + Hold(1420, 1425, "B") + Hold(1600, 1606, "RETURN") +
            ShotAt(1700, "table.png");
  // R plays the chosen entry's match; Escape stops it; the table is back.
  script += Hold(1800, 1806, "R") + ShotAt(1800 + 26 * 3 + 1, "replay.png") + Hold(1900, 1906, "ESCAPE") +
            ShotAt(2000, "again.png") + Hold(2100, 2106, "ESCAPE") + Hold(2200, 2206, "ESCAPE") +
            LeaveClosingLogo(2300);
  ASSERT_EQ(Run(script), 0) << Errors();

  constexpr int kLine5 = 100 + 28 * 6;
  const platform::RgbPicture table = Shot("table.png");
  EXPECT_EQ(TextAt(table, 623, kLine5, 1, 14), "<");
  EXPECT_EQ(TextAt(table, 623, kLine5 - 28, 1, 14), "?");  // the entries before have none
  EXPECT_EQ(TextAt(table, 128, 422, 24), Spaced("UP/DOWN-CHOOSE  R-REPLAY"));
  const platform::RgbPicture replay = Shot("replay.png");
  EXPECT_EQ(TextAt(replay, 4, 238, 6), "REPLAY");
  EXPECT_EQ(TextAt(replay, 4, 266, 6), Spaced("STEP 3"));
  const platform::RgbPicture again = Shot("again.png");
  EXPECT_EQ(CompareOutsideLegend(table, again), "");

  // The table file keeps its format; the link lives beside the replays.
  bool checksumOk = false;
  const std::vector<HiscoreRow> after = ReadHiscoreFile(dir.Read("HISCORE.DAT"), &checksumOk);
  EXPECT_TRUE(checksumOk);
  ASSERT_EQ(after.size(), 10u);
  EXPECT_EQ(after[5].name, "AB");
  EXPECT_EQ(dir.Read("replays/hiscore-links.txt"), "match-000001.rpl 5 0 0 4142\n");
}

TEST_F(Replays, ATwoPlayerMatchIsRecordedAndVerifies) {
  // Player 1 drops with SHIFT, player 2 turns with DOWN and drops with CTRL,
  // then switches its layout with F2; Escape ends the match.
  std::string script;
  for (int step = 1; step <= 9; step += 2) script += Press(Step(step), "SHIFT") + Press(Step(step + 1), "DOWN");
  script += Press(Step(12), "CTRL") + Press(Step(14), "F2") + Press(Step(16), "UP") + Press(Step(20), "ESCAPE");
  ASSERT_EQ(RunProgram(dir.Path(), MATCH_RUNNER, "2 normal --start-at " + std::to_string(kStart), script), 0)
      << Errors();
  EXPECT_EQ(Stakkor(std::string("--headless --replay ") + kFirstReplay + " --verify"), 0) << Errors();
  EXPECT_NE(Out().find("player 2: "), std::string::npos) << Out();
}

}  // namespace
}  // namespace e2e
