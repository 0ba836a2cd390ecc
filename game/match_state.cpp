#include "game/match_state.h"

#include <cstring>
#include <initializer_list>

#include "game/game_tick.h"
#include "game/match_flags.h"
#include "game/random.h"

namespace {

// FNV-1a over the fields in a fixed order and byte order, so the digest
// does not depend on the compiler's layout of the records.
class Digest {
 public:
  void Byte(uint8_t b) {
    hash_ ^= b;
    hash_ *= 0x100000001B3ull;
  }
  void Word(uint32_t w) {
    for (int i = 0; i < 4; ++i) Byte(static_cast<uint8_t>(w >> (8 * i)));
  }
  void Bytes(const uint8_t* bytes, int count) {
    for (int i = 0; i < count; ++i) Byte(bytes[i]);
  }
  uint64_t Value() const { return hash_; }

 private:
  uint64_t hash_ = 0xCBF29CE484222325ull;
};

}  // namespace

MatchState SaveMatchState() {
  MatchState state;
  std::memcpy(state.players, players, sizeof players);
  state.seed = seed;
  state.gravityCountdown = gravityCountdown;
  std::memcpy(state.keyLatch, keyLatch, sizeof keyLatch);
  state.playerCount = playerCount;
  state.blobStyle = blobStyle;
  return state;
}

void RestoreMatchState(const MatchState& state) {
  std::memcpy(players, state.players, sizeof players);
  seed = state.seed;
  gravityCountdown = state.gravityCountdown;
  std::memcpy(keyLatch, state.keyLatch, sizeof keyLatch);
  playerCount = state.playerCount;
  blobStyle = state.blobStyle;
}

uint64_t MatchStateHash() {
  Digest d;
  d.Word(static_cast<uint32_t>(playerCount));
  d.Byte(blobStyle);
  d.Word(seed);
  d.Word(static_cast<uint32_t>(gravityCountdown));
  for (int p = 0; p < PlayingCount(); ++p) {
    const PlayerState& r = players[p];
    for (int32_t v : {r.index, r.state, r.points, r.rows, r.level, r.pieceX, r.pieceY}) {
      d.Word(static_cast<uint32_t>(v));
    }
    d.Bytes(r.well, kWellCells);
    d.Byte(r.pieceColour);
    for (uint8_t cell : r.pieceCells) d.Byte(cell ? 1 : 0);
    d.Byte(static_cast<uint8_t>(r.controlHandler));
    for (uint8_t latch : keyLatch[p]) d.Byte(latch ? 1 : 0);
  }
  return d.Value();
}
