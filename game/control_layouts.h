// The two key layouts each player can choose between, for the kind of
// match that runs (playerCount), and the switch between them.
#pragma once

#include <cstdint>

#include "game/player_state.h"

// The handler of layout 0 or layout 1 (any nonzero `layout`) of player
// `player` (0 or 1): the letter keys for player 1 of two, else the arrows.
ControlHandler LayoutHandler(int32_t player, int32_t layout);

// Which layout a handler is for player `player`: 1 for that player's layout
// 1, 0 for anything else.
int32_t LayoutOf(int32_t player, ControlHandler handler);

// Gives players[player] the other layout: layout 0 when it has layout 1,
// layout 1 otherwise. Returns the new layout.
int32_t SwitchLayout(int32_t player);
