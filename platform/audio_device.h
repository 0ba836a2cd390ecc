// The seam between the audio stream's common part and the two devices. Only
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
};

const Device& SdlDevice();
const Device& NullDevice();

// The tap of the null device (see SetTap).
const Tap& ActiveTap();

}  // namespace platform::audio::detail
