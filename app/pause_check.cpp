#include "app/pause_check.h"

#include "app/shared_assets.h"
#include "app/shell.h"
#include "app/win_main.h"
#include "game/match_flags.h"
#include "game/play_assets.h"
#include "game/play_screen.h"
#include "game/player_state.h"
#include "gfx/display.h"
#include "gfx/font.h"
#include "media/mixer.h"
#include "media/music.h"
#include "platform/keys.h"

namespace {

// Holds the game until none of the keys is held (no messages meanwhile).
void WaitUntilUp(std::initializer_list<int> keys) { WaitKeysUp(keys); }

// Holds the game until one of the keys is down.
void WaitUntilDown(std::initializer_list<int> keys) {
  for (;;) {
    for (int key : keys) {
      if (KeyDown(key)) return;
    }
    platform::Wait();
  }
}

void Pause() {
  if (font2) {
    PrintText(font2, backBuffer, screenWidth / 2 - 3 * font2->advance, screenHeight / 2 - font2->drawHeight / 2,
              "PAUSED");
  }
  PresentFrame();
  WaitUntilUp({'P'});
  WaitUntilDown({VK_SPACE, 'P', VK_ESCAPE});
  WaitUntilUp({VK_SPACE, 'P', VK_ESCAPE});
  DrawPlayScreen();
  PresentFrame();
}

void SwitchMusic() {
  if (!MixerOpen()) {
    // No sound device: nothing can play, but the player's choice is kept.
    musicOffChoice = musicOffChoice ? 0 : 1;
  } else if (musicOff) {
    if (StartMusic("MUSIC.MDS", 1)) {
      musicOff = musicOffChoice = 0;
    } else {
      ReportMusicFailure();
    }
  } else {
    StopMusic();
    musicOff = musicOffChoice = 1;
  }
  WaitUntilUp({VK_F8});
}

// Layout 0 and layout 1 of a player in this match, and the option values
// the switch stores for them.
void SwitchLayout(int player, ControlHandler layout0, ControlHandler layout1, int32_t option1, int key) {
  PlayerState& record = players[player];
  if (record.controlHandler == layout1) {
    record.controlHandler = layout0;
    controlLayout[player] = 0;
  } else {
    record.controlHandler = layout1;
    controlLayout[player] = option1;
  }
  WaitUntilUp({key});
  DrawPlayScreen();
}

}  // namespace

void PauseCheck() {
  if (KeyDown(VK_ESCAPE)) {
    players[0].state = players[1].state = 0;
    WaitUntilUp({VK_ESCAPE});
  }
  if (KeyDown('P')) Pause();
  if (KeyDown(VK_F8)) SwitchMusic();
  if (playerCount == 2) {
    if (KeyDown(VK_F2)) {
      SwitchLayout(1, ControlHandler::ArrowKeysDownRotate, ControlHandler::ArrowKeysUpRotate, 2, VK_F2);
    } else if (KeyDown(VK_F1)) {
      SwitchLayout(0, ControlHandler::LetterKeysShiftDrop, ControlHandler::LetterKeysWRotate, 2, VK_F1);
    }
  } else if (KeyDown(VK_F1)) {
    SwitchLayout(0, ControlHandler::ArrowKeysDownRotate, ControlHandler::ArrowKeysUpRotate, 1, VK_F1);
  }
}
