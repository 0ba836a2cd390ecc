#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "app/hiscore.h"
#include "game/match_flags.h"
#include "game/player_state.h"
#include "platform/headless/headless_backend.h"
#include "platform/keys.h"
#include "platform/platform.h"

namespace {

namespace fs = std::filesystem;

class HiscoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::StartForTests();
    char pattern[] = "/tmp/stakkor-hiscore-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir = pattern;
    home = fs::current_path();
    fs::current_path(dir);
    english = 1;
  }
  void TearDown() override {
    fs::current_path(home);
    fs::remove_all(dir);
  }
  std::vector<uint8_t> FileBytes() {
    std::vector<uint8_t> bytes;
    platform::ReadWholeFile("HISCORE.DAT", bytes, 4096);
    return bytes;
  }
  void Press(int key) {
    platform::headless::SetKeyHeld(key, true);
    NameEntryKey(name, kNameCapacity);
    platform::headless::SetKeyHeld(key, false);
    NameEntryKey(name, kNameCapacity);
  }
  fs::path dir, home;
  char name[kNameCapacity] = {};
};

TEST_F(HiscoreTest, AMissingFileGetsTheDefaultTableWithItsChecksum) {
  LoadHiscores();
  EXPECT_EQ(hiscoreTable[0].points, 1000);
  EXPECT_EQ(hiscoreTable[9].points, 550);
  EXPECT_STREQ(hiscoreTable[3].name, "NOONE");
  EXPECT_EQ(HiscoreChecksum(), 8530u);
  std::vector<uint8_t> bytes = FileBytes();
  ASSERT_EQ(bytes.size(), 424u);
  EXPECT_EQ(bytes[420] | bytes[421] << 8 | bytes[422] << 16 | bytes[423] << 24, 8530);
  EXPECT_EQ(bytes[42], 950 & 0xFF);  // position 1's points, little-endian
  EXPECT_EQ(bytes[12], 'N');
  english = 0;
  std::remove("HISCORE.DAT");
  LoadHiscores();
  EXPECT_STREQ(hiscoreTable[0].name, "NIEMAND");
  EXPECT_EQ(HiscoreChecksum(), 8530u);
}

TEST_F(HiscoreTest, AGoodFileIsTakenAsItIsAndABadOneIsReplaced) {
  LoadHiscores();
  hiscoreTable[0].points = 5000;
  std::strcpy(hiscoreTable[0].name, "ZED");
  SaveHiscores();
  LoadHiscores();
  EXPECT_EQ(hiscoreTable[0].points, 5000);
  EXPECT_STREQ(hiscoreTable[0].name, "ZED");

  std::vector<uint8_t> bytes = FileBytes();
  bytes[0] ^= 1;  // the checksum no longer matches
  platform::WriteFileAtomically("HISCORE.DAT", bytes.data(), bytes.size());
  LoadHiscores();
  EXPECT_EQ(hiscoreTable[0].points, 1000);
  EXPECT_EQ(FileBytes().size(), 424u);

  // A file cut short is replaced too, rather than half taken.
  platform::WriteFileAtomically("HISCORE.DAT", bytes.data(), 100);
  LoadHiscores();
  EXPECT_EQ(hiscoreTable[0].points, 1000);
  EXPECT_EQ(FileBytes().size(), 424u);
}

TEST_F(HiscoreTest, TheChecksumCountsTheFirstNameByteUnsigned) {
  LoadHiscores();
  hiscoreTable[0].name[0] = '\xC4';  // a name starting with a byte above 127
  SaveHiscores();
  const std::vector<uint8_t> bytes = FileBytes();
  uint32_t sum = 0;
  for (int i = 0; i < 10; ++i) {
    const uint8_t* at = bytes.data() + 42 * i;
    sum += static_cast<uint32_t>(at[0] | at[1] << 8 | at[2] << 16 | at[3] << 24) + at[12];
  }
  EXPECT_EQ(sum, 8530u - 'N' + 0xC4);
  EXPECT_EQ(static_cast<uint32_t>(bytes[420] | bytes[421] << 8 | bytes[422] << 16 | bytes[423] << 24), sum);
  // And read back as valid, not replaced by the default table.
  hiscoreTable[0].name[0] = 'X';
  LoadHiscores();
  EXPECT_EQ(static_cast<uint8_t>(hiscoreTable[0].name[0]), 0xC4);
}

