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

TEST_F(HarnessTest, BadCommandLinesAreRefused) {
  std::string command = std::string(STAKKOR_PROGRAM) + " --headless >/dev/null 2>&1";
  int status = std::system(command.c_str());
  EXPECT_EQ(WEXITSTATUS(status), 2);
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
