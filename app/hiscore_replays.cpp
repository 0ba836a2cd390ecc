#include "app/hiscore_replays.h"

#include <algorithm>
#include <vector>

#include "app/hiscore.h"
#include "app/replay_store.h"

namespace {

std::string entryReplays[kHiscorePositions];

// The name up to its terminator, or all 30 bytes of a name without one.
std::string NameOf(const HiscoreEntry& entry) {
  return std::string(entry.name, std::find(entry.name, entry.name + kNameCapacity, '\0'));
}

bool Shows(const ReplayLink& link, const HiscoreEntry& entry) {
  return link.points == entry.points && link.level == entry.level && link.rows == entry.rows &&
         link.name == NameOf(entry);
}

ReplayLink LinkFor(const HiscoreEntry& entry, const std::string& file) {
  return ReplayLink{file, entry.points, entry.level, entry.rows, NameOf(entry)};
}

}  // namespace

void UpdateHiscoreReplays(int newEntry, const std::string& replayFile) {
  std::vector<ReplayLink> links = ReadReplayLinks();
  std::vector<bool> used(links.size(), false);
  std::vector<ReplayLink> standing;
  for (int i = 0; i < kHiscorePositions; ++i) {
    entryReplays[i].clear();
    if (i == newEntry) {
      entryReplays[i] = replayFile;
    } else {
      // Equal entries take equal links in table order.
      for (size_t k = 0; k < links.size(); ++k) {
        if (used[k] || !Shows(links[k], hiscoreTable[i])) continue;
        used[k] = true;
        entryReplays[i] = links[k].file;
        break;
      }
    }
    if (!entryReplays[i].empty()) standing.push_back(LinkFor(hiscoreTable[i], entryReplays[i]));
  }
  WriteReplayLinks(standing);
  Replay replay;
  for (int i = 0; i < kHiscorePositions; ++i) {
    if (!entryReplays[i].empty()) LoadEntryReplay(i, replay);
  }
}

const std::string& EntryReplay(int position) {
  static const std::string none;
  return position >= 0 && position < kHiscorePositions ? entryReplays[position] : none;
}

bool AnyEntryReplay() {
  for (const std::string& file : entryReplays) {
    if (!file.empty()) return true;
  }
  return false;
}

int NextEntryWithReplay(int position, int step) {
  for (int k = 1; k <= kHiscorePositions; ++k) {
    const int i = ((position + step * k) % kHiscorePositions + kHiscorePositions) % kHiscorePositions;
    if (!entryReplays[i].empty()) return i;
  }
  return -1;
}

bool LoadEntryReplay(int position, Replay& out) {
  if (EntryReplay(position).empty()) return false;
  if (!LoadReplay(ReplayDirectory() + "/" + entryReplays[position], out)) return true;
  entryReplays[position].clear();
  return false;
}
