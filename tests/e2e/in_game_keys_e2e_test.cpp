// The keys a one-player match listens to besides the piece keys, through
// the real program: P pauses, F1 switches the layout, F8 the music.
#include <filesystem>
#include <sstream>

#include "tests/e2e/e2e_fixture.h"

namespace e2e {
namespace {

constexpr uint32_t kStart = 1000;
constexpr uint32_t Step(int n) { return kStart + 26 * static_cast<uint32_t>(n); }

// Match, hiscore table, menu and closing logo, left with Escape from `at`
// on. Held for more than a step, as a pause shifts the steps' times.
std::string EscapeToTheEnd(uint32_t at) {
  return Hold(at, at + 30, "ESCAPE") + Hold(at + 300, at + 306, "ESCAPE") + Hold(at + 400, at + 406, "ESCAPE") +
         LeaveClosingLogo(at + 500);
}

using InGameKeys = ProgramRun;

TEST_F(InGameKeys, PHoldsTheGameWhileTheClockMovesOnAndSpaceResumesIt) {
  const std::string script = SkipTitle() + Hold(kStart, kStart + 5, "RETURN") + DumpAt(Step(4) + 1, "before.json") +
                             Press(Step(5), "P") + DumpAt(1400, "paused.json") + ShotAt(1400, "paused.png") +
                             Hold(1500, 1505, "SPACE") + DumpAt(1600, "resumed.json") + ShotAt(1600, "resumed.png") +
                             EscapeToTheEnd(Step(30));
  ASSERT_EQ(Run(script), 0) << Errors();

  const Json before = Dump("before.json"), paused = Dump("paused.json"), resumed = Dump("resumed.json");
  ASSERT_EQ(before["matchSeed"].Int(), static_cast<int>(kStart));
  // Paused in the step at Step(5): the clock went on, the game did not.
  EXPECT_EQ(paused["clock"].Int(), 1400);
  EXPECT_EQ(paused["lastTickTime"].Int(), static_cast<int>(Step(5)));
  EXPECT_EQ(paused["gravityCountdown"].Int(), before["gravityCountdown"].Int());
  const Json& p1 = paused["players"][0];
  EXPECT_EQ(p1["pieceX"].Int(), before["players"][0]["pieceX"].Int());
  EXPECT_EQ(p1["pieceY"].Int(), before["players"][0]["pieceY"].Int());
  EXPECT_EQ(p1["well"].text, before["players"][0]["well"].text);
  EXPECT_EQ(TextAt(Shot("paused.png"), 272, 233, 6), "PAUSED");

  // After Space the steps come again: the gravity step that the pause held
  // back has moved the piece one row down, and the text is gone.
  EXPECT_GT(resumed["lastTickTime"].Int(), 1500);
  EXPECT_EQ(resumed["players"][0]["pieceY"].Int(), before["players"][0]["pieceY"].Int() + 1);
  EXPECT_EQ(CompareWellWithShot(resumed["players"][0], Shot("resumed.png"), 220, false), "");
}

TEST_F(InGameKeys, F1SwitchesTheLayoutAndF8TheMusicAndBothAreStored) {
  StoreOptions("0 0 1");  // music off: none at start-up
  RunOptions options;
  options.audioLog = "audio.txt";
  const uint32_t musicOn = Step(12), musicOff = Step(60);
  const std::string script = SkipTitle() + Hold(kStart, kStart + 5, "RETURN") + ShotAt(Step(2) + 1, "layout0.png") +
                             Press(Step(3), "F1") + DumpAt(Step(4) + 1, "f1.json") + ShotAt(Step(10), "layout1.png") +
                             Press(musicOn, "F8") + DumpAt(Step(13), "on.json") + Press(musicOff, "F8") +
                             DumpAt(Step(61), "off.json") + EscapeToTheEnd(Step(62));
  ASSERT_EQ(Run(script, options), 0) << Errors();

  const platform::RgbPicture layout0 = Shot("layout0.png"), layout1 = Shot("layout1.png");
  EXPECT_EQ(TextAt(layout0, 436, 126, 11), "DOWN-ROTATE");
  EXPECT_EQ(TextAt(layout0, 436, 154, 9), "CTRL-DROP");
  // The switch redraws without presenting: the legend shows from the next
  // frame, that of the gravity step.
  EXPECT_EQ(TextAt(layout1, 436, 126, 9), "UP-ROTATE");
  EXPECT_EQ(TextAt(layout1, 436, 154, 9), "DOWN-DROP");
  const Json f1 = Dump("f1.json");
  EXPECT_EQ(f1["controlLayout"][0].Int(), 1);
  EXPECT_EQ(f1["controlLayout"][1].Int(), 0);
  EXPECT_EQ(f1["players"][0]["controlHandler"].text, "ArrowKeysUpRotate");
  EXPECT_EQ(f1["musicOff"].Int(), 1);

  EXPECT_EQ(Dump("on.json")["musicOff"].Int(), 0);
  EXPECT_EQ(Dump("off.json")["musicOff"].Int(), 1);
  // The music played only between the two presses of F8: its half-second
  // buffer ended there, and nowhere else.
  std::istringstream audio(dir.Read("audio.txt"));
  int buffers = 0;
  for (std::string line; std::getline(audio, line);) {
    if (line.find("music-buffer") == std::string::npos) continue;
    ++buffers;
    const unsigned long time = std::stoul(line);
    EXPECT_GT(time, musicOn) << line;
    EXPECT_LE(time, musicOff) << line;
  }
  EXPECT_GE(buffers, 2);
  EXPECT_EQ(Errors().find("Unable to play music"), std::string::npos);
  EXPECT_EQ(Options(), "1 0 1");
}

TEST_F(InGameKeys, F8WithoutAMusicFileReportsItAndTheMusicStaysOff) {
  StoreOptions("0 0 1");
  std::filesystem::remove(dir.Path() + "/MUSIC.MDS");
  const std::string script = SkipTitle() + Hold(kStart, kStart + 5, "RETURN") + DumpAt(Step(2), "before.json") +
                             Press(Step(3), "F8") + DumpAt(Step(4), "after.json") + EscapeToTheEnd(Step(6));
  ASSERT_EQ(Run(script), 0) << Errors();
  // No try at start-up with the music off: the one message came from F8.
  EXPECT_EQ(Dump("before.json")["musicOff"].Int(), 1);
  EXPECT_EQ(Dump("after.json")["musicOff"].Int(), 1);
  const std::string errors = Errors();
  const std::string box = "[Error loading file] MUSIC.MDS\n[MIDI] Unable to play music!\n";
  const size_t at = errors.find(box);
  EXPECT_NE(at, std::string::npos) << errors;
  EXPECT_EQ(errors.find("[MIDI]", at + box.size()), std::string::npos) << errors;
  EXPECT_EQ(errors.find("[MIDI]"), errors.find(box) + box.find("[MIDI]")) << errors;
  EXPECT_EQ(Options(), "0 0 1");
}

}  // namespace
}  // namespace e2e
