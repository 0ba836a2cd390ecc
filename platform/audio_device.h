// The seam between the audio stream's common part and the devices. Only
// files in platform/ include this.
#pragma once

#include "platform/audio.h"

namespace platform::audio::detail {

// One output device. Open fills `rate` with the frames per second it runs at.
struct Device {
  bool (*open)(MixCallback callback, int& rate);
  void (*close)();
  void (*lock)();
  void (*unlock)();
  // Stops (true) or starts again (false) the callback; null for a device
  // that never rests.
  void (*rest)(bool resting) = nullptr;
};

// The device of the interactive backend: SDL natively, Web Audio in the
// browser build. Each build links exactly one.
const Device& InteractiveDevice();
const Device& NullDevice();

// The tap of the null device (see SetTap).
const Tap& ActiveTap();

}  // namespace platform::audio::detail
