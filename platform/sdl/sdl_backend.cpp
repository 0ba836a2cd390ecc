#include "platform/sdl/sdl_backend.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "platform/audio.h"
#include "platform/backend.h"
#include "platform/sdl/sdl_input.h"
#include "platform/sdl/sdl_pads.h"
#include "platform/sdl/sdl_presenter.h"

namespace platform::sdl {
namespace {

class SdlBackend final : public detail::BackendImpl {
 public:
  explicit SdlBackend(const LaunchOptions& options) : startWindowed_(options.window) {
    // Timers and events come up here; video waits for OpenScreen so that a
    // failure can be reported in the game's own words.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_Init(SDL_INIT_TIMER | SDL_INIT_EVENTS);
    pads_.Start();
  }

  ~SdlBackend() override {
    CloseScreen();
    pads_.Stop();
    SDL_Quit();
  }

  uint32_t Now() override { return SDL_GetTicks(); }

  // Takes in what arrived, shows a changed frame when one is due, then
  // sleeps in the window system's own wait until an event comes or the
  // next moment anything is due: the loop's own (WakeAt), the next frame of
  // a change not yet shown, or at the latest kLongestSleepMs.
  void Wait() override {
    PumpEvents();
    RefreshIfDue();
    audio::RestIfQuiet();
    const Uint32 now = SDL_GetTicks();
    int64_t sleep = kLongestSleepMs;
    if (wakeSet_) sleep = std::min<int64_t>(sleep, static_cast<int32_t>(wakeAt_ - now));
    if (!dirty_.Empty() || wholeWindow_) sleep = std::min<int64_t>(sleep, MillisecondsToNextFrame());
    wakeSet_ = false;
    if (sleep > 0) {
      SDL_Event event;
      if (SDL_WaitEventTimeout(&event, static_cast<int>(sleep))) Handle(event);
    }
    const Uint32 end = SDL_GetTicks();
    passMs_ = std::clamp<Uint32>(end - lastWaitEnd_, 1, kLongestSleepMs);
    lastWaitEnd_ = end;
  }

  void WakeAt(uint32_t time) override {
    if (!wakeSet_ || static_cast<int32_t>(time - wakeAt_) < 0) wakeAt_ = time;
    wakeSet_ = true;
  }

  uint32_t PassMilliseconds() override { return passMs_; }

  // Key polls and message peeks read the state the last wait took in: every
  // loop waits once per pass, and the window system is asked once per pass
  // instead of once per key.
  void Poll() override {}

  void WaitForMessage() override {
    while (!detail::MessageWaiting()) {
      RefreshIfDue();
      SDL_Event event;
      // A change not yet shown wakes the wait for its frame.
      const bool pending = !dirty_.Empty() || wholeWindow_;
      if (SDL_WaitEventTimeout(&event, pending ? std::max(1, MillisecondsToNextFrame()) : kLongestSleepMs)) {
        Handle(event);
      }
      PumpEvents();
      detail::TakeMessagesFromOtherThreads();
    }
  }

  ScreenError OpenScreen(const char* title, const uint8_t* pixels, int pitch) override {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return ScreenError::VideoInit;
    videoStarted_ = true;
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");

    int width = kScreenWidth, height = kScreenHeight;
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) == 0 && usable.w >= 2 * kScreenWidth &&
        usable.h >= 2 * kScreenHeight + 40) {
      width *= 2;  // twice the size where the desktop has room for it
      height *= 2;
    }
    // The way of drawing is chosen before the window is made, so that the
    // window is made once, with what that way needs.
    const bool accelerated = WantAcceleratedRenderer();
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");  // the framebuffer stays in memory, no OpenGL behind it
    Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI | (accelerated ? SDL_WINDOW_OPENGL : 0) |
                   (fullscreen_ && !startWindowed_ ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    window_ = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, flags);
    if (!window_) return ScreenError::Window;
    SDL_SetWindowMinimumSize(window_, kScreenWidth / 2, kScreenHeight / 2);
    if (accelerated) {
      presenter_ = CreateRendererPresenter(window_, integerScaling_, detail::ChosenRenderer() == RendererChoice::Accelerated ||
                                                                       RendererFromEnvironment() == "accelerated");
    }
    if (!presenter_) presenter_ = CreateFramebufferPresenter(window_, integerScaling_);
    if (!presenter_) return ScreenError::Renderer;

    SDL_DisplayMode mode;
    int refresh = 60;
    if (SDL_GetCurrentDisplayMode(SDL_GetWindowDisplayIndex(window_), &mode) == 0 && mode.refresh_rate >= 30) {
      refresh = mode.refresh_rate;
    }
    refreshInterval_ = SDL_GetPerformanceFrequency() / static_cast<Uint64>(refresh);

