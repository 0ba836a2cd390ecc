// Records the replay corpus of the tests: matches played by the corpus bots
// through the game's real start-up and match loop, headless, each in a
// scratch directory of its own, the replay the game saves copied out.
//
//   replay_corpus_recorder OUTDIR [NAME...]
//
// writes OUTDIR/NAME.rpl for every case (or the named ones) and prints what
// each holds. The runs are headless, so the same program always writes the
// same bytes; tests/replay/corpus/README names the command that remade them.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/match.h"
#include "app/replay_store.h"
#include "app/shared_assets.h"
#include "app/shell.h"
#include "app/state_dump.h"
#include "game/match_flags.h"
#include "game/player_state.h"
#include "gfx/display.h"
#include "platform/platform.h"
#include "tests/replay/corpus_bot.h"

namespace fs = std::filesystem;

namespace {

struct Case {
  const char* name;
  int players;
  bool blob;
  uint32_t startAt;  // the clock when the match starts: its seed
  int layouts[2];
  BotStyle bots[2];
  std::vector<BotKeyEvent> keys;
  std::string script;  // focus changes and the window closed, at clock times
};

BotStyle Good() { return BotStyle{}; }
BotStyle Sloppy(int noise) {
  BotStyle s;
  s.noise = noise;
  return s;
}
BotStyle UpToLevel(int level) {
  BotStyle s;
  s.giveUpAtLevel = level;
  return s;
}
BotStyle For(uint32_t steps, int noise = 0) {
  BotStyle s;
  s.giveUpAtStep = steps;
  s.noise = noise;
  return s;
}
BotStyle Greedy(uint32_t steps) {
  BotStyle s;
  s.multiRows = true;
  s.giveUpAtStep = steps;
  return s;
}
BotStyle Patient(int delay, uint32_t steps) {
  BotStyle s;
  s.dropDelay = delay;
  s.giveUpAtStep = steps;
  return s;
}
// About a person's pace: a key every 150 ms, a second's look before the drop.
BotStyle Person(uint32_t steps) {
  BotStyle s;
  s.keyGap = 5;
  s.dropDelay = 8;
  s.giveUpAtStep = steps;
  return s;
}
BotStyle GravityOnly(uint32_t steps) {
  BotStyle s;
  s.hardDrop = false;
  s.giveUpAtStep = steps;
  return s;
}

std::vector<Case> Cases() {
  const BotStyle idle{false};
  return {
      // One player, "NORMAL".
      {"1p-normal-short", 1, false, 1000, {0, 0}, {For(300, 3), idle}, {}, ""},
      {"1p-normal-sloppy", 1, false, 1234, {0, 0}, {Sloppy(6), idle}, {}, ""},
      {"1p-normal-minute", 1, false, 2001, {0, 0}, {Person(2300), idle}, {}, ""},
      {"1p-normal-level10", 1, false, 1500, {0, 0}, {UpToLevel(10), idle}, {}, ""},
      {"1p-normal-level13", 1, false, 3777, {1, 0}, {UpToLevel(13), idle}, {}, ""},
      {"1p-normal-level18", 1, false, 4242, {0, 0}, {UpToLevel(19), idle}, {}, ""},
      {"1p-normal-ten-minutes", 1, false, 5000, {0, 0}, {Patient(24, 23100), idle}, {}, ""},
      {"1p-normal-gravity", 1, false, 1717, {0, 0}, {GravityOnly(1500), idle}, {}, ""},
      {"1p-normal-layout1", 1, false, 1821, {1, 0}, {For(900, 1), idle}, {}, ""},
      {"1p-normal-pause", 1, false, 1902, {0, 0}, {For(700), idle}, {{100, "P"}, {400, "P", 1500}}, ""},
      {"1p-normal-focus",
       1,
       false,
       2100,
       {0, 0},
       {For(700), idle},
       {},
       "4000 focus off\n5500 focus on\n9000 focus off\n9001 focus on\n"},
      {"1p-normal-f1-f8",
       1,
       false,
       2222,
       {0, 0},
       {For(800), idle},
       {{60, "F1"}, {200, "F8"}, {320, "F1"}, {500, "F8"}},
       ""},
      {"1p-normal-escape", 1, false, 2345, {0, 0}, {Good(), idle}, {{450, "ESCAPE"}}, ""},
      {"1p-normal-closed", 1, false, 2468, {0, 0}, {Good(), idle}, {}, "12000 close\n"},
      {"1p-normal-idle", 1, false, 2500, {0, 0}, {idle, idle}, {}, ""},
      // One player, "BLOB".
      {"1p-blob-short", 1, true, 1111, {0, 0}, {For(400, 2), idle}, {}, ""},
      {"1p-blob-chains", 1, true, 3100, {0, 0}, {For(4000), idle}, {}, ""},
      {"1p-blob-long", 1, true, 3300, {1, 0}, {For(9000), idle}, {}, ""},
      {"1p-blob-pause-focus",
       1,
       true,
       3500,
       {0, 0},
       {For(1200), idle},
       {{150, "P", 900}},
       "9000 focus off\n9800 focus on\n"},
      {"1p-blob-sloppy", 1, true, 3600, {0, 0}, {Sloppy(5), idle}, {}, ""},
      // Two players, "NORMAL".
      {"2p-normal-garbage", 2, false, 1000, {0, 0}, {Greedy(2500), Greedy(2500)}, {}, ""},
      {"2p-normal-p1-wins", 2, false, 1300, {0, 0}, {Good(), Sloppy(8)}, {}, ""},
      {"2p-normal-p2-wins", 2, false, 1400, {1, 1}, {Sloppy(8), Good()}, {}, ""},
      {"2p-normal-give-up", 2, false, 1600, {0, 1}, {UpToLevel(9), UpToLevel(7)}, {}, ""},
      {"2p-normal-layouts",
       2,
       false,
       1800,
       {0, 0},
       {For(1500), For(1500, 2)},
       {{80, "F1"}, {160, "F2"}, {400, "F2"}, {600, "F1"}},
       ""},
      {"2p-normal-pause-escape", 2, false, 1900, {1, 0}, {Good(), Good()}, {{120, "P", 700}, {900, "ESCAPE"}}, ""},
      {"2p-normal-minute", 2, false, 2030, {1, 0}, {Person(2300), Person(2300)}, {}, ""},
      {"1p-blob-minute", 1, true, 2040, {0, 0}, {Person(2300), idle}, {}, ""},
      {"2p-normal-focus", 2, false, 2050, {0, 0}, {For(1400), For(1400, 3)}, {}, "6000 focus off\n7000 focus on\n"},
      {"2p-normal-one-idle", 2, false, 2150, {0, 0}, {Good(), idle}, {}, ""},
      // Two players, "BLOB".
      {"2p-blob-short", 2, true, 1050, {0, 0}, {For(800, 2), For(600, 2)}, {}, ""},
      {"2p-blob-long", 2, true, 1250, {1, 0}, {For(6000), For(5000)}, {}, ""},
      {"2p-blob-events",
       2,
       true,
       1450,
       {0, 1},
       {For(2000), For(2000, 3)},
       {{90, "F8"}, {200, "P", 500}, {300, "F2"}},
       "7000 focus off\n8000 focus on\n"},
      {"2p-blob-closed", 2, true, 1650, {0, 0}, {Good(), Good()}, {}, "15000 close\n"},
  };
}

// One case, in this process (a child of the recorder): the game's own
// start-up as a test program does it, the match, the replay copied out.
[[noreturn]] void RecordCase(const Case& c, const fs::path& out) {
  char pattern[] = "/tmp/stakkor-corpus-XXXXXX";
  if (!::mkdtemp(pattern)) std::exit(4);
  const fs::path dir = pattern;
  fs::current_path(dir);
  std::ofstream("run.txt") << c.script;
  if (!std::freopen("log.txt", "w", stderr)) std::exit(4);
  ::setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
  ::setenv("LC_ALL", "C", 1);

  platform::LaunchOptions options;
  options.backend = platform::Backend::Headless;
  options.scriptPath = "run.txt";
  options.maxMs = 3600u * 1000u;
  platform::Start(options);
  platform::SetWindowProcedure(MainWindowProc);
  english = 1;
  if (!InitDisplay("Stakkorx", 8, 640, 480, 640, 480)) std::exit(4);
  LoadOptionsAndAssets();
  InstallStateDump();
  controlLayout[0] = c.layouts[0];
  controlLayout[1] = c.layouts[1];
  playerCount = c.players;
  blobStyle = c.blob ? 1 : 0;
  while (timeGetTime() < c.startAt && !quitRequested) PumpStep([] {});
  StartBots(c.bots, c.keys.data(), static_cast<int>(c.keys.size()), c.startAt);
  PlayMatch();
  if (LastMatchReplay().empty()) std::exit(5);
  fs::copy_file(ReplayDirectory() + "/" + LastMatchReplay(), out, fs::copy_options::overwrite_existing);
  const BotStats& s = BotStatistics();
  std::printf("%-24s %6u B %6u steps  p1 %6d pts %3d rows lvl %2d", c.name, static_cast<unsigned>(fs::file_size(out)),
              s.steps, players[0].points, players[0].rows, players[0].level);
  if (c.players == 2) {
    std::printf(" | p2 %6d pts %3d rows lvl %2d", players[1].points, players[1].rows, players[1].level);
  }
  std::printf("  most at once %d/%d, garbage %d/%d, multi-group locks %d/%d\n", s.mostRowsAtOnce[0],
              s.mostRowsAtOnce[1], s.garbageRows[0], s.garbageRows[1], s.multiGroupLocks[0], s.multiGroupLocks[1]);
  std::fflush(stdout);
  std::error_code ignored;
  fs::current_path("/", ignored);
  fs::remove_all(dir, ignored);
  std::_Exit(0);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: replay_corpus_recorder OUTDIR [NAME...]\n");
    return 2;
  }
  const fs::path out = fs::absolute(argv[1]);
  fs::create_directories(out);
  int failures = 0, recorded = 0;
  for (const Case& c : Cases()) {
    bool wanted = argc == 2;
    for (int i = 2; i < argc; ++i) wanted = wanted || std::strcmp(argv[i], c.name) == 0;
    if (!wanted) continue;
    std::fflush(stdout);
    const pid_t child = ::fork();
    if (child == 0) RecordCase(c, out / (std::string(c.name) + ".rpl"));
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      std::fprintf(stderr, "%s: recording failed (status %d)\n", c.name, status);
      ++failures;
    }
    ++recorded;
  }
  if (recorded == 0) {
    std::fprintf(stderr, "replay_corpus_recorder: no case of that name\n");
    return 2;
  }
  return failures ? 1 : 0;
}
