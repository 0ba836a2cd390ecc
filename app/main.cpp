// The stakkor program: the command line, then the game.
#include <cstdio>

#include "app/replay_command.h"
#include "app/win_main.h"
#include "platform/platform.h"

namespace {

constexpr char kUsage[] =
    "usage: stakkor [--window | --fullscreen]\n"
    "       stakkor [--window] --replay FILE [--speed N]\n"
    "       stakkor --replay FILE --verify\n"
    "       stakkor --headless --script FILE [--max-ms N] [--audio-log FILE]\n"
    "       stakkor --headless --replay FILE [--script FILE] [--speed N] [--max-ms N] [--audio-log FILE]\n";

constexpr char kHelp[] =
    "Stakkor, a falling-block puzzle game for one or two players.\n"
    "\n"
    "  -w, --window          start in a window\n"
    "  -f, --fullscreen      start fullscreen (the default); Alt+Enter switches\n"
    "      --headless        run with no window and no sound on a virtual clock\n"
    "      --script FILE     the script of a headless run (keys, screenshots, dumps)\n"
    "      --max-ms N        end a headless run when its clock reaches N ms (status 3)\n"
    "      --audio-log FILE  log the effects and music buffers of a headless run\n"
    "      --replay FILE     show a recorded match (P pauses, arrows change the speed)\n"
    "      --speed N         play it at N times its pace (0.25 to 16)\n"
    "      --verify          check without a screen that it still plays as recorded\n"
    "                        (status 0 when it does, 1 when it does not)\n"
    "  -h, --help            show this help and end\n"
    "  -V, --version         show the version and end\n"
    "\n"
    "Keys: arrows and Ctrl (one player); A D S W Shift and the arrows (two\n"
    "players); P pauses, F8 switches the music, Escape ends a match.\n"
    "See stakkor(6) for the files the game keeps and its environment.\n";

}  // namespace

int main(int argc, char** argv) {
  platform::LaunchOptions options;
  if (auto error = platform::ParseLaunchOptions(argc, argv, options)) {
    std::fprintf(stderr, "stakkor: %s\n%s", error->c_str(), kUsage);
    return 2;
  }
  if (options.help) {
    std::printf("%s\n%s", kUsage, kHelp);
    return 0;
  }
  if (options.version) {
    std::printf("stakkor %s\n", STAKKOR_VERSION);
    return 0;
  }
  if (!options.replayPath.empty()) RunReplayCommand(options);
  platform::Start(options);
  platform::Exit(WinMain());
}
