#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>

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

}  // namespace

void InstallBackend(BackendImpl* backend, Backend kind) {
  activeBackend.reset(backend);
  activeKind = kind;
  messageQueue.clear();
  ReleaseAllKeys();
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

std::optional<std::string> ParseLaunchOptions(int argc, char** argv, LaunchOptions& out) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= argc) return std::nullopt;
      return std::string(argv[++i]);
    };
    if (arg == "--headless") {
      out.backend = Backend::Headless;
    } else if (arg == "--window") {
      out.window = true;
    } else if (arg == "--script") {
      auto v = value();
      if (!v) return "--script needs a file";
      out.scriptPath = *v;
    } else if (arg == "--audio-log") {
      auto v = value();
      if (!v) return "--audio-log needs a file";
      out.audioLogPath = *v;
    } else if (arg == "--max-ms") {
      auto v = value();
      char* end = nullptr;
      if (!v || v->empty()) return "--max-ms needs a number of milliseconds";
      unsigned long n = std::strtoul(v->c_str(), &end, 10);
      if (*end != '\0' || n > 0xFFFFFFFFul) return "--max-ms needs a number of milliseconds";
      out.maxMs = static_cast<uint32_t>(n);
    } else {
      return "unknown option: " + arg;
    }
  }
  if (out.backend == Backend::Headless && out.scriptPath.empty()) {
    return "--headless needs --script FILE";
  }
  if (out.backend == Backend::Sdl && (!out.scriptPath.empty() || out.maxMs || !out.audioLogPath.empty())) {
    return "--script, --max-ms and --audio-log go with --headless";
  }
  return std::nullopt;
}

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

void Wait() { ActiveImpl().Wait(); }

bool IsKeyHeld(int virtualKey) {
  ActiveImpl().Poll();
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

void SetScreenPalette(const uint8_t entries[256 * 4]) { ActiveImpl().SetScreenPalette(entries); }

void ShowPointer(bool show) { ActiveImpl().ShowPointer(show); }

BoxAnswer ShowMessageBox(const char* text, const char* caption, BoxButtons buttons) {
  return ActiveImpl().ShowMessageBox(text, caption, buttons);
}

void SetStateDumper(StateDumper dumper) { detail::stateDumper = std::move(dumper); }

}  // namespace platform

uint32_t timeGetTime() { return platform::ActiveImpl().Now(); }
