// Process-wide values of a run that the rules and the play screen read.
// The shell sets them: the language once at start-up, the number of players
// and the piece style before each match, the step time when a match starts.
#pragma once

#include <cstdint>

extern uint8_t english;        // 1 = English texts, 0 = German texts
extern int32_t playerCount;    // 1 or 2
extern uint8_t blobStyle;      // 0 = "NORMAL" pieces, 1 = "BLOB" pieces
extern uint32_t lastTickTime;  // timeGetTime() of the last game step

// How many player records a match plays: playerCount kept to the two
// records that exist, so no loop over the players can leave the array.
inline int32_t PlayingCount() { return playerCount < 0 ? 0 : playerCount > 2 ? 2 : playerCount; }
