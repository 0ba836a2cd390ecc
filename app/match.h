// Starting and running a match for playerCount players in the style of
// blobStyle.
#pragma once

#include <cstdint>
#include <string>

// The seed of the last match (the clock when it started); none before the first.
extern bool matchSeeded;
extern uint32_t matchSeed;

// Seeds the generator from the clock, resets the playing records, spawns
// their first pieces, draws the play screen and sets the game palette.
void StartMatch();
// The same with a seed of the caller's choice (a replay's).
void StartMatchWith(uint32_t seedValue);

// A whole match: StartMatch, the start effect, then the match loop until
// either record's state falls to 0 or below, or the program is to end. The
// match is recorded and its replay saved.
void PlayMatch();

// True after a match that Escape ended (both records at state 0).
bool MatchAbandoned();

// The file name (in the replay directory) of the last match's replay; empty
// when it could not be saved.
const std::string& LastMatchReplay();
