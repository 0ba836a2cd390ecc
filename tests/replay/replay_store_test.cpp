// Keeping replays: numbered files saved whole, the newest hundred and the
// linked ones kept, nothing else touched; hiscore entries linked to their
// replays by what they show.
#include "app/replay_store.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "app/hiscore.h"
#include "app/hiscore_replays.h"
#include "platform/headless/headless_backend.h"

namespace fs = std::filesystem;

namespace {

class ReplayStore : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::StartForTests();  // the game directory is the current one
    previous_ = fs::current_path();
    std::string pattern = (fs::temp_directory_path() / "stakkor-replays-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    fs::current_path(dir_);
  }
  void TearDown() override {
    fs::current_path(previous_);
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  static Replay Small(uint32_t seedValue) {
    Replay r;
    r.matchSeed = seedValue;
    for (int k = 0; k < 20; ++k) AppendFrame(r, InputFrame{{static_cast<uint8_t>(k % 3), 0}, 0});
    r.checkpoints.resize(1);
    return r;
  }
  static std::vector<std::string> Files() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator("replays")) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  static void Entry(int i, int32_t points, const char* name) {
    HiscoreEntry& e = hiscoreTable[i];
    std::memset(&e, 0, sizeof e);
    e.points = points;
    e.level = i;
    e.rows = 2 * i;
    std::strncpy(e.name, name, sizeof e.name - 1);
  }

  fs::path previous_, dir_;
};

TEST_F(ReplayStore, SavedReplaysAreNumberedInOrderAndReadBack) {
  EXPECT_EQ(SaveReplay(Small(1)), "match-000001.rpl");
  EXPECT_EQ(SaveReplay(Small(2)), "match-000002.rpl");
  // A gap in the numbers does not matter: the next follows the highest.
  fs::rename("replays/match-000002.rpl", "replays/match-000041.rpl");
  EXPECT_EQ(SaveReplay(Small(3)), "match-000042.rpl");
  Replay back;
  ASSERT_EQ(LoadReplay("replays/match-000042.rpl", back), std::nullopt);
  EXPECT_EQ(back.matchSeed, 3u);
  EXPECT_EQ(back.stepCount, 20u);
  // Written whole: no temporary file is left beside them.
  EXPECT_EQ(Files(), (std::vector<std::string>{"match-000001.rpl", "match-000041.rpl", "match-000042.rpl"}));
}

TEST_F(ReplayStore, TheNewestHundredAndTheLinkedOnesAreKeptAndNothingElseIsTouched) {
  fs::create_directories("replays");
  std::ofstream("replays/notes.txt") << "mine";
  std::ofstream("replays/match-old.rpl") << "not ours";
  fs::create_directories("replays/match-000000.rpl");
  for (int k = 1; k <= 100; ++k) ASSERT_FALSE(SaveReplay(Small(static_cast<uint32_t>(k))).empty());
  ASSERT_TRUE(WriteReplayLinks({ReplayLink{"match-000003.rpl", 10, 0, 0, "A"}}));
  for (int k = 101; k <= 105; ++k) ASSERT_FALSE(SaveReplay(Small(static_cast<uint32_t>(k))).empty());
  const std::vector<std::string> files = Files();
  EXPECT_EQ(std::count_if(files.begin(), files.end(), [](const std::string& f) { return ReplayNumber(f).has_value(); }),
            101 + 1);  // 100 newest, the linked one, and the directory that only looks like one
  EXPECT_TRUE(fs::exists("replays/match-000003.rpl"));
  EXPECT_FALSE(fs::exists("replays/match-000005.rpl"));
  EXPECT_TRUE(fs::exists("replays/match-000006.rpl"));
  EXPECT_TRUE(fs::exists("replays/match-000105.rpl"));
  EXPECT_TRUE(fs::exists("replays/notes.txt"));
  EXPECT_TRUE(fs::exists("replays/match-old.rpl"));
  EXPECT_TRUE(fs::is_directory("replays/match-000000.rpl"));
}

