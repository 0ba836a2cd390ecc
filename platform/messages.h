// The window messages the game's window procedure handles, with the codes
// and meanings of the system the game was written for.
#pragma once

#include <cstdint>

constexpr uint32_t WM_DESTROY = 0x0002;      // the window was closed
constexpr uint32_t WM_PAINT = 0x000F;
constexpr uint32_t WM_QUIT = 0x0012;         // posted by PostQuitMessage
constexpr uint32_t WM_ACTIVATEAPP = 0x001C;  // wParam: 1 focus gained, 0 focus lost
// The game's own: the SoundFont that the music was waiting for could not be
// loaded (it loads on a worker thread while the game goes on).
constexpr uint32_t WM_APP_MUSIC_FAILED = 0x8001;

struct Message {
  uint32_t message = 0;
  uintptr_t wParam = 0;
};
