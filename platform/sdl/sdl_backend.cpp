#include "platform/sdl/sdl_backend.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/backend.h"
#include "platform/sdl/key_map.h"

namespace platform::sdl {
namespace {

class SdlBackend final : public detail::BackendImpl {
 public:
  explicit SdlBackend(const LaunchOptions& options) : startWindowed_(options.window) {
    // Timers and events come up here; video waits for OpenScreen so that a
    // failure can be reported in the game's own words.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_Init(SDL_INIT_TIMER | SDL_INIT_EVENTS);
  }

  ~SdlBackend() override {
    CloseScreen();
    SDL_Quit();
  }

  uint32_t Now() override { return SDL_GetTicks(); }

  void Wait() override {
    // Asking the window system for input costs more than the game's whole
    // pass; every few milliseconds is still far quicker than a game step.
    Uint32 now = SDL_GetTicks();
    if (now - lastPump_ >= kPumpIntervalMs) {
      lastPump_ = now;
      PumpEvents();
    }
    RefreshIfDue();
    SDL_Delay(1);
  }

  // Key polls and message peeks read the state the last wait took in: every
  // loop waits once per pass, so nothing is older than a millisecond, and
  // the window system is asked once per pass instead of once per key.
  void Poll() override {}

  void WaitForMessage() override {
    while (!detail::MessageWaiting()) {
      SDL_Event event;
      // The timeout lets a changed frame reach the window while we wait.
      if (SDL_WaitEventTimeout(&event, 16)) Handle(event);
      PumpEvents();
      RefreshIfDue();
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
    Uint32 flags = SDL_WINDOW_RESIZABLE | (startWindowed_ ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
    window_ = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, flags);
    if (!window_) return ScreenError::Window;
    SDL_SetWindowMinimumSize(window_, kScreenWidth / 2, kScreenHeight / 2);

    // No vsync: presenting must never hold the game's own pacing.
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED);
    if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer_) return ScreenError::Renderer;
    SDL_RenderSetLogicalSize(renderer_, kScreenWidth, kScreenHeight);  // aspect kept, black borders
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, kScreenWidth,
                                 kScreenHeight);
    if (!texture_) return ScreenError::Renderer;

    SDL_DisplayMode mode;
    int refresh = 60;
    if (SDL_GetCurrentDisplayMode(SDL_GetWindowDisplayIndex(window_), &mode) == 0 && mode.refresh_rate >= 30) {
      refresh = mode.refresh_rate;
    }
    refreshInterval_ = SDL_GetPerformanceFrequency() / static_cast<Uint64>(refresh);

    pixels_ = pixels;
    pitch_ = pitch;
    dirty_ = true;
    SDL_ShowCursor(SDL_DISABLE);
    // A new window is the active one, as on the system the game came from;
    // a desktop without a window manager may never send a focus event.
    detail::PostMessage(Message{WM_ACTIVATEAPP, 1});
    return ScreenError::None;
  }

  void CloseScreen() override {
    pixels_ = nullptr;
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
    texture_ = nullptr;
    renderer_ = nullptr;
    window_ = nullptr;
  }

  void MarkScreenChanged() override { dirty_ = true; }

  void SetScreenPalette(const uint8_t entries[256 * 4]) override {
    detail::WidenPalette(entries, palette_);
    dirty_ = true;
  }

  void ShowPointer(bool show) override {
    if (videoStarted_) SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
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
    detail::ReleaseAllKeys();
    leftShift_ = rightShift_ = leftCtrl_ = rightCtrl_ = false;
    dirty_ = true;
    return answer == static_cast<int>(BoxAnswer::Cancel) ? BoxAnswer::Cancel : BoxAnswer::Ok;
  }

  [[noreturn]] void Exit(int status) override {
    CloseScreen();
    SDL_Quit();
    std::exit(status);
  }

 private:
  // Asks the window system once, then takes what it brought: polling event
  // by event would ask it again for every event.
  void PumpEvents() {
    SDL_PumpEvents();
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) Handle(event);
  }

  void Handle(const SDL_Event& event) {
    switch (event.type) {
      case SDL_KEYDOWN:
      case SDL_KEYUP: HandleKey(event.key); break;
      case SDL_QUIT: detail::PostMessage(Message{WM_DESTROY, 0}); break;
      case SDL_WINDOWEVENT:
        switch (event.window.event) {
          case SDL_WINDOWEVENT_FOCUS_GAINED: detail::PostMessage(Message{WM_ACTIVATEAPP, 1}); break;
          case SDL_WINDOWEVENT_FOCUS_LOST:
            // Keys released while another window has the focus never reach
            // us; forget them so none stays held.
            detail::ReleaseAllKeys();
            leftShift_ = rightShift_ = leftCtrl_ = rightCtrl_ = false;
            detail::PostMessage(Message{WM_ACTIVATEAPP, 0});
            break;
          case SDL_WINDOWEVENT_EXPOSED:
          case SDL_WINDOWEVENT_SIZE_CHANGED: dirty_ = true; break;
          default: break;
        }
        break;
      case SDL_RENDER_TARGETS_RESET:
      case SDL_RENDER_DEVICE_RESET: dirty_ = true; break;
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
    switch (code) {
      case SDLK_LSHIFT: leftShift_ = down; break;
      case SDLK_RSHIFT: rightShift_ = down; break;
      case SDLK_LCTRL: leftCtrl_ = down; break;
      case SDLK_RCTRL: rightCtrl_ = down; break;
      default: {
        int vk = VirtualKeyFromSdl(code);
        if (vk >= 0) detail::SetKeyHeld(vk, down);
        return;
      }
    }
    detail::SetKeyHeld(VK_SHIFT, leftShift_ || rightShift_);
    detail::SetKeyHeld(VK_CONTROL, leftCtrl_ || rightCtrl_);
  }

  void ToggleFullscreen() {
    if (!window_) return;
    bool fullscreen = SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP;
    SDL_SetWindowFullscreen(window_, fullscreen ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
    dirty_ = true;
  }

  // Shows the primary surface when it changed, at most once per refresh of
  // the display, without waiting for the monitor.
  void RefreshIfDue() {
    if (!dirty_ || !renderer_ || !pixels_) return;
    Uint64 now = SDL_GetPerformanceCounter();
    if (now - lastPresent_ < refreshInterval_) return;
    lastPresent_ = now;
    dirty_ = false;
    detail::ConvertFrame(pixels_, pitch_, palette_, frame_.data(), kScreenWidth);
    SDL_UpdateTexture(texture_, nullptr, frame_.data(), kScreenWidth * 4);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
  }

  static constexpr Uint32 kPumpIntervalMs = 4;

  bool startWindowed_;
  Uint32 lastPump_ = 0;
  bool videoStarted_ = false;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  const uint8_t* pixels_ = nullptr;
  int pitch_ = 0;
  uint32_t palette_[256] = {};
  std::vector<uint32_t> frame_ = std::vector<uint32_t>(kScreenWidth * kScreenHeight);
  bool dirty_ = false;
  Uint64 lastPresent_ = 0;
  Uint64 refreshInterval_ = 1;
  bool leftShift_ = false, rightShift_ = false, leftCtrl_ = false, rightCtrl_ = false;
};

}  // namespace

void Start(const LaunchOptions& options) { detail::InstallBackend(new SdlBackend(options), Backend::Sdl); }

}  // namespace platform::sdl

void platform::detail::StartInteractiveBackend(const LaunchOptions& options) { sdl::Start(options); }
