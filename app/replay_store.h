// Where replays are kept: <game directory>/replays, one file a match named
// "match-NNNNNN.rpl", numbered in the order the matches ended. The newest
// 100 are kept, and so is every one that a hiscore entry links to; the
// links live in "hiscore-links.txt" beside them, since the hiscore file
// keeps its own format.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "game/replay_format.h"

constexpr int kReplaysKept = 100;

std::string ReplayDirectory();

// Saves a finished match's replay (atomically) and then removes the replays
// that are no longer kept. The new file's name, or "" when it could not be
// written.
std::string SaveReplay(const Replay& replay);

// Reads a replay file. nullopt and the replay in `out`, or why it cannot be
// played.
std::optional<std::string> LoadReplay(const std::string& path, Replay& out);

// A hiscore entry, by what it shows, and the replay of the match that made it.
struct ReplayLink {
  std::string file;  // a name in the replay directory
  int32_t points = 0;
  int32_t level = 0;
  int32_t rows = 0;
  std::string name;
};

// The links as kept; lines that do not read as a link are left out.
std::vector<ReplayLink> ReadReplayLinks();
// Writes the links (atomically); false when they could not be written.
bool WriteReplayLinks(const std::vector<ReplayLink>& links);

// Removes every replay but the newest kReplaysKept and the linked ones.
// Files whose names the game did not give are never touched.
void PruneReplays();

// The number of a replay's file name, or nullopt for any other name.
std::optional<uint32_t> ReplayNumber(const std::string& fileName);
