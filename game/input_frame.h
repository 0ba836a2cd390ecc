// What one game step takes in: the actions each player's keys hold as the
// step polls them, and what the in-game keys did in that step. Live play
// reads a frame from the keyboard, a replay from its file; the rules take
// both alike.
#pragma once

#include <cstdint>

// Bits of InputFrame::actions[p], in the order a step performs them.
constexpr uint8_t kActionBitLeft = 1;
constexpr uint8_t kActionBitRight = 2;
constexpr uint8_t kActionBitTurn = 4;
constexpr uint8_t kActionBitDrop = 8;
constexpr uint8_t kAllActions = 15;

// Bits of InputFrame::events. They happen before the players move, in this
// order; at most one of the two layout switches happens in a step.
constexpr uint8_t kEventEscape = 1;      // Escape ended the match
constexpr uint8_t kEventPause = 2;       // P paused the game and it went on
constexpr uint8_t kEventMusic = 4;       // F8 switched the music
constexpr uint8_t kEventLayout1 = 8;     // player 1's key layout was switched
constexpr uint8_t kEventLayout2 = 16;    // player 2's key layout was switched
constexpr uint8_t kEventFocusBack = 32;  // the game had lost the focus since the step before
constexpr uint8_t kAllEvents = 63;

struct InputFrame {
  uint8_t actions[2] = {};
  uint8_t events = 0;

  bool operator==(const InputFrame&) const = default;
};
