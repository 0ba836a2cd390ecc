// The headless run of the whole program: its command line, exit codes and
// outputs, as scripts and CI use them.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/png.h"

namespace {

namespace fs = std::filesystem;

class HarnessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/stakkor-harness-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir = pattern;
  }
  void TearDown() override { fs::remove_all(dir); }

  // Runs stakkor in the test's directory; returns its exit status.
  int Run(const std::string& script, const std::string& flags) {
    std::ofstream(dir + "/run.txt") << script;
    std::string command = "cd " + dir + " && XDG_CONFIG_HOME=" + dir + " " + STAKKOR_PROGRAM +
                          " --headless --script run.txt " + flags + " >out.txt 2>err.txt";
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string Read(const std::string& name) {
    std::ifstream in(dir + "/" + name);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  std::string dir;
};

TEST_F(HarnessTest, ABadScriptStopsBeforeTheGameWithFileAndLine) {
  EXPECT_EQ(Run("0 down LEFT\n# fine so far\n10 jump\n", ""), 2);
  EXPECT_EQ(Read("err.txt"), "run.txt:3: unknown verb \"jump\"\n");
  EXPECT_FALSE(fs::exists(dir + "/HISCORE.DAT"));
}

TEST_F(HarnessTest, TheCommandLineAnswersAsAnyLinuxProgram) {
  auto run = [&](const std::string& args) {
    std::string command = "cd " + dir + " && " + STAKKOR_PROGRAM + " " + args + " >out.txt 2>err.txt";
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };
  EXPECT_EQ(run("--help"), 0);
  EXPECT_EQ(Read("out.txt").rfind("usage: stakkor", 0), 0u) << Read("out.txt");
  EXPECT_NE(Read("out.txt").find("--fullscreen"), std::string::npos);
  EXPECT_EQ(run("--version"), 0);
  EXPECT_EQ(Read("out.txt"), std::string("stakkor ") + STAKKOR_VERSION + "\n");
  // Wrong: usage on standard error, status 2, and the game never starts.
  for (const char* bad : {"--headless", "--fast", "--script x", "--max-ms 12x", "--max-ms", "-q", "extra"}) {
    EXPECT_EQ(run(bad), 2) << bad;
    EXPECT_NE(Read("err.txt").find("usage: stakkor"), std::string::npos) << bad;
    EXPECT_EQ(Read("out.txt"), "") << bad;
  }
  EXPECT_NE(Read("err.txt").find("unexpected argument \"extra\""), std::string::npos);
  // Values after '=' as well as after a space.
  std::ofstream(dir + "/run.txt") << "10 dump d.json\n";
  EXPECT_EQ(run("--headless --script=run.txt --max-ms=20"), 3);
}

TEST_F(HarnessTest, WithoutASoundDeviceTheGameRunsSilentWithNoBox) {
  // The real window on SDL's dummy video driver, and an audio driver that
  // does not exist: no device at all. The game says so once and goes on.
  std::string command = "cd " + dir + " && XDG_CONFIG_HOME=" + dir + " XDG_DATA_HOME=" + dir +
                        " SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=none-such timeout -s KILL 3 " + STAKKOR_PROGRAM +
                        " --window >out.txt 2>err.txt";
  int status = std::system(command.c_str());
  EXPECT_EQ(WEXITSTATUS(status), 137) << "the game should still be running when it is stopped";
  // Only that line (the shell may add a word about the kill).
  const std::string errors = Read("err.txt");
  EXPECT_EQ(errors.rfind("stakkor: no sound device: playing without sound\n", 0), 0u) << errors;
  EXPECT_EQ(errors.find("MIDI"), std::string::npos) << errors;
  EXPECT_EQ(errors.find("stakkor:", 1), std::string::npos) << errors;
}

TEST_F(HarnessTest, MissingDataIsOneMessageNamingThePlacesSearched) {
  std::ofstream(dir + "/run.txt") << "5000 dump d.json\n";
  std::string command = "cd " + dir + " && XDG_CONFIG_HOME=" + dir + " STAKKOR_DATA_DIR=" + dir +
                        "/not-there " + STAKKOR_PROGRAM + " --headless --script run.txt --max-ms 6000 >out.txt 2>err.txt";
  int status = std::system(command.c_str());
  EXPECT_EQ(WEXITSTATUS(status), 1);
  const std::string errors = Read("err.txt");
  EXPECT_EQ(errors.rfind("[Stakkor] The game's data files were not found.", 0), 0u) << errors;
  EXPECT_NE(errors.find(dir + "/not-there"), std::string::npos) << errors;
  EXPECT_EQ(errors.find("[Error"), std::string::npos) << errors;  // not a box per file
  EXPECT_EQ(errors.find("[", 1), std::string::npos) << errors;
}

TEST_F(HarnessTest, MaxMsEndsTheRunWithItsOutputsWritten) {
  EXPECT_EQ(Run("100 shot early.png\n100 dump early.json\n400 shot late.png\n", "--max-ms 300"), 3);
  platform::RgbPicture picture;
  ASSERT_TRUE(platform::ReadPngRgb(dir + "/early.png", picture));
  EXPECT_EQ(picture.width, 640);
  EXPECT_EQ(picture.height, 480);
  // Outputs after the end show the state the run ended in.
  ASSERT_TRUE(platform::ReadPngRgb(dir + "/late.png", picture));
  std::string dump = Read("early.json");
  EXPECT_NE(dump.find("\"clock\": 100"), std::string::npos) << dump;
}

TEST_F(HarnessTest, AWaitForFocusJumpsTheClockToTheScriptedMessage) {
  // With the focus gone the game waits for a message; the clock jumps to the
  // next one the script posts instead of counting every millisecond.
  EXPECT_EQ(Run("50 focus off\n60000 dump back.json\n60000 focus on\n", "--max-ms 60100"), 3);
  std::string dump = Read("back.json");
  EXPECT_NE(dump.find("\"clock\": 60000"), std::string::npos) << dump;
}

}  // namespace
