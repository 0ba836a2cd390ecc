// Moving, turning, dropping and locking the falling piece. The moves that a
// key triggers take the player's index; refused moves change nothing.
#pragma once

#include <cstdint>

#include "game/player_state.h"

void MoveLeft(int32_t index);
void MoveRight(int32_t index);
void RotatePiece(int32_t index);
// Moves the piece one row down if it can; true when the way down is blocked.
bool MoveDown(PlayerState& p);
// The drop key: straight down, lock, then the next piece (or the game is over).
void HardDrop(int32_t index);
// Writes the piece into the well, scores the lock and removes what its style
// removes; true when the player's game is over.
bool LockPiece(PlayerState& p);