    pixels_ = pixels;
    pitch_ = pitch;
    // The window shows its first (black) picture at once, while the game
    // loads its pictures and sounds behind it.
    wholeWindow_ = true;
    RefreshIfDue();
    SDL_ShowCursor(SDL_DISABLE);
    // A new window is the active one, as on the system the game came from;
    // a desktop without a window manager may never send a focus event.
    detail::PostMessage(Message{WM_ACTIVATEAPP, 1});
    return ScreenError::None;
  }

  void CloseScreen() override {
    pixels_ = nullptr;
    presenter_.reset();
    if (window_) SDL_DestroyWindow(window_);
    window_ = nullptr;
  }

  void MarkScreenChanged() override { dirty_.Add(ScreenArea{0, 0, kScreenWidth, kScreenHeight}); }

  void MarkScreenRectChanged(int x, int y, int width, int height) override {
    dirty_.Add(ScreenArea{x, y, x + width, y + height});
  }

  void SetScreenPalette(const uint8_t entries[256 * 4]) override {
    uint32_t widened[256];
    detail::WidenPalette(entries, widened);
    if (std::memcmp(widened, palette_, sizeof palette_) == 0) return;  // the same colours again
    std::memcpy(palette_, widened, sizeof palette_);
    wholeWindow_ = true;
  }

  void ShowPointer(bool show) override {
    if (videoStarted_) SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
  }

  void SetScreenMode(bool fullscreen, bool integerScaling) override {
    fullscreen_ = fullscreen;
    integerScaling_ = integerScaling;
    if (presenter_) presenter_->SetIntegerScaling(integerScaling);
    if (window_ && fullscreen != ScreenFullscreen()) ToggleFullscreen();
    wholeWindow_ = true;
  }

  bool ScreenFullscreen() override {
    if (!window_) return fullscreen_ && !startWindowed_;
    return (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) == SDL_WINDOW_FULLSCREEN_DESKTOP;
  }

