// Finding data files: loose, in the archives in their order, in the tree.
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "media/data_file.h"
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

}  // namespace
