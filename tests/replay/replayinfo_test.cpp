// stakkor-tool replayinfo, run as a user would, on a corpus replay and on
// a damaged copy of it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

struct Result {
  int status;
  std::string out, err;
};

Result Tool(const std::string& args) {
  const fs::path out = fs::temp_directory_path() / "stakkor-replayinfo-out.txt";
  const fs::path err = fs::temp_directory_path() / "stakkor-replayinfo-err.txt";
  const int status =
      std::system((std::string(STAKKOR_TOOL_PATH) + " " + args + " >" + out.string() + " 2>" + err.string()).c_str());
  auto read = [](const fs::path& path) {
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
  };
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, read(out), read(err)};
}

TEST(ReplayInfo, PrintsTheHeaderLengthAndEnd) {
  const std::string file = std::string(REPLAY_CORPUS_DIR) + "/2p-normal-layouts.rpl";
  const Result r = Tool("replayinfo " + file);
  ASSERT_EQ(r.status, 0) << r.err;
  for (const char* line : {"format version 1, game version 1\n", "date: unknown\n",
                           "match: 2 players, NORMAL, seed 1800, music on at the start\n",
                           "player 1: layout 0 (A D, S turns, SHIFT drops), latches at the start 1111\n",
                           "player 2: layout 0 (arrows, DOWN turns, CTRL drops), latches at the start 0000\n",
                           "length: 601 steps (0:15.6)", "events: layout 1 2, layout 2 2\n",
                           "steps with events: 80 layout 1, 160 layout 2, 400 layout 2, 600 layout 1\n",
                           "checkpoints: 37, one every 16 steps\n", "end: the match ended\n",
                           "player 2 at the end: state -1, 735 points, 25 rows, level 5\n"}) {
    EXPECT_NE(r.out.find(line), std::string::npos) << line << "\n" << r.out;
  }
}

TEST(ReplayInfo, ADamagedReplayIsAMessageAndAnError) {
  std::ifstream in(std::string(REPLAY_CORPUS_DIR) + "/1p-normal-short.rpl", std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  bytes[40] = static_cast<char>(bytes[40] ^ 1);
  const fs::path damaged = fs::temp_directory_path() / "stakkor-replayinfo-damaged.rpl";
  std::ofstream(damaged, std::ios::binary) << bytes;
  const Result r = Tool("replayinfo " + damaged.string());
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("not a replay this game can play: it is damaged: its checksum does not match its bytes"),
            std::string::npos)
      << r.err;
  EXPECT_EQ(Tool("replayinfo").status, 2);
  fs::remove(damaged);
}

}  // namespace
