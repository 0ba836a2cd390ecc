#include "game/player_state.h"

PlayerState players[2];
