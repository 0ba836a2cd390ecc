// The browser's backend: the page's canvas shows the 640 x 480 palette
// screen, keys and the focus come from the page's events, message boxes are
// the browser's own. The program is built with ASYNCIFY, so the game's
// loops stay as they are: every wait hands the page's one thread back to the
// browser and the game goes on where it stopped.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/audio.h"
#include "platform/backend.h"
#include "platform/web/dom_keyboard.h"

// The wait primitive's own sleep (web_wait.js).
extern "C" void stakkor_sleep(int milliseconds);

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

EM_JS(void, PutFrame, (const void* rgba, int width, int height), {
  const pixels = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
  Module['screenContext'].putImageData(new ImageData(pixels, width, height), 0, 0);
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

class WebBackend;
WebBackend* theBackend = nullptr;

class WebBackend final : public detail::BackendImpl {
 public:
  WebBackend() : start_(emscripten_get_now()) {}

  uint32_t Now() override { return static_cast<uint32_t>(static_cast<uint64_t>(emscripten_get_now() - start_)); }

  // Keys, the focus and frames arrive while the game sleeps here.
  void Wait() override {
    stakkor_sleep(1);
    const uint32_t now = Now();
    passMs_ = now - lastWaitEnd_ < 1 ? 1 : now - lastWaitEnd_ > 100 ? 100 : now - lastWaitEnd_;
    lastWaitEnd_ = now;
  }

  // A browser may stretch a short sleep: animations count the real time.
  uint32_t PassMilliseconds() override { return passMs_; }

  void Poll() override {}

  void WaitForMessage() override {
    while (!detail::MessageWaiting()) stakkor_sleep(10);
  }

  ScreenError OpenScreen(const char*, const uint8_t* pixels, int pitch) override {
    if (!OpenCanvas(kScreenWidth, kScreenHeight)) return ScreenError::Window;
    pixels_ = pixels;
    pitch_ = pitch;
    dirty_ = true;
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

  void MarkScreenChanged() override { dirty_ = true; }

  void SetScreenPalette(const uint8_t entries[256 * 4]) override {
    uint32_t wide[256];
    detail::WidenPalette(entries, wide);
    for (int i = 0; i < 256; ++i) palette_[i] = CanvasColour(wide[i]);
    dirty_ = true;
  }

  void ShowPointer(bool show) override { ShowCanvasPointer(show ? 1 : 0); }

  // The page scales the canvas itself and has its own fullscreen button.
  void SetScreenMode(bool, bool) override {}
  bool ScreenFullscreen() override { return false; }

  BoxAnswer ShowMessageBox(const char* text, const char* caption, BoxButtons buttons) override {
    std::fprintf(stderr, "%s: %s\n", caption, text);
    const int answer = AskPage(text, caption, buttons == BoxButtons::OkCancel ? 1 : 0);
    // Keys pressed to answer the box must not reach the game as held keys.
    keyboard_.ReleaseAll();
    dirty_ = true;
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
    key.location = static_cast<unsigned>(event->location);
    key.repeat = event->repeat;
    key.alt = event->altKey;
    key.ctrl = event->ctrlKey;
    key.meta = event->metaKey;
    return type == EMSCRIPTEN_EVENT_KEYDOWN ? self->keyboard_.KeyDown(key) : self->keyboard_.KeyUp(key);
  }

  static EM_BOOL OnFocus(int type, const EmscriptenFocusEvent*, void* user) {
    auto* self = static_cast<WebBackend*>(user);
    if (type == EMSCRIPTEN_EVENT_BLUR) {
      self->keyboard_.ReleaseAll();
      detail::PostMessage(Message{WM_ACTIVATEAPP, 0});
    } else {
      detail::PostMessage(Message{WM_ACTIVATEAPP, 1});
    }
    return EM_FALSE;
  }

  // At most one frame per display refresh, drawn when the browser paints.
  static EM_BOOL OnAnimationFrame(double, void* user) {
    auto* self = static_cast<WebBackend*>(user);
    if (self->dirty_ && self->pixels_) self->Present();
    return EM_TRUE;
  }

  void Present() {
    dirty_ = false;
    detail::ConvertFrame(pixels_, pitch_, palette_, frame_.data(), kScreenWidth);
    PutFrame(frame_.data(), kScreenWidth, kScreenHeight);
  }

  double start_;
  uint32_t passMs_ = 1;
  uint32_t lastWaitEnd_ = 0;
  bool listening_ = false;
  const uint8_t* pixels_ = nullptr;
  int pitch_ = 0;
  uint32_t palette_[256] = {};
  std::vector<uint32_t> frame_ = std::vector<uint32_t>(kScreenWidth * kScreenHeight);
  bool dirty_ = false;
  DomKeyboard keyboard_;
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
