// The two places of the game's files in the browser build, as
// platform/web/places.cmake chose them: the game directory below $HOME,
// which the page keeps in the browser's storage, and the shipped data
// outside it, which comes fresh with every load of the page.
#include <cstdlib>
#include <string>

#include "platform/platform.h"

#if !defined(STAKKOR_WEB_GAME_DIR) || !defined(STAKKOR_WEB_SHIPPED_DIR)
#error "the build defines STAKKOR_WEB_GAME_DIR and STAKKOR_WEB_SHIPPED_DIR (platform/web/places.cmake)"
#endif

namespace platform {

std::string GameDirectory() {
  // Scripted runs under node use the current directory, as natively.
  if (ActiveBackend() == Backend::Headless) return ".";
  static const std::string directory = [] {
    MakeDirectories(STAKKOR_WEB_GAME_DIR);  // a failure shows later as files not saved
    return std::string(STAKKOR_WEB_GAME_DIR);
  }();
  return directory;
}

std::string InstalledDataDirectory() {
  if (const char* chosen = std::getenv("STAKKOR_DATA_DIR"); chosen && *chosen) return chosen;
  return STAKKOR_WEB_SHIPPED_DIR;
}

}  // namespace platform
