// The run's end when the window goes, and files that are not what they
// seem, through the real program.
#include <sys/stat.h>

#include <filesystem>
#include <sstream>

#include "tests/e2e/e2e_fixture.h"

namespace e2e {
namespace {

using WindowAndFiles = ProgramRun;

TEST_F(WindowAndFiles, ClosingTheWindowAfterACancelledMusicBoxEndsTheRun) {
  // No music file: "Unable to play music!" is answered Cancel, which begins
  // the shutdown; the window closed then takes the screen with it, so the
  // closing logo, which would wait for a key, is skipped.
  std::filesystem::remove(dir.Path() + "/MUSIC.MDS");
  const std::string script = "0 answer cancel\n1500 close\n" + DumpAt(1600, "end.json");
  ASSERT_EQ(Run(script), 0) << Errors();
  const Json end = Dump("end.json");
  EXPECT_EQ(end["clock"].Int(), 1501);  // ended at once, not by --max-ms
  EXPECT_EQ(end["quitRequested"].Int(), 1);
  EXPECT_EQ(end["musicOff"].Int(), 1);
  // The options were saved, with the player's choice of music kept on.
  EXPECT_EQ(Options(), "0 0 0");
  const std::string errors = Errors();
  EXPECT_NE(errors.find("[MIDI] Unable to play music!"), std::string::npos) << errors;
}

TEST_F(WindowAndFiles, ClosingTheWindowDuringTheTitleStopsTheMusicAndOneF8BringsItBack) {
  RunOptions options;
  options.audioLog = "audio.txt";
  // The title goes on after a close (as it always did), but the music has
  // stopped and says so: one F8 in the match starts it again.
  constexpr uint32_t kStart = 2600;
  const uint32_t f8 = kStart + 26 * 5;
  const std::string script = "1500 close\n" + DumpAt(1600, "title.json") + Hold(2000, 2006, "SPACE") +
                             Hold(kStart, kStart + 5, "RETURN") + Press(f8, "F8") + DumpAt(f8 + 30, "match.json") +
                             Hold(f8 + 1500, f8 + 1530, "ESCAPE") + Hold(f8 + 1800, f8 + 1806, "ESCAPE") +
                             Hold(f8 + 1900, f8 + 1906, "ESCAPE") + LeaveClosingLogo(f8 + 2000);
  ASSERT_EQ(Run(script, options), 0) << Errors();
  EXPECT_EQ(Dump("title.json")["musicOff"].Int(), 1);
  EXPECT_EQ(Dump("title.json")["quitRequested"].Int(), 0);
  const Json match = Dump("match.json");
  EXPECT_EQ(match["matchSeed"].Int(), static_cast<int>(kStart));
  EXPECT_EQ(match["musicOff"].Int(), 0);
  // Music buffers end before the close and again after the F8.
  std::istringstream log(dir.Read("audio.txt"));
  bool before = false, after = false;
  for (std::string line; std::getline(log, line);) {
    if (line.find("music-buffer") == std::string::npos) continue;
    const unsigned long time = std::stoul(line);
    before = before || time < 1500;
    after = after || time > f8;
  }
  EXPECT_TRUE(before);
  EXPECT_TRUE(after);
  EXPECT_EQ(Options(), "0 0 0");
}

TEST_F(WindowAndFiles, NamedPipesInPlaceOfFilesAreMissingFilesNotAHang) {
  // Every file the game reads, as a pipe no one writes to: opening one for
  // reading would block for good. Each counts as missing instead.
  std::vector<std::string> names = DataFileNames();
  for (const char* name : {"WURF.WAV", "REIHEN.WAV", "VIERER.WAV", "GAMEOVER.WAV", "START.WAV", "LACH.WAV",
                           "TSCHAU.WAV", "DATA.ONE", "ONLY.ONE", "HISCORE.DAT"}) {
    names.push_back(name);
  }
  for (const std::string& name : names) {
    std::filesystem::remove(dir.Path() + "/" + name);
    ASSERT_EQ(::mkfifo((dir.Path() + "/" + name).c_str(), 0644), 0) << name;
  }
  std::filesystem::create_directories(dir.Path() + "/Kolvanic/Stakkor");
  ASSERT_EQ(::mkfifo((dir.Path() + "/Kolvanic/Stakkor/Options").c_str(), 0644), 0);
  // Title, menu, a short match, the hiscore table (which replaces the pipe
  // with a real table file), the menu and the end.
  const std::string script = SkipTitle() + Hold(1000, 1005, "RETURN") + Hold(1300, 1330, "ESCAPE") +
                             DumpAt(1500, "table.json") + Hold(1600, 1606, "ESCAPE") + Hold(1700, 1706, "ESCAPE") +
                             LeaveClosingLogo(1800);
  ASSERT_EQ(Run(script), 0) << Errors();
  EXPECT_EQ(Dump("table.json")["matchSeed"].Int(), 1000);
  bool checksumOk = false;
  EXPECT_EQ(ReadHiscoreFile(dir.Read("HISCORE.DAT"), &checksumOk).size(), 10u);
  EXPECT_TRUE(checksumOk);
  EXPECT_EQ(Options(), "0 0 0");
}

}  // namespace
}  // namespace e2e
