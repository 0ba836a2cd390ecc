#include "platform/game_directory.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>

#include "platform/platform.h"

namespace platform {

std::string GameDirectory() {
  if (ActiveBackend() == Backend::Headless) return ".";
  // The base directory specification ignores relative values.
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg && xdg[0] == '/') return std::string(xdg) + "/stakkor";
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : ".") + "/.local/share/stakkor";
}

bool RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0 || errno == ENOENT; }

int64_t WallClockSeconds() {
  if (ActiveBackend() == Backend::Headless) return 0;
  return static_cast<int64_t>(std::time(nullptr));
}

}  // namespace platform
