// The headless null device: no sound card, but the mix callback runs for the
// frames of every virtual millisecond as the clock moves, on the main thread.
// Effects end and music buffers finish at the same virtual times in every
// run, and tests can listen to the output through the tap.
#include <cstdint>
#include <mutex>

#include "platform/audio_device.h"
#include "platform/headless/headless_backend.h"

namespace platform::audio::detail {
namespace {

// The null device's rate, fixed so that headless runs log their music
// buffers at the same virtual times whatever a real device would choose.
constexpr int kNullRate = 48000;

std::recursive_mutex deviceMutex;
MixCallback mixCallback = nullptr;
uint64_t millisecondsRun = 0;
uint64_t framesConsumed = 0;
float block[kBufferFrames * kChannels];

// One virtual millisecond passed: consume its frames. Counting from the
// opening keeps fractional rates exact (44100 Hz gives 44 or 45 frames).
void ConsumeOneMillisecond() {
  ++millisecondsRun;
  uint64_t due = millisecondsRun * kNullRate / 1000;
  while (framesConsumed < due) {
    int frames = static_cast<int>(std::min<uint64_t>(due - framesConsumed, kBufferFrames));
    std::lock_guard<std::recursive_mutex> hold(deviceMutex);
    if (!mixCallback) return;
    mixCallback(block, frames);
    if (const Tap& tap = ActiveTap()) tap(block, frames);
    framesConsumed += static_cast<uint64_t>(frames);
  }
}

bool OpenNull(MixCallback callback, int& rate) {
  {
    std::lock_guard<std::recursive_mutex> hold(deviceMutex);
    mixCallback = callback;
    millisecondsRun = 0;
    framesConsumed = 0;
  }
  headless::SetClockListener([](uint32_t) { ConsumeOneMillisecond(); });
  rate = kNullRate;
  return true;
}

void CloseNull() {
  headless::SetClockListener(nullptr);
  std::lock_guard<std::recursive_mutex> hold(deviceMutex);
  mixCallback = nullptr;
}

void LockNull() { deviceMutex.lock(); }
void UnlockNull() { deviceMutex.unlock(); }

}  // namespace

const Device& NullDevice() {
  static const Device device{OpenNull, CloseNull, LockNull, UnlockNull};
  return device;
}

}  // namespace platform::audio::detail
