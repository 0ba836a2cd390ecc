// The real game's backend: an SDL2 window showing the 640 x 480 palette
// screen, the keyboard, message boxes.
#pragma once

#include "platform/platform.h"

namespace platform::sdl {

void Start(const LaunchOptions& options);

}  // namespace platform::sdl
