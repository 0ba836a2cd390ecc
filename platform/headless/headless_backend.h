// The headless backend: no window and no sound device, a virtual clock that
// moves 1 ms per wait, and a script of keys, screenshots and state dumps.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/pads.h"
#include "platform/platform.h"

namespace platform::headless {

// Starts a scripted run (reads and checks the script, exits 2 on errors).
void Start(const LaunchOptions& options);

// A headless backend with no script and the clock at 0, for unit tests and
// tools. Replaces any backend that runs.
void StartForTests();

// ---- control for unit tests ----
// Holds or releases a script key (by what it types and where it sits).
void SetKeyHeld(int virtualKey, bool held);
void SetPadConnected(int pad, bool connected);
void SetPadButton(int pad, PadButton button, bool held);
void SetPadAxis(int pad, PadAxis axis, int value);
void SetClock(uint32_t ms);
void PostFocus(bool gained);
void PostClose();
// The palette entries last handed to the screen (256 x red, green, blue, flags).
const uint8_t* ScreenPaletteEntries();
// How often the screen was marked changed since the backend started.
int ScreenChangeCount();
// Called after every millisecond the clock moves, with the new time; the
// null audio device uses it to consume sound in step with the clock.
void SetClockListener(std::function<void(uint32_t now)> listener);
// The screen as 640 x 480 RGB bytes, as a screenshot shows it.
std::vector<uint8_t> ScreenRgb();
// Makes the next OpenScreen fail as a real desktop can.
void FailNextScreenOpen(ScreenError error);
// Caption and text of the last message box shown ("" when none).
std::string LastMessageBox();

}  // namespace platform::headless
