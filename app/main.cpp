// The stakkor program: the platform's flags, then the game.
#include <cstdio>

#include "app/shell.h"
#include "app/test_card.h"
#include "gfx/display.h"
#include "gfx/palette.h"

namespace {

constexpr char kUsage[] =
    "usage: stakkor [--window]\n"
    "       stakkor --headless --script FILE [--max-ms N] [--audio-log FILE]\n";

int RunGame() {
  platform::SetWindowProcedure(MainWindowProc);
  if (!InitDisplay("Stakkorx", 8, 640, 480, 640, 480)) {
    closing = 1;
    return 0;
  }
  RunTestCard();
  ShutdownDisplay();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  platform::LaunchOptions options;
  if (auto error = platform::ParseLaunchOptions(argc, argv, options)) {
    std::fprintf(stderr, "stakkor: %s\n%s", error->c_str(), kUsage);
    return 2;
  }
  platform::Start(options);
  platform::Exit(RunGame());
}
