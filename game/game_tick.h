// One step of a running match: keys, gravity, locks, the game-over panel
// and the frame. The match loop calls GameTick on every pass; the tick
// paces itself on the millisecond clock.
#pragma once

#include <cstdint>

#include "game/player_state.h"

// A step comes only when more than this many milliseconds have passed.
constexpr uint32_t kStepGateMs = 25;

// Steps until the next gravity step; one countdown for both wells, reloaded
// from player 1's level.
extern int32_t gravityCountdown;
// One latch per player and action (left, right, turn, drop); nonzero =
// armed. Player 1's are armed at program start, player 2's are not, and a
// new match leaves them as they are.
extern uint8_t keyLatch[2][4];
// Something was drawn since the frame was last shown.
extern uint8_t screenDirty;
// The in-game keys (quit, pause, music, layouts) of the front end, checked
// once per step before the players move; null checks nothing.
extern void (*pauseCheckHook)();

void GameTick();

// The keys of a layout act on player `index`: each press acts once.
void RunControlHandler(ControlHandler handler, int32_t index);

// Gravity reload for player 1's level: 38 steps at level 0 down to 2 at 18.
inline int32_t GravityPeriod(int32_t level) { return 38 - 2 * level; }
