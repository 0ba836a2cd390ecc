// The rows a player's multiple clears push into the other player's well.
#pragma once

#include "game/player_state.h"

// Moves q's well up one row (the top row is lost) and fills the bottom row
// with nine blocks of random colours around one random hole. The falling
// piece stays where it is, so it may now overlap the well's blocks.
void AddGarbageRow(PlayerState& q);
