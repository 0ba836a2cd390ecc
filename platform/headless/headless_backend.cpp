#include "platform/headless/headless_backend.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/audio.h"
#include "platform/backend.h"
#include "platform/headless/script.h"
#include "platform/pads.h"
#include "platform/png.h"

namespace platform::headless {
namespace {

class HeadlessBackend final : public detail::BackendImpl {
 public:
  HeadlessBackend(std::vector<ScriptEvent> events, std::optional<uint32_t> maxMs)
      : events_(std::move(events)), maxMs_(maxMs) {}

  // The script's lines at time 0, once the backend is installed: installing
  // starts with no key held and no message queued, which would drop them.
  void Begin() { ApplyEventsUpTo(0); }

  uint32_t Now() override { return clock_; }

  void Wait() override { AdvanceTo(clock_ + 1); }

  void Poll() override {}

  void WaitForMessage() override {
    // The application is inactive: nothing happens until the script posts a
    // message, so the clock jumps to that moment.
    for (size_t i = next_; i < events_.size(); ++i) {
      const ScriptEvent& e = events_[i];
      if (e.verb == Verb::FocusOff || e.verb == Verb::FocusOn || e.verb == Verb::Close) {
        if (maxMs_ && e.time >= *maxMs_) break;
        AdvanceTo(e.time);
        return;
      }
    }
    if (maxMs_) {
      AdvanceTo(*maxMs_);  // ends the run
    }
    std::fprintf(stderr, "headless: the game waits for a message and the script posts none\n");
    Exit(3);
  }

  ScreenError OpenScreen(const char*, const uint8_t* pixels, int pitch) override {
    if (openFailure_ != ScreenError::None) {
      ScreenError error = openFailure_;
      openFailure_ = ScreenError::None;
      return error;
    }
    pixels_ = pixels;
    pitch_ = pitch;
    // A new window is the active one, as on the system the game came from.
    detail::PostMessage(Message{WM_ACTIVATEAPP, 1});
    return ScreenError::None;
  }
  void CloseScreen() override { pixels_ = nullptr; }
  void MarkScreenChanged() override { ++screenChanges_; }
  void SetScreenPalette(const uint8_t entries[256 * 4]) override {
    std::memcpy(paletteEntries_, entries, sizeof paletteEntries_);
  }
  void ShowPointer(bool) override {}
  void SetScreenMode(bool fullscreen, bool) override { fullscreen_ = fullscreen; }
  bool ScreenFullscreen() override { return fullscreen_; }

  BoxAnswer ShowMessageBox(const char* text, const char* caption, BoxButtons buttons) override {
    std::fprintf(stderr, "[%s] %s\n", caption, text);
    lastBox_ = std::string(caption) + ": " + text;
    // A box with only OK is answered OK whatever the script says.
    return buttons == BoxButtons::OkCancel && answerCancel_ ? BoxAnswer::Cancel : BoxAnswer::Ok;
  }

  [[noreturn]] void Exit(int status) override {
    WriteRemainingOutputs();
    std::fflush(stdout);
    std::fflush(stderr);
    std::exit(status);
  }

  // ---- test control ----
  void SetClock(uint32_t ms) { clock_ = ms; }
  const uint8_t* PaletteEntries() const { return paletteEntries_; }
  int ScreenChanges() const { return screenChanges_; }
  void SetListener(std::function<void(uint32_t)> listener) { listener_ = std::move(listener); }
  void FailNextOpen(ScreenError error) { openFailure_ = error; }
  const std::string& LastBox() const { return lastBox_; }

  std::vector<uint8_t> Rgb() const {
    std::vector<uint8_t> rgb(static_cast<size_t>(kScreenWidth) * kScreenHeight * 3, 0);
    if (!pixels_) return rgb;
    uint32_t palette[256];
    detail::WidenPalette(paletteEntries_, palette);
    for (int y = 0; y < kScreenHeight; ++y) {
      const uint8_t* row = pixels_ + static_cast<ptrdiff_t>(y) * pitch_;
      uint8_t* out = rgb.data() + static_cast<size_t>(y) * kScreenWidth * 3;
      for (int x = 0; x < kScreenWidth; ++x) {
        uint32_t c = palette[row[x]];
        out[3 * x] = static_cast<uint8_t>(c >> 16);
        out[3 * x + 1] = static_cast<uint8_t>(c >> 8);
        out[3 * x + 2] = static_cast<uint8_t>(c);
      }
    }
    return rgb;
  }

 private:
  void AdvanceTo(uint32_t time) {
    while (clock_ != time) {
      ++clock_;
      if (listener_) listener_(clock_);
      ApplyEventsUpTo(clock_);
      if (maxMs_ && clock_ >= *maxMs_) Exit(3);
    }
  }

  void ApplyEventsUpTo(uint32_t time) {
    while (next_ < events_.size() && events_[next_].time <= time) {
      Apply(events_[next_]);
      ++next_;
    }
  }

