// The real game's backend: an SDL2 window showing the 640 x 480 palette
// screen, the keyboard, message boxes.
#pragma once

#include "platform/platform.h"

namespace platform::sdl {

void Start(const LaunchOptions& options);

// Wakes the backend's wait for window events (any thread): a message from
// another thread is waiting to be taken.
void WakeFromOtherThread();

}  // namespace platform::sdl
