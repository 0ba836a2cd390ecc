// The browser's backend: the page's canvas shows the 640 x 480 palette
// screen (only what changed is drawn again), keys and the focus come from
// the page's events, gamepads from the Gamepad API, message boxes are the
// browser's own. The program is built with ASYNCIFY, so the game's loops
// stay as they are: every wait hands the page's one thread back to the
// browser until the loop's next moment or the next key, and the game goes
// on where it stopped.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/audio.h"
#include "platform/backend.h"
#include "platform/web/dom_keyboard.h"
#include "platform/web/web_pads.h"

// The wait primitive's own sleep, and what ends it early (web_wait.js).
extern "C" void stakkor_sleep(int milliseconds);
extern "C" void stakkor_wake();

namespace platform::web {
namespace {

// ---- the page's side (the page hands the module its canvas) ----

EM_JS(int, OpenCanvas, (int width, int height), {
  const canvas = Module['canvas'];
  const context = canvas && canvas.getContext ? canvas.getContext('2d', {alpha: false}) : null;
  if (!context) return 0;
  canvas.width = width;
  canvas.height = height;
  Module['screenContext'] = context;
  return 1;
});

// Draws the part (x, y, width, height) of the frame at `rgba`, which is
// always the same memory. Its image is made again only when the memory has
// grown and moved.
EM_JS(void, PutFrame, (const void* rgba, int x, int y, int width, int height), {
  let image = Module['screenImage'];
  if (!image || image.data.buffer !== HEAPU8.buffer) {
    const canvas = Module['canvas'];
    const pixels = new Uint8ClampedArray(HEAPU8.buffer, rgba, canvas.width * canvas.height * 4);
    image = Module['screenImage'] = new ImageData(pixels, canvas.width, canvas.height);
  }
  Module['screenContext'].putImageData(image, 0, 0, x, y, width, height);
  if (Module['onFrame']) Module['onFrame']();
});

EM_JS(void, ShowCanvasPointer, (int show), {
  if (Module['canvas']) Module['canvas'].style.cursor = show ? "auto" : "none";
});

EM_JS(int, AskPage, (const char* text, const char* caption, int okCancel), {
  const message = UTF8ToString(caption) + '\n\n' + UTF8ToString(text);
  if (okCancel) return confirm(message) ? 1 : 2;
  alert(message);
  return 1;
});

EM_JS(void, TellPageGameEnded, (int status), {
  if (Module['onGameEnded']) Module['onGameEnded'](status);
});

EM_JS(int, RunsInPage, (), { return typeof document == 'object' ? 1 : 0; });

// The palette as the canvas wants it: red, green, blue, alpha in memory order.
uint32_t CanvasColour(uint32_t rgb) {
  return 0xFF000000u | ((rgb & 0xFFu) << 16) | (rgb & 0xFF00u) | ((rgb >> 16) & 0xFFu);
}

// The longest a wait sleeps when nothing is due: a loop that only reacts to
// keys wakes this often all the same, as natively.
constexpr uint32_t kLongestSleepMs = 100;
// Pads are looked for this often (in display frames) while none is there;
// a connected pad is sampled every frame.
constexpr int kPadSearchFrames = 15;

// A part of the screen, right and bottom exclusive.
struct ScreenArea {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool Empty() const { return right <= left || bottom <= top; }
  void Add(int x, int y, int width, int height) {
    if (Empty()) {
      *this = ScreenArea{x, y, x + width, y + height};
      return;
    }
    left = std::min(left, x);
    top = std::min(top, y);
    right = std::max(right, x + width);
    bottom = std::max(bottom, y + height);
  }
};

class WebBackend;
WebBackend* theBackend = nullptr;

class WebBackend final : public detail::BackendImpl {
 public:
  WebBackend() : start_(emscripten_get_now()) {}

  uint32_t Now() override { return static_cast<uint32_t>(static_cast<uint64_t>(emscripten_get_now() - start_)); }

