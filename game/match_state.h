// Everything that decides how a running match goes on, as one plain block:
// both player records, the random generator, the gravity countdown, the key
// latches and the kind of match. A step run from the same block and the
// same input frame always ends in the same block, so the block can be saved
// and put back whole (a replay viewer, a re-simulation).
#pragma once

#include <cstdint>
#include <type_traits>

#include "game/player_state.h"

struct MatchState {
  PlayerState players[2];
  uint32_t seed;
  int32_t gravityCountdown;
  uint8_t keyLatch[2][4];
  int32_t playerCount;
  uint8_t blobStyle;
};
static_assert(std::is_trivially_copyable_v<MatchState>, "the match state is copied as one block");

// The match state as it stands, and putting a saved one back.
MatchState SaveMatchState();
void RestoreMatchState(const MatchState& state);

// A 64-bit digest of what decides the rest of the match: the kind of match,
// the generator, the countdown, and each playing player's record (well,
// piece, counters, state, layout) and latches. `losses` is left out: it
// counts games over the whole run, not this match.
uint64_t MatchStateHash();

// The digest folded to 16 bits, for checkpoints along a replay.
inline uint16_t ShortHash(uint64_t hash) {
  return static_cast<uint16_t>(hash ^ (hash >> 16) ^ (hash >> 32) ^ (hash >> 48));
}
