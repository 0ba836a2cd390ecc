// Sampling the browser's gamepads (web_pads.cpp).
#pragma once

#include "platform/web/browser_pads.h"

namespace platform::web {

enum class PadSampling { Unchanged, Changed, NoGamepadApi };

// Takes one sample of the Gamepad API into `pads`.
PadSampling SampleBrowserPads(BrowserPads& pads);

}  // namespace platform::web
