// Where the game keeps the files it writes for the player (hiscores,
// replays), and the few file operations that keeping them needs.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// The player's game directory: ${XDG_DATA_HOME:-~/.local/share}/stakkor for
// the window, the current directory for headless runs (which run where
// their script and data are).
std::string GameDirectory();

// Makes the directory and every missing one above it; true when it exists.
bool MakeDirectories(const std::string& path);

// Removes a file (never a directory); true when it is gone.
bool RemoveFile(const std::string& path);

// Seconds since 1970-01-01 UTC. Headless runs say 0, so that a scripted run
// writes the same bytes every time.
int64_t WallClockSeconds();

}  // namespace platform
