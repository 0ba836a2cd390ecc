#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/platform.h"
#include "platform/png.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/stakkor-files-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir = pattern;
    ::setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("XDG_CONFIG_HOME");
    fs::remove_all(dir);
  }
  std::string dir;
};

TEST_F(FilesTest, OptionsGoBelowTheConfigHomeAndReadBack) {
  EXPECT_FALSE(ReadOptionValue("SOFTWARE\\Kolvanic\\Stakkor", "Options"));
  ASSERT_TRUE(WriteOptionValue("SOFTWARE\\Kolvanic\\Stakkor", "Options", "0 1 0"));
  EXPECT_TRUE(fs::exists(dir + "/Kolvanic/Stakkor/Options"));
  EXPECT_EQ(ReadOptionValue("SOFTWARE\\Kolvanic\\Stakkor", "Options"), "0 1 0");
  ASSERT_TRUE(WriteOptionValue("SOFTWARE\\Kolvanic\\Stakkor", "Options", "5 -3 0"));
  EXPECT_EQ(ReadOptionValue("SOFTWARE\\Kolvanic\\Stakkor", "Options"), "5 -3 0");
  // Nothing but the value itself is left behind.
  int files = 0;
  for (auto& entry : fs::directory_iterator(dir + "/Kolvanic/Stakkor")) files += entry.is_regular_file();
  EXPECT_EQ(files, 1);
  // Key paths cannot climb out of the store.
  EXPECT_FALSE(WriteOptionValue("SOFTWARE\\..\\x", "Options", "1"));
  EXPECT_FALSE(WriteOptionValue("SOFTWARE\\Kolvanic", "../Options", "1"));
}

TEST_F(FilesTest, AtomicWriteReplacesTheWholeFile) {
  std::string path = dir + "/HISCORE.DAT";
  ASSERT_TRUE(WriteFileAtomically(path, "long old contents", 17));
  ASSERT_TRUE(WriteFileAtomically(path, "new", 3));
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(ReadWholeFile(path, bytes, 100));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "new");
  EXPECT_FALSE(ReadWholeFile(path, bytes, 2));  // over the limit
  EXPECT_FALSE(WriteFileAtomically(dir + "/missing/x", "a", 1));
}

TEST_F(FilesTest, ListingNeverCallsALinkADirectory) {
  fs::create_directories(dir + "/tree/sub");
  std::ofstream(dir + "/tree/a.pix") << "x";
  fs::create_directory_symlink(dir + "/tree", dir + "/tree/sub/loop");
  std::vector<DirectoryEntry> entries;
  ASSERT_TRUE(ListDirectory(dir + "/tree", entries));
  ASSERT_EQ(entries.size(), 2u);
  for (const auto& e : entries) EXPECT_EQ(e.isDirectory, e.name == "sub") << e.name;
  ASSERT_TRUE(ListDirectory(dir + "/tree/sub", entries));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_FALSE(entries[0].isDirectory);
  EXPECT_FALSE(ListDirectory(dir + "/none", entries));
}

TEST_F(FilesTest, PngRoundTripsIndexedAndRgbPictures) {
  IndexedPicture indexed{3, 2, {0, 1, 2, 2, 1, 0}, {0, 0, 0, 255, 0, 0, 0, 0, 252}};
  ASSERT_TRUE(WritePngIndexed(dir + "/i.png", indexed));
  IndexedPicture back;
  std::string error;
  ASSERT_TRUE(ReadPngIndexed(dir + "/i.png", back, error)) << error;
  EXPECT_EQ(back.pixels, indexed.pixels);
  EXPECT_EQ(back.palette, indexed.palette);
  RgbPicture rgb;
  ASSERT_TRUE(ReadPngRgb(dir + "/i.png", rgb));
  EXPECT_EQ(rgb.rgb[3 * 1], 255);
  EXPECT_EQ(rgb.rgb[3 * 2 + 2], 252);
  EXPECT_FALSE(ReadPngIndexed(dir + "/none.png", back, error));
  std::ofstream(dir + "/bad.png") << "\x89PNG\r\n\x1a\n garbage";
  EXPECT_FALSE(ReadPngRgb(dir + "/bad.png", rgb));
  ASSERT_TRUE(WritePngRgb(dir + "/rgb.png", RgbPicture{1, 1, {1, 2, 3}}));
  EXPECT_FALSE(ReadPngIndexed(dir + "/rgb.png", back, error));  // not a palette picture
}

TEST(LanguageTest, GermanOnlyForGermanLocales) {
  const char* saved = std::getenv("LANG");
  std::string keep = saved ? saved : "";
  ::unsetenv("LC_ALL");
  ::unsetenv("LC_MESSAGES");
  ::setenv("LANG", "de_AT.UTF-8", 1);
  EXPECT_EQ(UserLanguageId() & 0x3FF, 7);
  ::setenv("LANG", "fr_FR.UTF-8", 1);
  EXPECT_NE(UserLanguageId() & 0x3FF, 7);
  ::setenv("LANG", "dee", 1);
  EXPECT_NE(UserLanguageId() & 0x3FF, 7);
  if (saved) ::setenv("LANG", keep.c_str(), 1); else ::unsetenv("LANG");
}

}  // namespace
}  // namespace platform
