// The two places of the game's files: the player's game directory and the
// installed data directory.
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/platform.h"

// The installed data directory relative to the installed program, worked out
// by the build from the install layout (for example ../share/games/stakkor).
#ifndef STAKKOR_DATA_FROM_PROGRAM
#error "the build defines STAKKOR_DATA_FROM_PROGRAM"
#endif

namespace platform {
namespace {

// The directory the running program lies in, from the kernel's own record;
// empty when it cannot be told.
std::string ProgramDirectory() {
  std::string path(4096, '\0');
  const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
  if (length <= 0 || static_cast<size_t>(length) >= path.size()) return {};
  path.resize(static_cast<size_t>(length));
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash == 0 ? 1 : slash);
}

// "a/b/../c" -> "a/c", so that messages name the folder plainly.
std::string Normalised(const std::string& path) {
  std::string out;
  std::string part;
  size_t start = 0;
  const bool absolute = !path.empty() && path[0] == '/';
  std::vector<std::string> parts;
  while (start <= path.size()) {
    size_t slash = path.find('/', start);
    if (slash == std::string::npos) slash = path.size();
    part = path.substr(start, slash - start);
    start = slash + 1;
    if (part.empty() || part == ".") continue;
    if (part == ".." && !parts.empty() && parts.back() != "..") {
      parts.pop_back();
    } else if (part != ".." || !absolute) {
      parts.push_back(part);
    }
  }
  for (const std::string& p : parts) out += (out.empty() && !absolute ? "" : "/") + p;
  return out.empty() ? (absolute ? "/" : ".") : out;
}

std::string DataHome() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg && xdg[0] == '/') return xdg;
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : ".") + "/.local/share";
}

}  // namespace

std::string GameDirectory() {
  if (ActiveBackend() == Backend::Headless) return ".";
  static const std::string directory = [] {
    std::string path = DataHome() + "/stakkor";
    MakeDirectories(path);  // a failure shows later as files not found or not saved
    return path;
  }();
  return directory;
}

std::string InstalledDataDirectory() {
  if (const char* chosen = std::getenv("STAKKOR_DATA_DIR"); chosen && *chosen) return chosen;
  const std::string program = ProgramDirectory();
  if (program.empty()) return {};
  return Normalised(program + "/" + STAKKOR_DATA_FROM_PROGRAM);
}

}  // namespace platform
