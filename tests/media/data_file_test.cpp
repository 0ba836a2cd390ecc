// Finding data files: loose, in the archives in their order, in the tree.
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "media/data_file.h"
#include "platform/platform.h"
#include "tests/media/media_test_support.h"

namespace fs = std::filesystem;

namespace {

class DataFileTest : public MediaTest {};

Bytes ReadOpened(const char* name) {
  std::FILE* f = OpenDataFile(name);
  if (!f) return {};
  Bytes bytes(dataFileSize);
  EXPECT_EQ(std::fread(bytes.data(), 1, bytes.size(), f), bytes.size());
  std::fclose(f);
  return bytes;
}

std::string Search(const char* name) {
  char buffer[1024] = {};
  std::strcpy(buffer, name);
  fileSearchDone = false;
  FindFileInTree(".", buffer);
  return buffer;
}

TEST_F(DataFileTest, LooseFileThenArchivesInTheirOrder) {
  const char* archives[] = {"ONLY.ONE", "DATA.ONE", "AUDIO.ONE", "VIDEO.ONE"};
  for (uint8_t i = 0; i < 4; ++i) {
    WriteFile(archives[i], MakeArchive({{"pad", Bytes(5, 0)}, {"X.WAV", {static_cast<uint8_t>(10 + i)}}}));
  }
  WriteFile("X.WAV", {1, 2, 3});
  EXPECT_EQ(ReadOpened("X.WAV"), (Bytes{1, 2, 3}));
  EXPECT_EQ(dataFileOffset, 0u);
  for (uint8_t i = 0; i < 4; ++i) {
    fs::remove(i == 0 ? "X.WAV" : archives[i - 1]);
    std::FILE* f = OpenDataFile("x.wav");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(dataFileOffset, 6u + 2 * 1032 + 5);
    EXPECT_EQ(static_cast<uint32_t>(std::ftell(f)), dataFileOffset);
    EXPECT_EQ(std::fgetc(f), 10 + i);
    std::fclose(f);
  }
}

TEST_F(DataFileTest, ArchivesThatHoldNothingArePassedOver) {
  Bytes mixed = MakeArchive({{"X", {1}}});
  mixed[1] = 'o';
  WriteFile("ONLY.ONE", mixed);
  Bytes empty = MakeArchive({{"X", {2}}});
  PutLe32(empty, 2, 0);
  WriteFile("DATA.ONE", empty);
  WriteFile("AUDIO.ONE", MakeArchive({{"X", {3}}}));
  EXPECT_EQ(ReadOpened("X"), Bytes{3});
}

TEST_F(DataFileTest, MissingNameGivesNullAndZeroes) {
  WriteFile("A", {1, 2});
  EXPECT_EQ(ReadOpened("A").size(), 2u);
  EXPECT_EQ(OpenDataFile("NOWHERE.PIX"), nullptr);
  EXPECT_EQ(dataFileOffset, 0u);
  EXPECT_EQ(dataFileSize, 0u);
}

// ftell reports in `long`, which has 32 bits on some systems: a small file
// must not read as too large there, and a huge one is capped on 64 bits.
TEST(FileLengthTest, CappedAtThirtyTwoBitsWhateverTheWidthOfLong) {
  EXPECT_EQ(CapFileLength(int32_t{0}), 0u);
  EXPECT_EQ(CapFileLength(int32_t{3}), 3u);
  EXPECT_EQ(CapFileLength(int32_t{INT32_MAX}), uint32_t{INT32_MAX});
  EXPECT_EQ(CapFileLength(int64_t{3}), 3u);
  EXPECT_EQ(CapFileLength(int64_t{UINT32_MAX}), UINT32_MAX);
  EXPECT_EQ(CapFileLength(int64_t{UINT32_MAX} + 1), UINT32_MAX);
  EXPECT_EQ(CapFileLength(int64_t{1} << 40), UINT32_MAX);
  EXPECT_EQ(CapFileLength(uint64_t{1} << 40), UINT32_MAX);
  EXPECT_EQ(CapFileLength(int32_t{-1}), 0u);
}

TEST_F(DataFileTest, TreeSearchReturnsThePathAsListed) {
  fs::create_directories("Sub/Deeper");
  fs::create_directories("FONT1.PIX");  // a directory of the name is searched into, never taken
  WriteFile("Sub/Deeper/Font1.Pix", {4, 5, 6});
  EXPECT_EQ(Search("FONT1.PIX"), "./Sub/Deeper/Font1.Pix");
  EXPECT_TRUE(fileSearchDone);
  EXPECT_EQ(ReadOpened("font1.pix"), (Bytes{4, 5, 6}));
  EXPECT_EQ(ReadOpened("FONT1.PIX"), (Bytes{4, 5, 6}));  // the directory itself does not open
  EXPECT_EQ(dataFileOffset, 0u);
  EXPECT_EQ(dataFileSize, 3u);
  // Not found: the buffer keeps the name and the flag stays clear.
  EXPECT_EQ(Search("OTHER.PIX"), "OTHER.PIX");
  EXPECT_FALSE(fileSearchDone);
}

TEST_F(DataFileTest, TreeSearchNeverFollowsLinksAndIsBounded) {
  fs::create_directories("a/b");
  fs::create_directory_symlink("..", "a/b/up");
  fs::create_directory_symlink(dir_, "a/self");
  EXPECT_EQ(Search("GONE.PIX"), "GONE.PIX");
  // A link to a file is a file like any other.
  WriteFile("target.bin", {9});
  fs::create_symlink(dir_ / "target.bin", "a/b/LINKED.PIX");
  EXPECT_EQ(Search("linked.pix"), "./a/b/LINKED.PIX");

  std::string deep = ".";
  for (int i = 0; i < 40; ++i) deep += "/d";
  fs::create_directories(deep);
  WriteFile(deep + "/DEEP.PIX", {1});
  EXPECT_EQ(Search("DEEP.PIX"), "DEEP.PIX");
}

// The game directory is the current one (headless); the installed data
// directory is a folder beside it, named by STAKKOR_DATA_DIR.
class TwoPlacesTest : public MediaTest {
 protected:
  void SetUp() override {
    MediaTest::SetUp();
    fs::create_directories("game");
    fs::create_directories("installed");
    installed_ = (dir_ / "installed").string();
    ::setenv("STAKKOR_DATA_DIR", installed_.c_str(), 1);
    fs::current_path("game");
  }
  void TearDown() override {
    ::unsetenv("STAKKOR_DATA_DIR");
    MediaTest::TearDown();
  }
  std::string installed_;
};

TEST_F(TwoPlacesTest, ThePlayersLooseFileWinsOverTheInstalledArchive) {
  WriteFile(installed_ + "/DATA.ONE", MakeArchive({{"FONT1.PIX", {7, 7}}, {"HINTER.PIX", {8}}}));
  WriteFile(installed_ + "/MUSIC.MDS", {1});
  WriteFile("FONT1.PIX", {1, 2, 3});
  EXPECT_EQ(ReadOpened("FONT1.PIX"), (Bytes{1, 2, 3}));
  // Not in the player's directory: the installed archive serves it.
  EXPECT_EQ(ReadOpened("hinter.pix"), Bytes{8});
  // So does an archive of the player's own, before the installed one.
  WriteFile("DATA.ONE", MakeArchive({{"HINTER.PIX", {9}}}));
  EXPECT_EQ(ReadOpened("HINTER.PIX"), Bytes{9});
  // The music is a loose file of either place, the player's first.
  EXPECT_EQ(FindGameFile("MUSIC.MDS"), installed_ + "/MUSIC.MDS");
  WriteFile("MUSIC.MDS", {2});
  EXPECT_EQ(FindGameFile("MUSIC.MDS"), "MUSIC.MDS");
}

TEST_F(TwoPlacesTest, NothingOutsideThePlayersDirectoryIsSearched) {
  // Beside and above the game directory: never found.
  WriteFile("../ABOVE.PIX", {1});
  fs::create_directories("../elsewhere");
  WriteFile("../elsewhere/BESIDE.PIX", {1});
  fs::create_directories(installed_ + "/extra");
  WriteFile(installed_ + "/extra/MORE.PIX", {5});
  EXPECT_EQ(OpenDataFile("ABOVE.PIX"), nullptr);
  EXPECT_EQ(OpenDataFile("BESIDE.PIX"), nullptr);
  // Below it, and below the installed data: found by the tree search.
  fs::create_directories("mine/art");
  WriteFile("mine/art/OWN.PIX", {4});
  EXPECT_EQ(ReadOpened("own.pix"), Bytes{4});
  EXPECT_EQ(ReadOpened("MORE.PIX"), Bytes{5});
}

TEST_F(TwoPlacesTest, TheInstalledTreeIsWalkedOnce) {
  fs::create_directories(installed_ + "/sub");
  WriteFile(installed_ + "/sub/FIRST.PIX", {1});
  EXPECT_EQ(ReadOpened("FIRST.PIX"), Bytes{1});
  // The installed data does not change while the game runs: a file put
  // there later is not seen, since the tree is not walked again.
  WriteFile(installed_ + "/sub/LATER.PIX", {2});
  EXPECT_EQ(OpenDataFile("LATER.PIX"), nullptr);
  // The player's own directory is walked on every lookup.
  fs::create_directories("sub");
  WriteFile("sub/LATER.PIX", {3});
  EXPECT_EQ(ReadOpened("LATER.PIX"), Bytes{3});
}

TEST_F(TwoPlacesTest, ANamedPipeOrADirectoryInPlaceOfAFileIsMissing) {
  // A pipe would block open() for good; it counts as missing, so the
  // installed archive serves the name.
  WriteFile(installed_ + "/DATA.ONE", MakeArchive({{"FONT1.PIX", {6}}}));
  ASSERT_EQ(::mkfifo("FONT1.PIX", 0644), 0);
  EXPECT_EQ(ReadOpened("FONT1.PIX"), Bytes{6});
  ASSERT_EQ(::mkfifo("DATA.ONE", 0644), 0);
  EXPECT_EQ(ReadOpened("FONT1.PIX"), Bytes{6});
  ASSERT_EQ(::mkfifo("MUSIC.MDS", 0644), 0);
  EXPECT_EQ(FindGameFile("MUSIC.MDS"), "MUSIC.MDS");  // named, but not a file to read
  std::vector<uint8_t> bytes;
  EXPECT_FALSE(platform::ReadWholeFile("MUSIC.MDS", bytes, 1024));
  EXPECT_EQ(platform::ReadFileStart("MUSIC.MDS", bytes, 16), platform::FileStart::Missing);
}

}  // namespace
