// A test program that plays one match of any kind with the game's own
// start-up, match loop and shutdown, until the menu can choose them:
//
//   match_runner PLAYERS STYLE [--start-at MS] --headless --script FILE ...
//
// PLAYERS is 1 or 2, STYLE "normal" or "blob". --start-at waits (pumping
// messages) until the clock reads MS, so a test can choose the match's seed.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/match.h"
#include "app/shared_assets.h"
#include "app/shell.h"
#include "app/state_dump.h"
#include "game/match_flags.h"
#include "gfx/display.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: match_runner 1|2 normal|blob [--start-at MS] PLATFORM-FLAGS...\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const int players = std::atoi(argv[1]);
  const bool blob = std::strcmp(argv[2], "blob") == 0;
  if ((players != 1 && players != 2) || (!blob && std::strcmp(argv[2], "normal") != 0)) return Usage();
  uint32_t startAt = 0;
  std::vector<char*> platformArgs{argv[0]};
  for (int i = 3; i < argc; ++i) {
    if (std::strcmp(argv[i], "--start-at") == 0 && i + 1 < argc) {
      startAt = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10));
    } else {
      platformArgs.push_back(argv[i]);
    }
  }
  platform::LaunchOptions options;
  if (auto error = platform::ParseLaunchOptions(static_cast<int>(platformArgs.size()), platformArgs.data(), options)) {
    std::fprintf(stderr, "match_runner: %s\n", error->c_str());
    return Usage();
  }
  platform::Start(options);
  platform::SetWindowProcedure(MainWindowProc);
  english = (platform::UserLanguageId() & 0x3FF) == 7 ? 0 : 1;
  if (!InitDisplay("Stakkorx", 8, 640, 480, 640, 480)) platform::Exit(0);
  LoadOptionsAndAssets();
  InstallStateDump();
  playerCount = players;
  blobStyle = blob ? 1 : 0;
  while (timeGetTime() < startAt && !quitRequested) PumpStep([] {});
  PlayMatch();
  platform::PostQuitMessage(0);
  closing = 1;
  while (platform::PeekMessage()) {
    if (!platform::GetMessage(shellMessage)) break;
    platform::DispatchMessage(shellMessage);
  }
  SaveOptionsAndRelease();
  platform::Exit(0);
}
