#include "app/shell.h"

#include "app/shared_assets.h"
#include "app/win_main.h"
#include "gfx/display.h"
#include "media/midi_stream.h"
#include "media/music.h"

uint8_t quitRequested = 0;
uint8_t closing = 0;
int32_t appActive = 0;
uint8_t wasDeactivated = 0;
Message shellMessage;

void MainWindowProc(const Message& message) {
  switch (message.message) {
    case WM_DESTROY:
      quitRequested = 1;
      if (musicOff == 0) {
        StopMusic();
        // Off until F8 brings it back; the player's stored choice is kept.
        musicOff = 1;
      }
      if (closing) SaveOptionsAndRelease();
      break;
    case WM_APP_MUSIC_FAILED:
      // The SoundFont the music waited for did not load: the same message
      // as when the music cannot start, once, and the music goes off. Not
      // once the game is closing: the music is stopped then anyway.
      if (musicOff == 0 && !closing && currentMusic && MusicSynthFailed()) {
        StopMusic();
        ReportMusicFailure();
      }
      break;
    case WM_ACTIVATEAPP:
      appActive = static_cast<int32_t>(message.wParam);
      if (message.wParam != 0 && wasDeactivated) {
        if (primarySurface) primarySurface->Restore();
        if (backBuffer) backBuffer->Restore();
      }
      if (message.wParam == 0) wasDeactivated = 1;
      break;
    default: break;
  }
}

bool HandleWaitingMessage() {
  if (!platform::PeekMessage()) return false;
  if (!platform::GetMessage(shellMessage)) quitRequested = 1;
  platform::DispatchMessage(shellMessage);
  return true;
}

void WaitKeysUp(std::initializer_list<int> keys) {
  for (;;) {
    bool held = false;
    for (int key : keys) held = held || KeyDown(key);
    if (!held) return;
    platform::Wait();
  }
}