  // Keys, the focus, pads and frames arrive while the game sleeps here. The
  // sleep lasts until the loop's next moment (WakeAt), at most
  // kLongestSleepMs, and ends early when a key, the focus or a pad changes;
  // the browser gets its thread back every time, even when nothing sleeps.
  void Wait() override {
    int64_t sleep = kLongestSleepMs;
    if (wakeSet_) sleep = std::min<int64_t>(sleep, static_cast<int32_t>(wakeAt_ - Now()));
    wakeSet_ = false;
    stakkor_sleep(static_cast<int>(std::max<int64_t>(sleep, 0)));
    const uint32_t now = Now();
    passMs_ = std::clamp<uint32_t>(now - lastWaitEnd_, 1, kLongestSleepMs);
    lastWaitEnd_ = now;
  }

  void WakeAt(uint32_t time) override {
    if (!wakeSet_ || static_cast<int32_t>(time - wakeAt_) < 0) wakeAt_ = time;
    wakeSet_ = true;
  }

  // A browser may stretch a short sleep: animations count the real time.
  uint32_t PassMilliseconds() override { return passMs_; }

  void Poll() override {}

  void WaitForMessage() override {
    while (!detail::MessageWaiting()) stakkor_sleep(kLongestSleepMs);
  }

  ScreenError OpenScreen(const char*, const uint8_t* pixels, int pitch) override {
    if (!OpenCanvas(kScreenWidth, kScreenHeight)) return ScreenError::Window;
    pixels_ = pixels;
    pitch_ = pitch;
    wholeScreen_ = true;
    if (!listening_) {
      const char* window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
      emscripten_set_keydown_callback(window, this, true, OnKey);
      emscripten_set_keyup_callback(window, this, true, OnKey);
      emscripten_set_blur_callback(window, this, true, OnFocus);
      emscripten_set_focus_callback(window, this, true, OnFocus);
      emscripten_request_animation_frame_loop(OnAnimationFrame, this);
      listening_ = true;
    }
    ShowCanvasPointer(0);
    // The page is the active window from the start, as a new window is.
    detail::PostMessage(Message{WM_ACTIVATEAPP, 1});
    return ScreenError::None;
  }

  void CloseScreen() override { pixels_ = nullptr; }

  void MarkScreenChanged() override { wholeScreen_ = true; }

  void MarkScreenRectChanged(int x, int y, int width, int height) override { changed_.Add(x, y, width, height); }

  void SetScreenPalette(const uint8_t entries[256 * 4]) override {
    uint32_t wide[256];
    detail::WidenPalette(entries, wide);
    for (int i = 0; i < 256; ++i) palette_[i] = CanvasColour(wide[i]);
    wholeScreen_ = true;
  }

  void ShowPointer(bool show) override { ShowCanvasPointer(show ? 1 : 0); }

  // The page scales the canvas itself and has its own fullscreen button.
  void SetScreenMode(bool, bool) override {}
  bool ScreenFullscreen() override { return false; }

  BoxAnswer ShowMessageBox(const char* text, const char* caption, BoxButtons buttons) override {
    std::fprintf(stderr, "%s: %s\n", caption, text);
    const int answer = AskPage(text, caption, buttons == BoxButtons::OkCancel ? 1 : 0);
    // Keys pressed to answer the box must not reach the game as held keys.
    ReleaseAllInputs();
    wholeScreen_ = true;
    return answer == 2 ? BoxAnswer::Cancel : BoxAnswer::Ok;
  }

  [[noreturn]] void Exit(int status) override {
    // The sound stops with the game; the page says that it has ended.
    audio::Close();
    if (pixels_) Present();
    CloseScreen();
    TellPageGameEnded(status);
    emscripten_force_exit(status);
  }

  // The state dump, for the page and its tests.
  const std::string& DumpText() {
    dump_ = detail::StateDumpText(Now());
    return dump_;
  }

 private:
  static EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* event, void* user) {
    auto* self = static_cast<WebBackend*>(user);
    DomKeyEvent key;
    key.keyCode = static_cast<unsigned>(event->keyCode);
    key.code = event->code;
    key.location = static_cast<unsigned>(event->location);
    key.repeat = event->repeat;
    key.alt = event->altKey;
    key.ctrl = event->ctrlKey;
    key.meta = event->metaKey;
    const bool keep = type == EMSCRIPTEN_EVENT_KEYDOWN ? self->keyboard_.KeyDown(key) : self->keyboard_.KeyUp(key);
    stakkor_wake();
    return keep;
  }

