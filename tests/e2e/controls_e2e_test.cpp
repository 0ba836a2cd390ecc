// Pads, remapped keys, the options screen and the settings file, through
// the real program: matches played with pads alone, a key changed in the
// file and on the screen, and a settings file full of garbage.
#include <filesystem>
#include <sstream>

#include "tests/e2e/e2e_fixture.h"

namespace e2e {
namespace {

constexpr uint32_t kStart = 1000;
constexpr uint32_t Step(int n, uint32_t start = kStart) { return start + 26 * static_cast<uint32_t>(n); }

// A pad button pressed from `time` - 3 to `time` + 3, as Press does for keys.
std::string PadPress(uint32_t time, int pad, const std::string& button) {
  const std::string name = "pad " + std::to_string(pad) + " " + button;
  return std::to_string(time - 3) + " " + name + " down\n" + std::to_string(time + 3) + " " + name + " up\n";
}
std::string PadConnect(uint32_t time, int pad) {
  return std::to_string(time) + " pad " + std::to_string(pad) + " connect\n";
}

// With a pad alone: A ends the title as Return does and, in the menu, A
// takes the entry that is highlighted.
std::string SkipTitleWithPad() { return PadPress(kSkipTitleAt + 3, 0, "a"); }

class Controls : public ProgramRun {
 protected:
  std::string SettingsFile() const { return dir.Read("Kolvanic/Stakkor/stakkor.conf"); }
  void StoreSettings(const std::string& text) const {
    std::filesystem::create_directories(dir.Path() + "/Kolvanic/Stakkor");
    WriteFile("Kolvanic/Stakkor/stakkor.conf", text);
  }
};

TEST_F(Controls, AOnePlayerMatchWithAPadAloneFromTitleToClosingLogo) {
  // Small results in the table, so the match earns a place.
  std::vector<HiscoreRow> table;
  for (int i = 0; i < 10; ++i) table.push_back({9 - i, 0, 0, "OLD"});
  WriteFile("HISCORE.DAT", HiscoreFile(table));
  const Straight expected = DropStraight(kStart, false, 1000);
  ASSERT_TRUE(expected.over);
  const int locks = expected.locks;

  std::string script = PadConnect(0, 0) + SkipTitleWithPad() + PadPress(kStart + 3, 0, "a");
  // B drops every second step until the spawn is blocked.
  for (int step = 1; step <= 2 * locks + 1; step += 2) script += PadPress(Step(step), 0, "b");
  const uint32_t over = Step(2 * locks + 4) + 1;
  script += DumpAt(over, "over.json");
  // The name, as arcade tables take it: up starts a letter at A and moves
  // it on, A keeps it, B takes the last one back, Start ends the entry.
  uint32_t at = Step(2 * locks + 5 * 38);
  for (const char* button : {"dpup", "dpup", "a", "dpup", "b", "dpup", "dpup", "dpup"}) {
    script += PadPress(at, 0, button);
    at += 20;
  }
  script += ShotAt(at, "entry.png") + PadPress(at + 20, 0, "start") + PadPress(at + 200, 0, "a");
  // The menu again: down three times to QUIT, A; A leaves the closing logo.
  const uint32_t menu = at + 400;
  script += PadPress(menu, 0, "dpdown") + PadPress(menu + 20, 0, "dpdown") + PadPress(menu + 40, 0, "dpdown") +
            PadPress(menu + 60, 0, "a") + PadPress(menu + 300, 0, "a");
  ASSERT_EQ(Run(script), 0) << Errors();

  const Json dump = Dump("over.json");
  EXPECT_EQ(dump["matchSeed"].Int(), static_cast<int>(kStart));
  EXPECT_EQ(dump["playerCount"].Int(), 1);
  EXPECT_EQ(dump["players"][0]["well"].text, expected.well.Digits());
  EXPECT_EQ(dump["players"][0]["points"].Int(), locks);
  EXPECT_EQ(dump["controlLayout"][0].Int(), 0);
  bool checksumOk = false;
  const std::vector<HiscoreRow> after = ReadHiscoreFile(dir.Read("HISCORE.DAT"), &checksumOk);
  ASSERT_EQ(after.size(), 10u);
  EXPECT_TRUE(checksumOk);
  EXPECT_EQ(after[0].points, locks);
  EXPECT_EQ(after[0].name, "BC");
  EXPECT_EQ(after[1].name, "OLD");
}

TEST_F(Controls, ATwoPlayerMatchWithTwoPadsEachDrivingItsOwnWell) {
  const Straight expected = DropStraight(kStart, false, 1000, 1);
  ASSERT_TRUE(expected.over);
  const int locks = expected.locks;
  // Down, down, A: two players; up, up, A: a "NORMAL" match.
  std::string script = PadConnect(0, 0) + PadConnect(10, 1) + SkipTitleWithPad() + PadPress(900, 1, "dpdown") +
                       PadPress(930, 0, "dpdown") + PadPress(960, 1, "a") + PadPress(980, 0, "dpup") +
                       std::to_string(985) + " pad 1 axis lefty -30000\n" + std::to_string(991) +
                       " pad 1 axis lefty 0\n" + PadPress(kStart + 3, 1, "a");
  // Player 2 moves right once with the stick; player 1 drops with B.
  script += std::to_string(Step(2) - 3) + " pad 1 axis leftx 32767\n" + std::to_string(Step(2) + 3) +
            " pad 1 axis leftx 0\n";
  for (int step = 1; step <= 2 * locks + 1; step += 2) script += PadPress(Step(step), 0, "b");
  const uint32_t over = Step(2 * locks + 4) + 1;
  script += DumpAt(over, "over.json") + ShotAt(over, "over.png");
  // The result screen: B leaves it; in the menu up (wrapping to QUIT) and
  // A end the run; Start leaves the closing logo.
  const uint32_t result = Step(2 * locks + 5 * 38);
  script += ShotAt(result, "result.png") + PadPress(result + 10, 1, "b") + PadPress(result + 100, 1, "dpup") +
            PadPress(result + 130, 1, "a") + PadPress(result + 400, 0, "start");
  ASSERT_EQ(Run(script), 0) << Errors();

  const Json dump = Dump("over.json");
  EXPECT_EQ(dump["matchSeed"].Int(), static_cast<int>(kStart));
  EXPECT_EQ(dump["playerCount"].Int(), 2);
  EXPECT_EQ(dump["blobStyle"].Int(), 0);
  const Json& p1 = dump["players"][0];
  const Json& p2 = dump["players"][1];
  EXPECT_EQ(p1["well"].text, expected.well.Digits());
  EXPECT_EQ(p1["losses"].Int(), -1);
  EXPECT_EQ(p2["state"].Int(), 100);
  EXPECT_EQ(p2["pieceX"].Int(), 4);  // spawned at 3, one step right
  EXPECT_EQ(p2["well"].text, Well{}.Digits());
  const platform::RgbPicture shot = Shot("over.png");
  EXPECT_EQ(CompareWellWithShot(p1, shot, 70, true), "");
  EXPECT_EQ(CompareWellWithShot(p2, shot, 370, false), "");
  EXPECT_EQ(TextAt(Shot("result.png"), 320 - 16 * 12 / 2, 320 + 7, 12), Spaced("PLAYER 2 - 1"));
}

TEST_F(Controls, AKeyChangedInTheSettingsFileActsAndIsNamedInTheLegend) {
  StoreSettings("one_player.layout1.left = J\nplayer1_of_two.layout1.drop = Right Shift\n");
  const std::string script = SkipTitle() + Hold(kStart, kStart + 5, "RETURN") + Press(Step(1), "LEFT") +
                             DumpAt(Step(2), "left.json") + Press(Step(3), "J") + DumpAt(Step(4), "j.json") +
                             ShotAt(Step(4), "legend.png") + Hold(Step(6), Step(7), "ESCAPE") +
                             Hold(Step(20), Step(20) + 6, "ESCAPE") + Hold(Step(30), Step(30) + 6, "ESCAPE") +
                             LeaveClosingLogo(Step(40));
  ASSERT_EQ(Run(script), 0) << Errors();
  const Json left = Dump("left.json"), j = Dump("j.json");
  EXPECT_EQ(left["players"][0]["pieceX"].Int(), 3);  // Left no longer moves
  EXPECT_EQ(j["players"][0]["pieceX"].Int(), 2);     // J does
  const platform::RgbPicture legend = Shot("legend.png");
  EXPECT_EQ(TextAt(legend, 436, 70, 6), "J-LEFT");
  EXPECT_EQ(TextAt(legend, 436, 98, 11), "RIGHT-RIGHT");
  EXPECT_EQ(TextAt(legend, 436, 154, 9), "CTRL-DROP");
  EXPECT_EQ(Errors().find("stakkor.conf"), std::string::npos) << Errors();
  // Written back whole: the two changed keys kept, every other setting added.
  const std::string stored = SettingsFile();
  EXPECT_NE(stored.find("one_player.layout1.left = J\n"), std::string::npos) << stored;
  EXPECT_NE(stored.find("player1_of_two.layout1.drop = Right Shift\n"), std::string::npos) << stored;
  EXPECT_NE(stored.find("one_player.layout1.right = Right\n"), std::string::npos) << stored;
  EXPECT_EQ(Options(), "0 0 0");  // the old options file stays as it was
}

TEST_F(Controls, TheOptionsScreenTakesANewKeyThatThenActsInTheMatch) {
  // O in the menu; Down to the left key of the one-player layout 1; Return,
  // then K as the new key; Escape back to the menu; Return starts a match.
  std::string script = SkipTitle() + Hold(850, 855, "O") + ShotAt(900, "options.png") + Hold(920, 925, "DOWN") +
                       Hold(960, 965, "RETURN") + ShotAt(990, "press.png") + Hold(1000, 1005, "K") +
                       ShotAt(1040, "taken.png") + Hold(1100, 1105, "ESCAPE");
  const uint32_t start = 1200;
  script += Hold(start, start + 5, "RETURN") + Press(Step(1, start), "K") + DumpAt(Step(2, start), "k.json") +
            ShotAt(Step(2, start), "legend.png") + Hold(Step(6, start), Step(7, start), "ESCAPE") +
            Hold(Step(20, start), Step(20, start) + 6, "ESCAPE") + Hold(Step(30, start), Step(30, start) + 6, "ESCAPE") +
            LeaveClosingLogo(Step(40, start));
  ASSERT_EQ(Run(script), 0) << Errors();
  EXPECT_EQ(TextAt(Shot("options.png"), 320 - 7 * 16 / 2, 8, 7), "OPTIONS");
  EXPECT_EQ(TextAt(Shot("options.png"), 208, 36, 20), Spaced("ONE PLAYER, LAYOUT 1"));
  EXPECT_EQ(TextAt(Shot("options.png"), 208, 36 + 23, 4), "LEFT");
  EXPECT_EQ(TextAt(Shot("press.png"), 208, 36 + 23, 11), Spaced("PRESS A KEY"));
  EXPECT_EQ(TextAt(Shot("taken.png"), 208, 36 + 23, 2), "K?");
  const Json k = Dump("k.json");
  EXPECT_EQ(k["matchSeed"].Int(), static_cast<int>(start));
  EXPECT_EQ(k["players"][0]["pieceX"].Int(), 2);
  EXPECT_EQ(TextAt(Shot("legend.png"), 436, 70, 6), "K-LEFT");
  EXPECT_NE(SettingsFile().find("one_player.layout1.left = K\n"), std::string::npos) << SettingsFile();
}

TEST_F(Controls, WithAPadAloneTheOptionsGiveTheDropToAnotherButton) {
  // Y opens the options; down eight times to PAD DROP; A, then X as the new
  // button; B back to the menu, A starts the match, X drops, Back ends it.
  std::string script = PadConnect(0, 0) + SkipTitleWithPad() + PadPress(853, 0, "y");
  for (int k = 0; k < 8; ++k) script += PadPress(883 + 20 * k, 0, "dpdown");
  script += PadPress(1053, 0, "a") + PadPress(1103, 0, "x") + ShotAt(1130, "taken.png") + PadPress(1153, 0, "b");
  const uint32_t start = 1300;
  script += PadPress(start + 3, 0, "a") + PadPress(Step(1, start), 0, "b") + PadPress(Step(3, start), 0, "x") +
            DumpAt(Step(4, start), "x.json") + PadPress(Step(6, start), 0, "back") + PadPress(Step(30, start), 0, "a") +
            PadPress(Step(40, start), 0, "dpup") + PadPress(Step(41, start), 0, "a") + PadPress(Step(60, start), 0, "a");
  ASSERT_EQ(Run(script), 0) << Errors();
  EXPECT_EQ(TextAt(Shot("taken.png"), 16, 36 + 23 * 8, 8), Spaced("PAD DROP"));
  EXPECT_EQ(TextAt(Shot("taken.png"), 208, 36 + 23 * 8, 2), "X?");
  const Json x = Dump("x.json");
  EXPECT_EQ(x["matchSeed"].Int(), static_cast<int>(start));
  EXPECT_EQ(x["players"][0]["points"].Int(), 1);  // B no longer drops, X does
  EXPECT_NE(SettingsFile().find("pad.drop = x\n"), std::string::npos) << SettingsFile();
}

TEST_F(Controls, ASettingsFileFullOfGarbageIsSurvivedReportedOnceAndMended) {
  std::string garbage = "music_volume = loud\n";
  garbage += std::string("\0\x01\xfe\xff binary\n", 12);
  garbage += "one_player.layout1.drop = NoSuchKey\n";
  garbage += "pad.drop = b b b b b b\n";
  garbage += "=\n= = =\nscaling\nfullscreen = sometimes\n";
  garbage += std::string(100000, 'x') + "\n";
  garbage += "my_own_line = stays\n";
  StoreSettings(garbage);
  auto playAndEnd = [](uint32_t start) {
    return SkipTitle() + Hold(start, start + 5, "RETURN") + Press(Step(1, start), "CTRL") +
           DumpAt(Step(2, start), "drop.json") + ShotAt(Step(2, start), "legend.png") +
           Hold(Step(6, start), Step(7, start), "ESCAPE") + Hold(Step(20, start), Step(20, start) + 6, "ESCAPE") +
           Hold(Step(30, start), Step(30, start) + 6, "ESCAPE") + LeaveClosingLogo(Step(40, start));
  };
  ASSERT_EQ(Run(playAndEnd(kStart)), 0) << Errors();
  // The game's own keys work and are named as ever.
  EXPECT_EQ(Dump("drop.json")["players"][0]["points"].Int(), 1);
  EXPECT_EQ(TextAt(Shot("legend.png"), 436, 154, 9), "CTRL-DROP");
  const std::string errors = Errors();
  for (const char* bad : {"music_volume = loud", "NoSuchKey", "pad.drop", "fullscreen = sometimes"}) {
    const size_t at = errors.find(bad);
    EXPECT_NE(at, std::string::npos) << bad << "\n" << errors;
    EXPECT_EQ(errors.find(bad, at + 1), std::string::npos) << bad;  // once
  }
  const std::string mended = SettingsFile();
  EXPECT_NE(mended.find("music_volume = 100\n"), std::string::npos);
  EXPECT_NE(mended.find("one_player.layout1.drop = Ctrl\n"), std::string::npos);
  EXPECT_NE(mended.find("my_own_line = stays\n"), std::string::npos);
  EXPECT_NE(mended.find(std::string(100000, 'x')), std::string::npos);
  EXPECT_NE(mended.find(std::string("\0\x01\xfe\xff binary\n", 12)), std::string::npos);

  // The next run has nothing to report and leaves the file as it is.
  ASSERT_EQ(Run(playAndEnd(kStart)), 0) << Errors();
  EXPECT_EQ(Errors().find("stakkor.conf"), std::string::npos) << Errors();
  EXPECT_EQ(SettingsFile(), mended);
}

TEST_F(Controls, ASettingsFileTooLargeToReadIsLeftAlone) {
  const std::string huge = "music_volume = 5\n" + std::string((1 << 20) + 10, '#');
  StoreSettings(huge);
  const std::string script = SkipTitle() + Hold(900, 906, "ESCAPE") + LeaveClosingLogo(1000);
  ASSERT_EQ(Run(script), 0) << Errors();
  EXPECT_NE(Errors().find("stakkor.conf: cannot be read"), std::string::npos) << Errors();
  EXPECT_EQ(SettingsFile(), huge);
}

}  // namespace
}  // namespace e2e
