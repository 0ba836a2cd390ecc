#include "app/pause_check.h"

#include "app/shared_assets.h"
#include "app/shell.h"
#include "app/win_main.h"
#include "game/controls.h"
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

// The pads' pause and quit (Start and Back unless the player chose others).
bool PadPauseHeld() { return PadActionHeld(-1, kPadActionPause); }
bool PadQuitHeld() { return PadActionHeld(-1, kPadActionQuit); }

// Holds the game while `held` says so, or until it does.
template <typename Held>
void WaitWhile(Held held) {
  while (held()) platform::Wait();
}

void Pause() {
  if (font2) {
    PrintText(font2, backBuffer, screenWidth / 2 - 3 * font2->advance, screenHeight / 2 - font2->drawHeight / 2,
              "PAUSED");
  }
  PresentFrame();
  // A pad's pause, A and B do what P, Space and Escape do here.
  auto anyResumeKey = [] {
    return KeyDown(VK_SPACE) || KeyDown('P') || KeyDown(VK_ESCAPE) || PadPauseHeld() || KeyDown(VK_GAMEPAD_A) ||
           KeyDown(VK_GAMEPAD_B);
  };
  WaitWhile([] { return KeyDown('P') || PadPauseHeld(); });
  WaitWhile([&] { return !anyResumeKey(); });
  WaitWhile(anyResumeKey);
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
  if (KeyDown(VK_ESCAPE) || PadQuitHeld()) {
    players[0].state = players[1].state = 0;
    WaitWhile([] { return KeyDown(VK_ESCAPE) || PadQuitHeld(); });
  }
  if (KeyDown('P') || PadPauseHeld()) Pause();
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
