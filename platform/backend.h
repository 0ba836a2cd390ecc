// The seam between the platform's common part (message queue, key state,
// files) and its backends. Only files in platform/ include this.
#pragma once

#include <cstdint>
#include <string>

#include "platform/pads.h"
#include "platform/platform.h"

namespace platform::detail {

class BackendImpl {
 public:
  virtual ~BackendImpl() = default;

  virtual uint32_t Now() = 0;
  virtual void Wait() = 0;
  virtual void WakeAt(uint32_t) {}
  virtual uint32_t PassMilliseconds() { return 1; }
  // Takes in events that arrived since the last call (keys, focus, close).
  virtual void Poll() = 0;
  // Blocks until the message queue holds something.
  virtual void WaitForMessage() = 0;

  virtual ScreenError OpenScreen(const char* title, const uint8_t* pixels, int pitch) = 0;
  virtual void CloseScreen() = 0;
  virtual void MarkScreenChanged() = 0;
  virtual void MarkScreenRectChanged(int, int, int, int) { MarkScreenChanged(); }
  virtual void SetScreenPalette(const uint8_t entries[256 * 4]) = 0;
  virtual void ShowPointer(bool show) = 0;
  // Fullscreen or windowed, fitted or whole-factor scaling (see platform.h).
  virtual void SetScreenMode(bool fullscreen, bool integerScaling) = 0;
  virtual bool ScreenFullscreen() = 0;
  virtual BoxAnswer ShowMessageBox(const char* text, const char* caption, BoxButtons buttons) = 0;
  [[noreturn]] virtual void Exit(int status) = 0;
};

// The renderer the player chose (SetRendererChoice).
RendererChoice ChosenRenderer();

// Installs the backend that the public functions talk to (takes ownership).
void InstallBackend(BackendImpl* backend, Backend kind);
// Starts the backend a player sees: sdl natively, web in the browser build.
// Each build links exactly one of the two.
void StartInteractiveBackend(const LaunchOptions& options);
// Wakes the interactive backend's wait from another thread (the SoundFont
// loader), so that the message it posted is taken at once.
void WakeInteractiveBackend();
BackendImpl& ActiveImpl();

// Shared state that the backends feed.
void PostMessage(const Message& message);
bool MessageWaiting();
void SetKeyHeld(int virtualKey, bool held);
// The key went up. A key that no poll has seen down since it went down stays
// held until one has, so a tap quicker than a pass of the game's loop is
// still seen once.
void ReleaseKeyOncePolled(int virtualKey);
// Releases every key, key position and pad input (pads stay connected).
void ReleaseAllKeys();
// Messages from other threads (the SoundFont loader): queued under a lock
// and moved into the message queue by the main thread's next peek or wait.
void PostMessageFromAnyThread(const Message& message);
void TakeMessagesFromOtherThreads();

// Key positions and pads (platform/input_state.cpp).
void SetKeyPositionHeld(int position, bool held);
// The key at `position` went up; kept held until a poll has seen it, as
// ReleaseKeyOncePolled does for virtual keys.
void ReleaseKeyPositionOncePolled(int position);
void ReleaseAllPositionsAndPadInputs();
void SetPadConnected(int pad, bool connected);
void SetPadButton(int pad, PadButton button, bool held);
void SetPadAxis(int pad, PadAxis axis, int value);
void DisconnectAllPads();
// The "any pad" virtual keys of platform/keys.h.
bool IsGamepadKey(int virtualKey);
bool GamepadKeyHeld(int virtualKey);
const StateDumper& Dumper();
// The state dump as a JSON text: the clock, then the game's fields.
std::string StateDumpText(uint32_t clock);

// The screen: 8-bit entries handed to SetScreenPalette, widened to 8 bits of
// intensity (252 shows as 255), as 0x00RRGGBB words ready for a 32-bit frame.
void WidenPalette(const uint8_t entries[256 * 4], uint32_t out[256]);
// Converts a 640 x 480 frame of indices to 32-bit pixels through a palette.
void ConvertFrame(const uint8_t* pixels, int pitch, const uint32_t palette[256], uint32_t* out,
                  int outPitchPixels);

}  // namespace platform::detail
