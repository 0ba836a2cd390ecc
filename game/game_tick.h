// One step of a running match: keys, gravity, locks, the game-over panel
// and the frame. The match loop calls GameTick on every pass; the tick
// paces itself on the millisecond clock and takes the step's input frame
// from the keyboard. A replay runs the same steps from recorded frames.
#pragma once

#include <cstdint>

#include "game/input_frame.h"
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
// once per step before the players move; null checks nothing. It tells
// what it did through NoteStepEvents.
extern void (*pauseCheckHook)();
// Told of every step GameTick ran, with its frame, after the step (the
// match recorder); null tells nobody.
extern void (*stepDoneHook)(const InputFrame& frame);
// What the front end shows of a replayed step's events (the pause, the
// music, a layout switch's options and redraw), after their effect on the
// match; null shows nothing.
extern void (*stepEventHook)(uint8_t events);

void GameTick();

// The in-game keys report the events of the step that runs (kEvent* bits).
void NoteStepEvents(uint8_t events);

// The actions player `p`'s keys hold now, by the keys of the player's
// layout. The one place that answers it for live play.
uint8_t HeldActions(const PlayerState& p);

// The frame of a live step: the in-game keys act (pauseCheckHook, which may
// wait for keys), then the keys of every player who plays are read.
InputFrame ReadLiveInput();

// The players' part of a step: each playing player's actions through the
// key latches, the game-over panels, gravity, locks and the frame shown.
void AdvanceMatch(const InputFrame& frame);

// What a step's events do to the match, in the order the in-game keys act:
// Escape ends it, a layout switch gives the player the other layout; then
// stepEventHook shows them.
void ApplyStepEvents(uint8_t events);

// One whole step from its frame alone: ApplyStepEvents, then AdvanceMatch.
// Given the same match state and frame it does what the live step did.
void GameStep(const InputFrame& frame);

// The keys of a layout act on player `index`: each press acts once.
void RunControlHandler(ControlHandler handler, int32_t index);

// Gravity reload for player 1's level: 38 steps at level 0 down to 2 at 18.
inline int32_t GravityPeriod(int32_t level) { return 38 - 2 * level; }