  void Apply(const ScriptEvent& e) {
    switch (e.verb) {
      case Verb::KeyDown: SetBothViews(e.virtualKey, true); break;
      case Verb::KeyUp: SetBothViews(e.virtualKey, false); break;
      case Verb::Shot: WriteShot(e.path); break;
      case Verb::Dump: WriteDump(e.path); break;
      case Verb::FocusOff: detail::PostMessage(Message{WM_ACTIVATEAPP, 0}); break;
      case Verb::FocusOn: detail::PostMessage(Message{WM_ACTIVATEAPP, 1}); break;
      case Verb::Close: detail::PostMessage(Message{WM_DESTROY, 0}); break;
      case Verb::AnswerOk: answerCancel_ = false; break;
      case Verb::AnswerCancel: answerCancel_ = true; break;
      // A pad that is not connected has nothing to press, as a real one.
      case Verb::PadConnect: detail::SetPadConnected(e.pad, true); break;
      case Verb::PadDisconnect: detail::SetPadConnected(e.pad, false); break;
      case Verb::PadButton: detail::SetPadButton(e.pad, static_cast<PadButton>(e.padControl), e.padValue != 0); break;
      case Verb::PadAxis: detail::SetPadAxis(e.pad, static_cast<PadAxis>(e.padControl), e.padValue); break;
    }
  }

  // A script key is pressed both by what it types and where it sits.
  static void SetBothViews(int virtualKey, bool held) {
    detail::SetKeyHeld(virtualKey, held);
    detail::SetKeyPositionHeld(KeyPositionOfVirtualKey(virtualKey), held);
  }

  void WriteRemainingOutputs() {
    for (; next_ < events_.size(); ++next_) {
      const ScriptEvent& e = events_[next_];
      if (e.verb == Verb::Shot) WriteShot(e.path);
      if (e.verb == Verb::Dump) WriteDump(e.path);
    }
  }

  void WriteShot(const std::string& path) {
    RgbPicture picture{kScreenWidth, kScreenHeight, Rgb()};
    if (!WritePngRgb(path, picture)) std::fprintf(stderr, "headless: cannot write %s\n", path.c_str());
  }

  void WriteDump(const std::string& path) {
    const std::string text = detail::StateDumpText(clock_);
    if (!WriteFileAtomically(path, text.data(), text.size())) {
      std::fprintf(stderr, "headless: cannot write %s\n", path.c_str());
    }
  }

  std::vector<ScriptEvent> events_;
  size_t next_ = 0;
  std::optional<uint32_t> maxMs_;
  uint32_t clock_ = 0;
  const uint8_t* pixels_ = nullptr;
  int pitch_ = 0;
  uint8_t paletteEntries_[256 * 4] = {};
  int screenChanges_ = 0;
  std::function<void(uint32_t)> listener_;
  ScreenError openFailure_ = ScreenError::None;
  std::string lastBox_;
  bool answerCancel_ = false;  // how OK/Cancel boxes are answered from now on
  bool fullscreen_ = true;
};

HeadlessBackend* active = nullptr;

HeadlessBackend& Active() {
  if (!active || ActiveBackend() != Backend::Headless) StartForTests();
  return *active;
}

}  // namespace

void Start(const LaunchOptions& options) {
  std::vector<ScriptEvent> events;
  // A replay may run without a script: nothing happens but the replay.
  if (!options.scriptPath.empty() || options.replayPath.empty()) {
    std::ifstream file(options.scriptPath, std::ios::binary);
    if (!file) {
      std::fprintf(stderr, "%s: cannot read the script\n", options.scriptPath.c_str());
      std::exit(2);
    }
    std::stringstream text;
    text << file.rdbuf();
    if (auto error = ParseScript(text.str(), options.scriptPath, events)) {
      std::fprintf(stderr, "%s\n", error->c_str());
      std::exit(2);
    }
  }
  active = new HeadlessBackend(std::move(events), options.maxMs);
  detail::InstallBackend(active, Backend::Headless);
  active->Begin();
  audio::SetLogPath(options.audioLogPath);
}

void StartForTests() {
  active = new HeadlessBackend({}, std::nullopt);
  detail::InstallBackend(active, Backend::Headless);
}

void SetKeyHeld(int virtualKey, bool held) {
  Active();
  detail::SetKeyHeld(virtualKey, held);
  detail::SetKeyPositionHeld(KeyPositionOfVirtualKey(virtualKey), held);
}
void SetPadConnected(int pad, bool connected) {
  Active();
  detail::SetPadConnected(pad, connected);
}
void SetPadButton(int pad, PadButton button, bool held) {
  Active();
  detail::SetPadButton(pad, button, held);
}
void SetPadAxis(int pad, PadAxis axis, int value) {
  Active();
  detail::SetPadAxis(pad, axis, value);
}
void SetClock(uint32_t ms) { Active().SetClock(ms); }
void PostFocus(bool gained) {
  Active();
  detail::PostMessage(Message{WM_ACTIVATEAPP, gained ? 1u : 0u});
}
void PostClose() {
  Active();
  detail::PostMessage(Message{WM_DESTROY, 0});
}
const uint8_t* ScreenPaletteEntries() { return Active().PaletteEntries(); }
int ScreenChangeCount() { return Active().ScreenChanges(); }
void SetClockListener(std::function<void(uint32_t)> listener) { Active().SetListener(std::move(listener)); }
std::vector<uint8_t> ScreenRgb() { return Active().Rgb(); }
void FailNextScreenOpen(ScreenError error) { Active().FailNextOpen(error); }
std::string LastMessageBox() { return Active().LastBox(); }

}  // namespace platform::headless
