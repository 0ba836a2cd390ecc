// The audio stream's common part: picks the device of the active backend and
// keeps the audio log of headless runs.
#include <cstdio>

#include "platform/audio_device.h"
#include "platform/platform.h"

namespace platform::audio {
namespace {

const detail::Device* device = nullptr;
int deviceRate = 0;
std::FILE* logFile = nullptr;
Tap tap;

}  // namespace

namespace detail {
const Tap& ActiveTap() { return tap; }
}  // namespace detail

bool Open(MixCallback callback) {
  if (device) return true;
  const detail::Device& wanted =
      ActiveBackend() == Backend::Headless ? detail::NullDevice() : detail::InteractiveDevice();
  int rate = 0;
  if (!wanted.open(callback, rate)) return false;
  device = &wanted;
  deviceRate = rate;
  return true;
}

void Close() {
  if (!device) return;
  device->close();
  device = nullptr;
  deviceRate = 0;
}

bool IsOpen() { return device != nullptr; }

int Rate() { return deviceRate; }

void Lock() {
  if (device) device->lock();
}

void Unlock() {
  if (device) device->unlock();
}

void SetLogPath(const std::string& path) {
  if (logFile) std::fclose(logFile);
  logFile = nullptr;
  if (path.empty()) return;
  logFile = std::fopen(path.c_str(), "w");
  if (!logFile) std::fprintf(stderr, "headless: cannot write %s\n", path.c_str());
}

void LogEvent(const char* text) {
  if (!logFile) return;
  std::fprintf(logFile, "%u %s\n", timeGetTime(), text);
  // Flushed line by line: a run may end by any exit path.
  std::fflush(logFile);
}

void SetTap(Tap newTap) {
  Lock();
  tap = std::move(newTap);
  Unlock();
}

}  // namespace platform::audio
