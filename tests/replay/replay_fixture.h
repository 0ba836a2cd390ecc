// What the replay tests share: a headless screen with pictures and a font
// of plain colours, a match started as the match loop starts one, and a
// match played live through the game tick with keys chosen at random.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "game/input_frame.h"
#include "game/replay_format.h"

namespace replay_test {

// The kind of match a test plays.
struct MatchKind {
  int players = 1;
  bool blob = false;
  int layouts[2] = {0, 0};
  uint32_t seed = 1000;
};

// What a live match did, step by step.
struct LiveMatch {
  std::vector<InputFrame> frames;   // as the game tick handed them on
  std::vector<uint64_t> states;     // MatchStateHash after each step
  std::vector<uint64_t> screens;    // the back buffer's digest after each step
  std::vector<uint8_t> lastScreen;  // the back buffer after the last step
  Replay replay;                    // as the recorder made it
};

class ReplayTest : public ::testing::Test {
 public:
  void SetUp() override;
  void TearDown() override;

  // Starts a match of this kind the way the match loop does.
  void StartMatchOf(const MatchKind& kind);
  // Plays a match live: before every step each player's keys are set at
  // random (held for a few steps), and with `inGameKeys` now and then P,
  // Escape, F1 or F2 is pressed and let go as a player would. Stops when the
  // match ends or after `steps` steps. Recorded as the match loop records.
  LiveMatch PlayLive(const MatchKind& kind, uint32_t steps, uint32_t keySeed, bool inGameKeys);

  // A digest of the back buffer, or of `pixels` (640 x 480, a row of 640
  // bytes), leaving out the rectangle `skip`.
  static uint64_t ScreenDigest();
  static uint64_t ScreenDigest(const uint8_t* pixels, int pitch, int skipLeft, int skipTop, int skipRight,
                               int skipBottom);
};

}  // namespace replay_test
