// The recorded corpus under tests/replay/corpus: every match still plays
// exactly as it was recorded, and together they keep covering what they
// were recorded for. A change of the rules that alters a match fails here
// with the file and the step where it stopped agreeing.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/replay_check.h"
#include "app/replay_match.h"
#include "app/replay_store.h"
#include "game/game_tick.h"
#include "game/match_flags.h"
#include "game/player_state.h"
#include "platform/headless/headless_backend.h"

namespace fs = std::filesystem;

namespace {

struct CorpusFile {
  std::string name;
  Replay replay;
  uintmax_t size = 0;
};

std::vector<CorpusFile> Corpus() {
  std::vector<CorpusFile> files;
  for (const auto& entry : fs::directory_iterator(REPLAY_CORPUS_DIR)) {
    if (entry.path().extension() != ".rpl") continue;
    CorpusFile file{entry.path().filename().string(), {}, entry.file_size()};
    const auto error = LoadReplay(entry.path().string(), file.replay);
    EXPECT_EQ(error, std::nullopt) << file.name;
    if (!error) files.push_back(std::move(file));
  }
  std::sort(files.begin(), files.end(), [](const CorpusFile& a, const CorpusFile& b) { return a.name < b.name; });
  return files;
}

TEST(ReplayCorpus, EveryRecordedMatchStillPlaysAsItWasRecorded) {
  platform::headless::StartForTests();
  const std::vector<CorpusFile> files = Corpus();
  ASSERT_GE(files.size(), 30u) << "the corpus in " << REPLAY_CORPUS_DIR << " is missing replays";
  for (const CorpusFile& file : files) {
    const ReplayCheck check = CheckReplay(file.replay);
    EXPECT_TRUE(check.reproduces) << file.name << ": " << check.report;
  }
}

// What the corpus is for: both kinds of match and both styles, long matches
// past level 10, rows pushed across, "BLOB" locks that remove several groups,
// and every in-game event, watched step by step.
TEST(ReplayCorpus, CoversWhatItWasRecordedFor) {
  platform::headless::StartForTests();
  bool kinds[2][2] = {}, levelTen[2] = {}, quit = false;
  int pushedRows = 0, multiGroupLocks = 0;
  uint8_t events = 0;
  for (const CorpusFile& file : Corpus()) {
    const Replay& r = file.replay;
    kinds[r.playerCount - 1][r.blobStyle] = true;
    quit = quit || r.quit;
    for (const StepEvents& e : r.events) events |= e.events;
    ReplaySandbox sandbox;
    StartRecordedMatch(r);
    int rows[2] = {};
    FrameCursor cursor(r);
    while (!cursor.Done()) {
      GameStep(cursor.Next());
      for (int p = 0; p < r.playerCount; ++p) {
        const int removed = players[p].rows - rows[p];
        rows[p] = players[p].rows;
        if (removed >= 2 && r.blobStyle) ++multiGroupLocks;
        if (removed >= 2 && !r.blobStyle && r.playerCount == 2) pushedRows += removed - 1;
        if (players[p].level >= 10) levelTen[r.playerCount - 1] = true;
      }
    }
  }
  EXPECT_TRUE(kinds[0][0] && kinds[0][1] && kinds[1][0] && kinds[1][1]);
  EXPECT_TRUE(levelTen[0] && levelTen[1]);
  EXPECT_GE(pushedRows, 20);
  EXPECT_GE(multiGroupLocks, 20);
  EXPECT_EQ(events, kAllEvents);
  EXPECT_TRUE(quit);
}

TEST(ReplayCorpus, AMinuteOfPlayTakesWellUnderTwoKilobytes) {
  int minutes = 0;
  for (const CorpusFile& file : Corpus()) {
    if (!file.name.ends_with("-minute.rpl")) continue;
    ++minutes;
    EXPECT_GE(file.replay.stepCount, 2308u) << file.name;  // a minute or more
    EXPECT_LT(file.size, 2048u) << file.name;
  }
  EXPECT_GE(minutes, 3);
}

}  // namespace
