// Starting and running a match for playerCount players in the style of
// blobStyle.
#pragma once

#include <cstdint>

// The seed of the last match (the clock when it started); none before the first.
extern bool matchSeeded;
extern uint32_t matchSeed;

// Seeds the generator from the clock, resets the playing records, spawns
// their first pieces, draws the play screen and sets the game palette.
void StartMatch();

// A whole match: StartMatch, the start effect, then the match loop until
// either record's state falls to 0 or below, or the program is to end.
void PlayMatch();

// True after a match that Escape ended (both records at state 0).
bool MatchAbandoned();
