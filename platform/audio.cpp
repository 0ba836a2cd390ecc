// The audio stream's common part: picks the device of the active backend and
// keeps the audio log of headless runs.
#include <atomic>
#include <cstdio>

#include "platform/audio_device.h"
#include "platform/platform.h"

namespace platform::audio {
namespace {

const detail::Device* device = nullptr;
int deviceRate = 0;
// Blocks in a row in which nothing played; the device rests after about
// half a second of them.
std::atomic<int> quietBlocks{0};
constexpr int kQuietBlocksBeforeRest = 48;
bool resting = false;
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

void ReportBlockActivity(bool active) {
  if (active) {
    quietBlocks.store(0, std::memory_order_relaxed);
  } else if (quietBlocks.load(std::memory_order_relaxed) < kQuietBlocksBeforeRest) {
    quietBlocks.fetch_add(1, std::memory_order_relaxed);
  }
}

void Wake() {
  quietBlocks.store(0, std::memory_order_relaxed);
  if (!resting || !device || !device->rest) return;
  resting = false;
  device->rest(false);
}

void RestIfQuiet() {
  if (resting || !device || !device->rest) return;
  if (quietBlocks.load(std::memory_order_relaxed) < kQuietBlocksBeforeRest) return;
  resting = true;
  device->rest(true);
}

void Close() {
  if (!device) return;
  resting = false;
  quietBlocks.store(0, std::memory_order_relaxed);
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
