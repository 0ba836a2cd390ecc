// The stakkor program: the platform's flags, then the game.
#include <cstdio>

#include "app/replay_command.h"
#include "app/win_main.h"
#include "platform/platform.h"

namespace {

constexpr char kUsage[] =
    "usage: stakkor [--window]\n"
    "       stakkor [--window] --replay FILE [--speed N]\n"
    "       stakkor --replay FILE --verify\n"
    "       stakkor --headless --script FILE [--max-ms N] [--audio-log FILE]\n"
    "       stakkor --headless --replay FILE [--script FILE] [--speed N] [--max-ms N] [--audio-log FILE]\n";

}  // namespace

int main(int argc, char** argv) {
  platform::LaunchOptions options;
  if (auto error = platform::ParseLaunchOptions(argc, argv, options)) {
    std::fprintf(stderr, "stakkor: %s\n%s", error->c_str(), kUsage);
    return 2;
  }
  if (!options.replayPath.empty()) RunReplayCommand(options);
  platform::Start(options);
  platform::Exit(WinMain());
}