TEST_F(HiscoreTest, ANameWithoutItsTerminatorIsCutInsteadOfReadOnward) {
  LoadHiscores();
  std::vector<uint8_t> bytes = FileBytes();
  std::memset(bytes.data() + 12, 'X', 30);  // position 0's name fills its field
  uint32_t sum = 0;
  for (int i = 0; i < 10; ++i) {
    const uint8_t* at = bytes.data() + 42 * i;
    sum += static_cast<uint32_t>(at[0] | at[1] << 8 | at[2] << 16 | at[3] << 24) + at[12];
  }
  for (int i = 0; i < 4; ++i) bytes[420 + i] = static_cast<uint8_t>(sum >> (8 * i));
  platform::WriteFileAtomically("HISCORE.DAT", bytes.data(), bytes.size());
  LoadHiscores();
  EXPECT_EQ(std::strlen(hiscoreTable[0].name), 29u);
}

TEST_F(HiscoreTest, EqualPointsGoBelowAndTheLastPositionFallsOff) {
  LoadHiscores();
  platform::headless::SetKeyHeld(VK_RETURN, true);  // ends the name entry at once
  players[0].points = 850;  // position 3's points
  players[0].level = 4;
  players[0].rows = 21;
  EnterHiscore();
  EXPECT_EQ(hiscoreTable[3].points, 850);
  EXPECT_EQ(hiscoreTable[4].points, 850);
  EXPECT_EQ(hiscoreTable[4].level, 4);
  EXPECT_EQ(hiscoreTable[4].rows, 21);
  EXPECT_STREQ(hiscoreTable[4].name, "");
  EXPECT_EQ(hiscoreTable[9].points, 600);
  EXPECT_EQ(entryRow, -1);

  LoadHiscores();  // the file still holds the default table
  players[0].points = 550;
  EnterHiscore();
  EXPECT_EQ(hiscoreTable[9].points, 550);
  EXPECT_STREQ(hiscoreTable[9].name, "NOONE");
  players[0].points = 551;
  EnterHiscore();
  EXPECT_EQ(hiscoreTable[9].points, 551);
  EXPECT_EQ(hiscoreTable[8].points, 600);
  platform::headless::SetKeyHeld(VK_RETURN, false);
}

TEST_F(HiscoreTest, NameEntryTakesOneCharacterPerPress) {
  Press('A');
  Press(VK_SPACE);
  Press('Z');
  EXPECT_STREQ(name, "A Z");
  // Held A, then B as well: only A counts until every key is up.
  platform::headless::SetKeyHeld('A', true);
  NameEntryKey(name, kNameCapacity);
  platform::headless::SetKeyHeld('B', true);
  NameEntryKey(name, kNameCapacity);
  platform::headless::SetKeyHeld('A', false);
  NameEntryKey(name, kNameCapacity);
  platform::headless::SetKeyHeld('B', false);
  NameEntryKey(name, kNameCapacity);
  EXPECT_STREQ(name, "A ZA");
  Press(VK_BACK);
  EXPECT_STREQ(name, "A Z");
}

TEST_F(HiscoreTest, AFullNameTakesNoMoreButBackspaceStillWorks) {
  for (int i = 0; i < 35; ++i) Press('Q');
  EXPECT_EQ(std::strlen(name), 29u);
  Press(VK_BACK);
  EXPECT_EQ(std::strlen(name), 28u);
  for (int i = 0; i < 40; ++i) Press(VK_BACK);
  EXPECT_STREQ(name, "");
}

}  // namespace
