#include "app/pause_check.h"

#include "app/shared_assets.h"
#include "app/shell.h"
#include "app/win_main.h"
#include "game/control_layouts.h"
#include "game/controls.h"
#include "game/game_tick.h"
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
  ShowPausedText();
  // A pad's pause, A and B do what P, Space and Escape do here.
  auto anyResumeKey = [] {
    return KeyDown(VK_SPACE) || KeyDown('P') || KeyDown(VK_ESCAPE) || PadPauseHeld() || KeyDown(VK_GAMEPAD_A) ||
           KeyDown(VK_GAMEPAD_B);
  };
  WaitWhile([] { return KeyDown('P') || PadPauseHeld(); });
  WaitWhile([&] { return !anyResumeKey(); });
  WaitWhile(anyResumeKey);
  RedrawAfterPause();
}

// The option value of players[player]'s layout.
int32_t LayoutOption(int32_t player) {
  if (LayoutOf(player, players[player].controlHandler) == 0) return 0;
  return playerCount == 2 ? 2 : 1;
}

// The switch itself is the game's; the key is waited out before the screen
// shows the new layout's keys.
void SwitchLayoutByKey(int32_t player, int key) {
  SwitchLayout(player);
  NoteStepEvents(player == 1 ? kEventLayout2 : kEventLayout1);
  controlLayout[player] = LayoutOption(player);
  WaitUntilUp({key});
  DrawPlayScreen();
}

}  // namespace

void ShowPausedText() {
  if (font2) {
    PrintText(font2, backBuffer, screenWidth / 2 - 3 * font2->advance, screenHeight / 2 - font2->drawHeight / 2,
              "PAUSED");
  }
  PresentFrame();
}

void RedrawAfterPause() {
  DrawPlayScreen();
  PresentFrame();
}

void SwitchMusicNow() {
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
}

void StoreLayoutChoice(int32_t player) {
  controlLayout[player] = LayoutOption(player);
  DrawPlayScreen();
}

void PauseCheck() {
  if (KeyDown(VK_ESCAPE) || PadQuitHeld()) {
    players[0].state = players[1].state = 0;
    NoteStepEvents(kEventEscape);
    WaitWhile([] { return KeyDown(VK_ESCAPE) || PadQuitHeld(); });
  }
  if (KeyDown('P') || PadPauseHeld()) {
    NoteStepEvents(kEventPause);
    Pause();
  }
  if (KeyDown(VK_F8)) {
    NoteStepEvents(kEventMusic);
    SwitchMusicNow();
    WaitUntilUp({VK_F8});
  }
  if (playerCount == 2) {
    if (KeyDown(VK_F2)) {
      SwitchLayoutByKey(1, VK_F2);
    } else if (KeyDown(VK_F1)) {
      SwitchLayoutByKey(0, VK_F1);
    }
  } else if (KeyDown(VK_F1)) {
    SwitchLayoutByKey(0, VK_F1);
  }
}
