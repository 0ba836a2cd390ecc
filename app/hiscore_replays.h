// Which hiscore entries have a replay. A link ties an entry, by its points,
// level, rows and name, to the replay of the match that made it; the links
// are kept beside the replays (the hiscore file keeps its own format).
#pragma once

#include <string>

#include "game/replay_format.h"

// After the table is loaded and the new entry made (at `newEntry`, -1 for
// none): keeps the links of the entries that still stand, links the new
// entry to `replayFile` (when there is one), writes the links back and
// finds each entry's replay. Entries whose replay cannot be read have none.
void UpdateHiscoreReplays(int newEntry, const std::string& replayFile);

// The replay file (in the replay directory) of a table position; empty
// when the entry has none.
const std::string& EntryReplay(int position);
bool AnyEntryReplay();

// The position with a replay after (`step` 1) or before (-1) `position`,
// round the table; `position` itself when no other has one, -1 when none has.
int NextEntryWithReplay(int position, int step);

// Reads the replay of a position; false (and the entry loses its mark) when
// it can no longer be read.
bool LoadEntryReplay(int position, Replay& out);
