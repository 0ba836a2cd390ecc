// The committed corpus is what its recorder makes: the same files, byte for
// byte, so that the command in corpus/README.md remakes it.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string Bytes(const fs::path& path) {
  std::stringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

std::set<std::string> Replays(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.path().extension() == ".rpl") names.insert(entry.path().filename().string());
  }
  return names;
}

TEST(ReplayCorpusRecorder, MakesTheCommittedCorpusByteForByte) {
  std::string pattern = (fs::temp_directory_path() / "stakkor-corpus-XXXXXX").string();
  ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
  const fs::path made = pattern;
  const int status = std::system((std::string(REPLAY_CORPUS_RECORDER) + " " + made.string() + " >" +
                                  (made / "log.txt").string() + " 2>&1").c_str());
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << Bytes(made / "log.txt");
  EXPECT_EQ(Replays(made), Replays(REPLAY_CORPUS_DIR));
  for (const std::string& name : Replays(REPLAY_CORPUS_DIR)) {
    EXPECT_EQ(Bytes(made / name), Bytes(fs::path(REPLAY_CORPUS_DIR) / name))
        << name << ": the recorder now makes other bytes; when that is meant, remake the corpus (corpus/README.md)";
  }
  fs::remove_all(made);
}

}  // namespace
