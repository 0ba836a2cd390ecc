#include "game/game_tick.h"

#include "game/control_layouts.h"
#include "game/controls.h"
#include "game/match_flags.h"
#include "game/piece_motion.h"
#include "game/pieces.h"
#include "game/play_assets.h"
#include "game/play_screen.h"
#include "gfx/display.h"
#include "media/sound_effects.h"
#include "platform/keys.h"
#include "platform/platform.h"

int32_t gravityCountdown = 0;
uint8_t keyLatch[2][4] = {{1, 1, 1, 1}, {0, 0, 0, 0}};
uint8_t screenDirty = 0;
void (*pauseCheckHook)() = nullptr;
void (*stepDoneHook)(const InputFrame& frame) = nullptr;
void (*stepEventHook)(uint8_t events) = nullptr;

// The frame's action bits are the controls' own.
static_assert(kActionBitLeft == ActionBit(kActionLeft) && kActionBitRight == ActionBit(kActionRight) &&
              kActionBitTurn == ActionBit(kActionTurn) && kActionBitDrop == ActionBit(kActionDrop));

namespace {

// Steps the game-over state takes per gravity period: 99, 74, 49, 24, -1.
constexpr int32_t kStateFall = 25;

// The events the in-game keys noted during the step that runs.
uint8_t notedEvents = 0;

// Acts once per press: an action seen released arms its latch, an action
// seen held with the latch armed acts and disarms it.
void ActOnce(bool held, uint8_t& latch, void (*action)(int32_t), int32_t index) {
  if (!held) {
    latch = 1;
  } else if (latch) {
    latch = 0;
    action(index);
  }
}

// A player's actions of one step, through the latches, in the order left,
// right, turn, drop.
void RunActions(uint8_t actions, int32_t index) {
  uint8_t* latch = keyLatch[index == 1 ? 1 : 0];
  ActOnce(actions & kActionBitLeft, latch[0], MoveLeft, index);
  ActOnce(actions & kActionBitRight, latch[1], MoveRight, index);
  ActOnce(actions & kActionBitTurn, latch[2], RotatePiece, index);
  ActOnce(actions & kActionBitDrop, latch[3], HardDrop, index);
}

void ShowGameOverPanel(PlayerState& p) {
  if (gravityCountdown == 1) p.state -= kStateFall;
  DrawGameOverPanel(p);
  PresentFrame();
}

void GravityStep() {
  gravityCountdown = GravityPeriod(players[0].level);
  for (int p = 0; p < PlayingCount(); ++p) {
    PlayerState& player = players[p];
    if (player.state <= kGameJustOver || !MoveDown(player)) continue;
    if (LockPiece(player)) {
      // Lost through rows pushed in from below: the loss itself is counted
      // only if the spawn that follows is blocked too.
      player.state = kGameJustOver;
      PlaySoundGameOver();
    }
    SpawnPiece(player);
  }
  screenDirty = 1;
}

}  // namespace

void NoteStepEvents(uint8_t events) { notedEvents |= events; }

void RunControlHandler(ControlHandler handler, int32_t index) {
  if (handler == ControlHandler::None) return;
  RunActions(HeldActions(handler, index), index);
}

InputFrame ReadLiveInput() {
  notedEvents = 0;
  if (pauseCheckHook) pauseCheckHook();
  InputFrame frame;
  frame.events = notedEvents;
  notedEvents = 0;
  // Key states change only inside the wait primitive, and the in-game keys
  // have done their waiting: reading every player's keys now sees what the
  // players' own polls would see one after the other.
  for (int p = 0; p < PlayingCount(); ++p) {
    if (players[p].state > kGameJustOver) {
      frame.actions[p] = HeldActions(players[p].controlHandler, players[p].index);
    }
  }
  return frame;
}

void AdvanceMatch(const InputFrame& frame) {
  for (int p = 0; p < PlayingCount(); ++p) {
    // A record without a layout has no keys: its latches stay as they are.
    if (players[p].state > kGameJustOver && players[p].controlHandler != ControlHandler::None) {
      RunActions(frame.actions[p], players[p].index);
    }
  }
  for (int p = 0; p < PlayingCount(); ++p) {
    if (players[p].state < kPlaying) ShowGameOverPanel(players[p]);
  }
  gravityCountdown -= 1;
  if (gravityCountdown == 0) GravityStep();

  if (screenDirty) {
    screenDirty = 0;
    PresentFrame();
  }
}

void ApplyStepEvents(uint8_t events) {
  if (events & kEventEscape) players[0].state = players[1].state = 0;
  if (events & kEventLayout1) SwitchLayout(0);
  if (events & kEventLayout2) SwitchLayout(1);
  if (stepEventHook) stepEventHook(events);
}

void GameStep(const InputFrame& frame) {
  ApplyStepEvents(frame.events);
  AdvanceMatch(frame);
}

void GameTick() {
  const uint32_t now = timeGetTime();
  if (now - lastTickTime <= kStepGateMs) return;
  lastTickTime = now;
  const InputFrame frame = ReadLiveInput();
  AdvanceMatch(frame);
  if (stepDoneHook) stepDoneHook(frame);
}
