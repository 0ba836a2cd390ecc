#include "app/replay_command.h"

#include <cstdio>
#include <cstdlib>

#include "app/replay_check.h"
#include "app/replay_store.h"
#include "app/win_main.h"

void RunReplayCommand(const platform::LaunchOptions& options) {
  const char* path = options.replayPath.c_str();
  Replay replay;
  if (auto error = LoadReplay(options.replayPath, replay)) {
    std::fprintf(stderr, "stakkor: %s: cannot play this replay: %s\n", path, error->c_str());
    std::exit(2);
  }
  if (!options.verifyReplay) {
    platform::Start(options);
    platform::Exit(WatchReplayMain(replay, options.replaySpeedQuarters));
  }
  // No window, no sound, no data files: the rules alone, on the headless
  // backend's clock.
  platform::LaunchOptions headless = options;
  headless.backend = platform::Backend::Headless;
  platform::Start(headless);
  const ReplayCheck check = CheckReplay(replay);
  std::fprintf(check.reproduces ? stdout : stderr, "stakkor: %s: %s\n", path, check.report.c_str());
  platform::Exit(check.reproduces ? 0 : 1);
}