TEST_F(ReplayStore, OnlyTheGamesOwnNamesAreReplays) {
  EXPECT_EQ(ReplayNumber("match-000017.rpl"), 17u);
  EXPECT_EQ(ReplayNumber("match-123456789.rpl"), 123456789u);
  for (const char* name : {"match-.rpl", "match-1234567890.rpl", "match-12a.rpl", "match-1.rpl.tmp-Ab12Cd",
                           "Match-1.rpl", "match-1.RPL", "hiscore-links.txt"}) {
    EXPECT_FALSE(ReplayNumber(name).has_value()) << name;
  }
}

TEST_F(ReplayStore, LinksKeepAnyNameAndSkipLinesThatDoNotRead) {
  const std::vector<ReplayLink> links = {{"match-000001.rpl", 1000, 3, 12, "A B  C"},
                                         {"match-000002.rpl", -5, 0, 0, ""},
                                         {"match-000003.rpl", 2147483647, 18, 999, "\x7f\xff\x01 X"}};
  ASSERT_TRUE(WriteReplayLinks(links));
  std::ofstream("replays/hiscore-links.txt", std::ios::app) << "match-000004.rpl 1 2\n"
                                                            << "notes.txt 1 2 3 41\n"
                                                            << "match-000005.rpl 1 2 3 4g\n"
                                                            << "match-000006.rpl 1 2 3 00\n"
                                                            << "match-000007.rpl 99999999999 2 3 41\n"
                                                            << "match-000008.rpl 1 2 3 41 extra\n";
  const std::vector<ReplayLink> read = ReadReplayLinks();
  ASSERT_EQ(read.size(), 3u);
  for (size_t k = 0; k < 3; ++k) {
    EXPECT_EQ(read[k].file, links[k].file);
    EXPECT_EQ(read[k].points, links[k].points);
    EXPECT_EQ(read[k].level, links[k].level);
    EXPECT_EQ(read[k].rows, links[k].rows);
    EXPECT_EQ(read[k].name, links[k].name);
  }
}

TEST_F(ReplayStore, HiscoreEntriesFindTheirReplaysByWhatTheyShow) {
  for (int i = 0; i < kHiscorePositions; ++i) Entry(i, 1000 - 50 * i, "NOONE");
  Entry(2, 900, "ANNA");
  Entry(3, 900, "ANNA");  // two equal entries
  const std::string first = SaveReplay(Small(1)), second = SaveReplay(Small(2)), third = SaveReplay(Small(3));
  const std::string gone = SaveReplay(Small(4));
  ASSERT_TRUE(WriteReplayLinks({{second, 900, 3, 6, "ANNA"}, {first, 900, 2, 4, "ANNA"}, {gone, 5, 0, 0, "OLD"}}));
  // Entry 2 and 3 differ in level and rows: each finds its own link. The
  // new entry at 6 takes the new replay; the link of an entry that no longer
  // stands is dropped.
  Entry(6, 700, "NEW");
  UpdateHiscoreReplays(6, third);
  EXPECT_EQ(EntryReplay(2), first);
  EXPECT_EQ(EntryReplay(3), second);
  EXPECT_EQ(EntryReplay(6), third);
  EXPECT_EQ(EntryReplay(0), "");
  EXPECT_TRUE(AnyEntryReplay());
  std::vector<ReplayLink> kept = ReadReplayLinks();
  ASSERT_EQ(kept.size(), 3u);
  EXPECT_EQ(kept[2].file, third);
  EXPECT_EQ(kept[2].name, "NEW");
  EXPECT_EQ(kept[2].points, 700);

  // Choosing walks round the entries that have one.
  EXPECT_EQ(NextEntryWithReplay(2, 1), 3);
  EXPECT_EQ(NextEntryWithReplay(6, 1), 2);
  EXPECT_EQ(NextEntryWithReplay(2, -1), 6);
  EXPECT_EQ(NextEntryWithReplay(-1, 1), 2);

  // A replay file damaged since: that entry has no replay any more.
  {
    std::fstream(ReplayDirectory() + "/" + second, std::ios::in | std::ios::out | std::ios::binary).seekp(10).put('?');
  }
  UpdateHiscoreReplays(-1, "");
  EXPECT_EQ(EntryReplay(2), first);
  EXPECT_EQ(EntryReplay(3), "");
  Replay replay;
  EXPECT_TRUE(LoadEntryReplay(2, replay));
  EXPECT_EQ(replay.matchSeed, 1u);
  EXPECT_FALSE(LoadEntryReplay(3, replay));
}

}  // namespace