  static EM_BOOL OnFocus(int type, const EmscriptenFocusEvent*, void* user) {
    auto* self = static_cast<WebBackend*>(user);
    self->focused_ = type != EMSCRIPTEN_EVENT_BLUR;
    if (!self->focused_) self->ReleaseAllInputs();
    detail::PostMessage(Message{WM_ACTIVATEAPP, self->focused_ ? 1u : 0u});
    stakkor_wake();
    return EM_FALSE;
  }

  // At most one frame per display refresh, drawn when the browser paints;
  // the pads are sampled at the same pace, and a change wakes the game.
  static EM_BOOL OnAnimationFrame(double, void* user) {
    auto* self = static_cast<WebBackend*>(user);
    if (self->pixels_ && (self->wholeScreen_ || !self->changed_.Empty())) self->Present();
    self->SamplePads();
    return EM_TRUE;
  }

  // Presses made while the page is not focused are not the game's, as
  // natively; a pad is looked for now and then, sampled every frame once
  // there.
  void SamplePads() {
    if (!focused_ || !gamepadApi_) return;
    if (!pads_.AnyConnected() && ++framesSincePadSearch_ < kPadSearchFrames) return;
    framesSincePadSearch_ = 0;
    switch (SampleBrowserPads(pads_)) {
      case PadSampling::Changed: stakkor_wake(); break;
      case PadSampling::NoGamepadApi: gamepadApi_ = false; break;
      case PadSampling::Unchanged: break;
    }
  }

  void ReleaseAllInputs() {
    keyboard_.ReleaseAll();
    pads_.Forget();
  }

  // Converts and draws only what changed since the last frame.
  void Present() {
    ScreenArea area = changed_;
    if (wholeScreen_) area = ScreenArea{0, 0, kScreenWidth, kScreenHeight};
    wholeScreen_ = false;
    changed_ = ScreenArea{};
    for (int y = area.top; y < area.bottom; ++y) {
      const uint8_t* source = pixels_ + static_cast<ptrdiff_t>(y) * pitch_;
      uint32_t* target = frame_.data() + static_cast<ptrdiff_t>(y) * kScreenWidth;
      for (int x = area.left; x < area.right; ++x) target[x] = palette_[source[x]];
    }
    PutFrame(frame_.data(), area.left, area.top, area.right - area.left, area.bottom - area.top);
  }

  double start_;
  uint32_t passMs_ = 1;
  uint32_t lastWaitEnd_ = 0;
  bool wakeSet_ = false;
  uint32_t wakeAt_ = 0;
  bool listening_ = false;
  bool focused_ = true;
  const uint8_t* pixels_ = nullptr;
  int pitch_ = 0;
  uint32_t palette_[256] = {};
  std::vector<uint32_t> frame_ = std::vector<uint32_t>(kScreenWidth * kScreenHeight);
  ScreenArea changed_;        // changed since the last frame drawn
  bool wholeScreen_ = false;  // all of it must be drawn again
  DomKeyboard keyboard_;
  BrowserPads pads_;
  bool gamepadApi_ = true;
  int framesSincePadSearch_ = 0;
  std::string dump_;
};

}  // namespace
}  // namespace platform::web

void platform::detail::StartInteractiveBackend(const LaunchOptions&) {
  if (!web::RunsInPage()) {
    // The node build runs scripted headless runs only.
    std::fprintf(stderr, "stakkor: outside a browser page only --headless runs exist\n");
    std::exit(2);
  }
  web::theBackend = new web::WebBackend();
  InstallBackend(web::theBackend, Backend::Web);
}

// The browser build has one thread: nobody else can post a message.
void platform::detail::WakeInteractiveBackend() {}

// The game's state as the headless dump writes it; null before the game runs.
extern "C" EMSCRIPTEN_KEEPALIVE const char* stakkor_state_dump() {
  if (!platform::web::theBackend || platform::ActiveBackend() != platform::Backend::Web) return nullptr;
  return platform::web::theBackend->DumpText().c_str();
}
