#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <deque>
#include <memory>
#include <mutex>
#include <atomic>

#include "platform/backend.h"
#include "platform/headless/headless_backend.h"

namespace platform {
namespace detail {
namespace {

std::unique_ptr<BackendImpl> activeBackend;
Backend activeKind = Backend::Headless;
std::deque<Message> messageQueue;
bool keyHeld[kVirtualKeyCount];
bool keyPolledSinceDown[kVirtualKeyCount];
bool keyReleaseAfterPoll[kVirtualKeyCount];
WindowProcedure windowProcedure = nullptr;
StateDumper stateDumper;
// Never destroyed: a loading thread may still post while the process ends.
std::mutex& otherThreadsMutex = *new std::mutex;
std::deque<Message>& fromOtherThreads = *new std::deque<Message>;
// Wakes the active backend's wait for events after such a message.
std::atomic<void (*)()> otherThreadWaker{nullptr};

}  // namespace

void InstallBackend(BackendImpl* backend, Backend kind) {
  otherThreadWaker.store(kind == Backend::Headless ? nullptr : WakeInteractiveBackend);
  activeBackend.reset(backend);
  activeKind = kind;
  messageQueue.clear();
  ReleaseAllKeys();
  DisconnectAllPads();
}

BackendImpl& ActiveImpl() {
  if (!activeBackend) {
    // Library users that never chose a backend (unit tests, tools) get a
    // headless one with an empty script.
    headless::StartForTests();
  }
  return *activeBackend;
}

void PostMessage(const Message& message) { messageQueue.push_back(message); }

bool MessageWaiting() { return !messageQueue.empty(); }

void SetKeyHeld(int virtualKey, bool held) {
  if (virtualKey < 0 || virtualKey >= kVirtualKeyCount) return;
  keyHeld[virtualKey] = held;
  keyPolledSinceDown[virtualKey] = false;
  keyReleaseAfterPoll[virtualKey] = false;
}

void ReleaseKeyOncePolled(int virtualKey) {
  if (virtualKey < 0 || virtualKey >= kVirtualKeyCount) return;
  if (keyHeld[virtualKey] && !keyPolledSinceDown[virtualKey]) {
    keyReleaseAfterPoll[virtualKey] = true;
  } else {
    keyHeld[virtualKey] = false;
  }
}

void ReleaseAllKeys() {
  std::memset(keyHeld, 0, sizeof keyHeld);
  std::memset(keyPolledSinceDown, 0, sizeof keyPolledSinceDown);
  std::memset(keyReleaseAfterPoll, 0, sizeof keyReleaseAfterPoll);
  ReleaseAllPositionsAndPadInputs();
}

void PostMessageFromAnyThread(const Message& message) {
  {
    std::lock_guard<std::mutex> hold(otherThreadsMutex);
    fromOtherThreads.push_back(message);
  }
  if (void (*waker)() = otherThreadWaker.load()) waker();
}

void TakeMessagesFromOtherThreads() {
  std::lock_guard<std::mutex> hold(otherThreadsMutex);
  while (!fromOtherThreads.empty()) {
    messageQueue.push_back(fromOtherThreads.front());
    fromOtherThreads.pop_front();
  }
}

const StateDumper& Dumper() { return stateDumper; }

std::string StateDumpText(uint32_t clock) {
  std::string text = "{\n  \"clock\": " + std::to_string(clock);
  if (stateDumper) {
    const std::string fields = stateDumper();
    if (!fields.empty()) text += ",\n" + fields;
  }
  return text + "\n}\n";
}

void WidenPalette(const uint8_t entries[256 * 4], uint32_t out[256]) {
  for (int i = 0; i < 256; ++i) {
    const uint8_t* e = entries + 4 * i;
    // The game's components are 6-bit values shifted left by 2; copying the
    // top bits into the bottom ones gives 0..255 like a VGA DAC's full range.
    uint32_t r = e[0] | (e[0] >> 6), g = e[1] | (e[1] >> 6), b = e[2] | (e[2] >> 6);
    out[i] = (r << 16) | (g << 8) | b;
  }
}

void ConvertFrame(const uint8_t* pixels, int pitch, const uint32_t palette[256], uint32_t* out,
                  int outPitchPixels) {
  for (int y = 0; y < kScreenHeight; ++y) {
    const uint8_t* src = pixels + static_cast<ptrdiff_t>(y) * pitch;
    uint32_t* dst = out + static_cast<ptrdiff_t>(y) * outPitchPixels;
    for (int x = 0; x < kScreenWidth; ++x) dst[x] = palette[src[x]];
  }
}

}  // namespace detail

using detail::ActiveImpl;

void Start(const LaunchOptions& options) {
  if (options.backend == Backend::Headless) {
    headless::Start(options);
  } else {
    detail::StartInteractiveBackend(options);
  }
}

void Exit(int status) {
  ActiveImpl().Exit(status);
  std::abort();  // every backend's Exit ends the process
}

Backend ActiveBackend() { return detail::activeKind; }

int64_t WallClockSeconds() {
  if (ActiveBackend() == Backend::Headless) return 0;
  return static_cast<int64_t>(std::time(nullptr));
}

void Wait() { ActiveImpl().Wait(); }

void WakeAt(uint32_t time) { ActiveImpl().WakeAt(time); }

uint32_t PassMilliseconds() { return ActiveImpl().PassMilliseconds(); }

bool IsKeyHeld(int virtualKey) {
  ActiveImpl().Poll();
  if (detail::IsGamepadKey(virtualKey)) return detail::GamepadKeyHeld(virtualKey);
  if (virtualKey < 0 || virtualKey >= kVirtualKeyCount) return false;
  const bool held = detail::keyHeld[virtualKey];
  detail::keyPolledSinceDown[virtualKey] = true;
  if (detail::keyReleaseAfterPoll[virtualKey]) {
    detail::keyReleaseAfterPoll[virtualKey] = false;
    detail::keyHeld[virtualKey] = false;
  }
  return held;
}

void SetWindowProcedure(WindowProcedure procedure) { detail::windowProcedure = procedure; }

bool PeekMessage() {
  ActiveImpl().Poll();
  detail::TakeMessagesFromOtherThreads();
  return detail::MessageWaiting();
}

bool GetMessage(Message& message) {
  while (!detail::MessageWaiting()) ActiveImpl().WaitForMessage();
  message = detail::messageQueue.front();
  detail::messageQueue.pop_front();
  return message.message != WM_QUIT;
}

void DispatchMessage(const Message& message) {
  if (detail::windowProcedure && message.message != WM_QUIT) detail::windowProcedure(message);
}

void WaitMessage() {
  ActiveImpl().Poll();
  detail::TakeMessagesFromOtherThreads();
  if (!detail::MessageWaiting()) ActiveImpl().WaitForMessage();
}

void PostQuitMessage(int exitCode) {
  detail::PostMessage(Message{WM_QUIT, static_cast<uintptr_t>(exitCode)});
}

ScreenError OpenScreen(const char* title, const uint8_t* pixels, int pitch) {
  return ActiveImpl().OpenScreen(title, pixels, pitch);
}

void CloseScreen() { ActiveImpl().CloseScreen(); }

void MarkScreenChanged() { ActiveImpl().MarkScreenChanged(); }

void MarkScreenChanged(int x, int y, int width, int height) {
  // Kept to the screen: a caller's rectangle never reaches past it.
  const int left = x < 0 ? 0 : x, top = y < 0 ? 0 : y;
  const int right = x + width > kScreenWidth ? kScreenWidth : x + width;
  const int bottom = y + height > kScreenHeight ? kScreenHeight : y + height;
  if (right <= left || bottom <= top) return;
  ActiveImpl().MarkScreenRectChanged(left, top, right - left, bottom - top);
}

void SetScreenPalette(const uint8_t entries[256 * 4]) { ActiveImpl().SetScreenPalette(entries); }

void ShowPointer(bool show) { ActiveImpl().ShowPointer(show); }

void SetScreenMode(bool fullscreen, bool integerScaling) { ActiveImpl().SetScreenMode(fullscreen, integerScaling); }

namespace {
RendererChoice rendererChoice = RendererChoice::Automatic;
}  // namespace

void SetRendererChoice(RendererChoice choice) { rendererChoice = choice; }

RendererChoice detail::ChosenRenderer() { return rendererChoice; }

bool ScreenFullscreen() { return ActiveImpl().ScreenFullscreen(); }

BoxAnswer ShowMessageBox(const char* text, const char* caption, BoxButtons buttons) {
  return ActiveImpl().ShowMessageBox(text, caption, buttons);
}

void SetStateDumper(StateDumper dumper) { detail::stateDumper = std::move(dumper); }

}  // namespace platform

uint32_t timeGetTime() { return platform::ActiveImpl().Now(); }
