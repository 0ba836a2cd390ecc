#include "game/game_tick.h"

#include "game/controls.h"
#include "game/match_flags.h"
#include "game/piece_motion.h"
#include "game/pieces.h"
#include "game/play_assets.h"
#include "game/play_screen.h"
#include "gfx/display.h"
#include "media/sound_effects.h"
#include "platform/platform.h"

int32_t gravityCountdown = 0;
uint8_t keyLatch[2][4] = {{1, 1, 1, 1}, {0, 0, 0, 0}};
uint8_t screenDirty = 0;
void (*pauseCheckHook)() = nullptr;

namespace {

// Steps the game-over state takes per gravity period: 99, 74, 49, 24, -1.
constexpr int32_t kStateFall = 25;

// Acts once per press: an action seen up arms its latch, an action seen
// held with the latch armed acts and disarms it.
void PollAction(bool held, uint8_t& latch, void (*action)(int32_t), int32_t index) {
  if (!held) {
    latch = 1;
  } else if (latch) {
    latch = 0;
    action(index);
  }
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

void RunControlHandler(ControlHandler handler, int32_t index) {
  if (handler == ControlHandler::None) return;
  // All four are read at once: the keys change only inside the wait
  // primitive, never between two polls of one step.
  const uint8_t held = HeldActions(handler, index);
  uint8_t* latch = keyLatch[index == 1 ? 1 : 0];
  PollAction(held & ActionBit(kActionLeft), latch[0], MoveLeft, index);
  PollAction(held & ActionBit(kActionRight), latch[1], MoveRight, index);
  PollAction(held & ActionBit(kActionTurn), latch[2], RotatePiece, index);
  PollAction(held & ActionBit(kActionDrop), latch[3], HardDrop, index);
}

void GameTick() {
  const uint32_t now = timeGetTime();
  if (now - lastTickTime <= kStepGateMs) return;
  lastTickTime = now;
  if (pauseCheckHook) pauseCheckHook();

  for (int p = 0; p < PlayingCount(); ++p) {
    if (players[p].state > kGameJustOver) RunControlHandler(players[p].controlHandler, players[p].index);
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