  BoxAnswer ShowMessageBox(const char* text, const char* caption, BoxButtons buttons) override {
    // A box cannot show above a fullscreen window on every desktop: step out
    // of fullscreen while it is open, as the old game went back to the desktop.
    bool wasFullscreen = window_ && (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP);
    if (wasFullscreen) SDL_SetWindowFullscreen(window_, 0);

    const SDL_MessageBoxButtonData okCancel[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, static_cast<int>(BoxAnswer::Ok), "OK"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, static_cast<int>(BoxAnswer::Cancel), "Cancel"},
    };
    const SDL_MessageBoxButtonData okOnly[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT,
         static_cast<int>(BoxAnswer::Ok), "OK"},
    };
    SDL_MessageBoxData box{};
    box.flags = SDL_MESSAGEBOX_WARNING;
    box.window = window_;
    box.title = caption;
    box.message = text;
    box.numbuttons = buttons == BoxButtons::OkCancel ? 2 : 1;
    box.buttons = buttons == BoxButtons::OkCancel ? okCancel : okOnly;
    int answer = static_cast<int>(BoxAnswer::Ok);
    if (SDL_ShowMessageBox(&box, &answer) != 0) {
      // No desktop to show it on: the text still reaches the player.
      std::fprintf(stderr, "%s: %s\n", caption, text);
      answer = static_cast<int>(BoxAnswer::Ok);
    }
    if (wasFullscreen) SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
    // Keys pressed to answer the box must not reach the game as held keys.
    keyboard_.ReleaseAll();
    wholeWindow_ = true;
    return answer == static_cast<int>(BoxAnswer::Cancel) ? BoxAnswer::Cancel : BoxAnswer::Ok;
  }

  [[noreturn]] void Exit(int status) override {
    CloseScreen();
    SDL_Quit();
    std::exit(status);
  }

 private:
  // Asks the window system once, then takes what it brought: polling event
  // by event would ask it again for every event. It stops after a key goes
  // down, so that the game's next poll sees it held even when its release
  // came in the same batch (a quick tap); the rest waits for the next pass.
  void PumpEvents() {
    SDL_PumpEvents();
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
      Handle(event);
      if (event.type == SDL_KEYDOWN && !event.key.repeat) break;
    }
  }

  void Handle(const SDL_Event& event) {
    if (pads_.Handle(event)) return;
    switch (event.type) {
      case SDL_KEYDOWN:
      case SDL_KEYUP: HandleKey(event.key); break;
      case SDL_QUIT: detail::PostMessage(Message{WM_DESTROY, 0}); break;
      case SDL_USEREVENT: detail::TakeMessagesFromOtherThreads(); break;
      case SDL_WINDOWEVENT:
        switch (event.window.event) {
          case SDL_WINDOWEVENT_FOCUS_GAINED: detail::PostMessage(Message{WM_ACTIVATEAPP, 1}); break;
          case SDL_WINDOWEVENT_FOCUS_LOST:
            // Keys released while another window has the focus never reach
            // us; forget them so none stays held.
            keyboard_.ReleaseAll();
            detail::PostMessage(Message{WM_ACTIVATEAPP, 0});
            break;
          case SDL_WINDOWEVENT_EXPOSED:
          case SDL_WINDOWEVENT_SIZE_CHANGED: wholeWindow_ = true; break;
          default: break;
        }
        break;
      case SDL_RENDER_TARGETS_RESET:
      case SDL_RENDER_DEVICE_RESET: wholeWindow_ = true; break;
      default: break;
    }
  }

  void HandleKey(const SDL_KeyboardEvent& key) {
    bool down = key.state == SDL_PRESSED;
    SDL_Keycode code = key.keysym.sym;
    if (down && (code == SDLK_RETURN || code == SDLK_KP_ENTER) && (key.keysym.mod & KMOD_ALT)) {
      if (!key.repeat) ToggleFullscreen();
      return;  // Alt+Enter is the window's, not the game's
    }
    keyboard_.Handle(key);
  }

  void ToggleFullscreen() {
    if (!window_) return;
    bool fullscreen = SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP;
    SDL_SetWindowFullscreen(window_, fullscreen ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
    wholeWindow_ = true;
  }

  static std::string RendererFromEnvironment() {
    const char* chosen = std::getenv("STAKKOR_RENDERER");
    return chosen ? chosen : "";
  }

  // The graphics card's renderer when asked for, or when left to us and the
  // machine has one; SDL's software framebuffer otherwise.
  static bool WantAcceleratedRenderer() {
    const std::string forced = RendererFromEnvironment();
    if (forced == "software") return false;
    if (forced == "accelerated") return true;
    switch (detail::ChosenRenderer()) {
      case RendererChoice::Software: return false;
      case RendererChoice::Accelerated: return true;
      case RendererChoice::Automatic: break;
    }
    return HasHardwareRenderer();
  }

  int MillisecondsToNextFrame() const {
    const Uint64 elapsed = SDL_GetPerformanceCounter() - lastPresent_;
    if (elapsed >= refreshInterval_) return 0;
    const Uint64 left = refreshInterval_ - elapsed;
    return static_cast<int>((left * 1000 + SDL_GetPerformanceFrequency() - 1) / SDL_GetPerformanceFrequency());
  }

  // Shows what changed of the primary surface, at most once per refresh of
  // the display, without waiting for the monitor. Nothing changed, nothing
  // is drawn.
  void RefreshIfDue() {
    if ((dirty_.Empty() && !wholeWindow_) || !presenter_ || !pixels_) return;
    const Uint64 now = SDL_GetPerformanceCounter();
    if (now - lastPresent_ < refreshInterval_) return;
    lastPresent_ = now;
    presenter_->Present(pixels_, pitch_, palette_, dirty_, wholeWindow_);
    dirty_ = ScreenArea{};
    wholeWindow_ = false;
  }

  // The longest a wait sleeps when nothing is due: a loop that only reacts
  // to keys wakes this often all the same, in case one was missed.
  static constexpr Uint32 kLongestSleepMs = 100;

  bool startWindowed_;
  bool videoStarted_ = false;
  SDL_Window* window_ = nullptr;
  std::unique_ptr<Presenter> presenter_;
  const uint8_t* pixels_ = nullptr;
  int pitch_ = 0;
  uint32_t palette_[256] = {};
  ScreenArea dirty_;          // changed since the last present
  bool wholeWindow_ = false;  // the whole window must be drawn again
  bool wakeSet_ = false;
  Uint32 wakeAt_ = 0;
  Uint32 passMs_ = 1;
  Uint32 lastWaitEnd_ = 0;
  Uint64 lastPresent_ = 0;
  Uint64 refreshInterval_ = 1;
  bool fullscreen_ = true;
  bool integerScaling_ = false;
  KeyboardInput keyboard_;
  PadInput pads_;
};

}  // namespace

void Start(const LaunchOptions& options) { detail::InstallBackend(new SdlBackend(options), Backend::Sdl); }

void WakeFromOtherThread() {
  SDL_Event wake{};
  wake.type = SDL_USEREVENT;
  SDL_PushEvent(&wake);
}

}  // namespace platform::sdl

void platform::detail::StartInteractiveBackend(const LaunchOptions& options) { sdl::Start(options); }

void platform::detail::WakeInteractiveBackend() { sdl::WakeFromOtherThread(); }
