// The window's software framebuffer: SDL hands out the window's pixels (on
// X11 a shared-memory image), the changed part of the screen is scaled into
// them here, nearest pixel, and only that part is sent to the window.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/platform.h"
#include "platform/sdl/sdl_presenter.h"

namespace platform::sdl {
namespace {

// The first destination pixel whose nearest source pixel is at or after
// `source`, when `sourceSize` pixels are drawn over `destSize`.
int FirstDestination(int source, int sourceSize, int destSize) {
  return static_cast<int>((static_cast<int64_t>(source) * destSize + sourceSize - 1) / sourceSize);
}

class FramebufferPresenter final : public Presenter {
 public:
  FramebufferPresenter(SDL_Window* window, bool integerScaling) : window_(window), integer_(integerScaling) {}

  const char* Name() const override { return "software framebuffer"; }

  void SetIntegerScaling(bool integer) override {
    integer_ = integer;
    layoutWidth_ = -1;  // laid out again at the next present
  }

  void Present(const uint8_t* pixels, int pitch, const uint32_t palette[256], const ScreenArea& changed,
               bool whole) override {
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (!surface || surface->format->BytesPerPixel < 2) return;
    if (surface->w != layoutWidth_ || surface->h != layoutHeight_ || surface->format->format != layoutFormat_) {
      Layout(surface);
      whole = true;
    }
    ScreenArea area = changed;
    if (whole) {
      area = ScreenArea{0, 0, kScreenWidth, kScreenHeight};
      for (int i = 0; i < 256; ++i) {
        const uint32_t c = palette[i];
        mapped_[i] = SDL_MapRGB(surface->format, static_cast<Uint8>(c >> 16), static_cast<Uint8>(c >> 8),
                                static_cast<Uint8>(c));
      }
    }
    if (area.Empty()) return;
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
    if (whole) SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));  // the borders
    const SDL_Rect drawn = Draw(surface, pixels, pitch, area);
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    if (whole) {
      SDL_UpdateWindowSurface(window_);
    } else if (drawn.w > 0 && drawn.h > 0) {
      SDL_UpdateWindowSurfaceRects(window_, &drawn, 1);
    }
  }

 private:
  void Layout(SDL_Surface* surface) {
    layoutWidth_ = surface->w;
    layoutHeight_ = surface->h;
    layoutFormat_ = surface->format->format;
    picture_ = PictureRect(surface->w, surface->h, integer_);
    factor_ = picture_.w % kScreenWidth == 0 && picture_.h == picture_.w / kScreenWidth * kScreenHeight
                  ? picture_.w / kScreenWidth
                  : 0;
    sourceColumn_.resize(static_cast<size_t>(picture_.w));
    for (int x = 0; x < picture_.w; ++x) sourceColumn_[static_cast<size_t>(x)] = x * kScreenWidth / picture_.w;
  }

  // Draws `area` of the screen into the surface; returns the window pixels
  // it covers.
  SDL_Rect Draw(SDL_Surface* surface, const uint8_t* pixels, int pitch, const ScreenArea& area) {
    const int x0 = FirstDestination(area.left, kScreenWidth, picture_.w);
    const int x1 = FirstDestination(area.right, kScreenWidth, picture_.w);
    const int y0 = FirstDestination(area.top, kScreenHeight, picture_.h);
    const int y1 = FirstDestination(area.bottom, kScreenHeight, picture_.h);
    const int bytes = surface->format->BytesPerPixel;
    auto* base = static_cast<uint8_t*>(surface->pixels);
    int previousSource = -1;
    uint8_t* previousRow = nullptr;
    for (int y = y0; y < y1; ++y) {
      const int sourceRow = y * kScreenHeight / picture_.h;
      uint8_t* row = base + static_cast<ptrdiff_t>(picture_.y + y) * surface->pitch + static_cast<ptrdiff_t>(picture_.x) * bytes;
      if (sourceRow == previousSource) {
        // The same picture row again (a scale above 1): copy the row just drawn.
        std::memcpy(row + x0 * bytes, previousRow + x0 * bytes, static_cast<size_t>(x1 - x0) * bytes);
        continue;
      }
      const uint8_t* from = pixels + static_cast<ptrdiff_t>(sourceRow) * pitch;
      if (bytes == 4 && factor_ > 0) {
        // A whole factor: each picture pixel is `factor_` window pixels.
        auto* out = reinterpret_cast<uint32_t*>(row) + area.left * factor_;
        for (int x = area.left; x < area.right; ++x) {
          const uint32_t value = mapped_[from[x]];
          for (int k = 0; k < factor_; ++k) *out++ = value;
        }
      } else if (bytes == 4) {
        auto* out = reinterpret_cast<uint32_t*>(row);
        for (int x = x0; x < x1; ++x) out[x] = mapped_[from[sourceColumn_[static_cast<size_t>(x)]]];
      } else {
        for (int x = x0; x < x1; ++x) {
          const uint32_t value = mapped_[from[sourceColumn_[static_cast<size_t>(x)]]];
          std::memcpy(row + x * bytes, &value, static_cast<size_t>(bytes));  // little-endian: the low bytes
        }
      }
      previousSource = sourceRow;
      previousRow = row;
    }
    return SDL_Rect{picture_.x + x0, picture_.y + y0, x1 - x0, y1 - y0};
  }

  SDL_Window* window_;
  bool integer_;
  int layoutWidth_ = -1, layoutHeight_ = -1;
  Uint32 layoutFormat_ = 0;
  SDL_Rect picture_{0, 0, kScreenWidth, kScreenHeight};
  std::vector<int> sourceColumn_;
  int factor_ = 0;  // the whole scale factor, or 0 when the scale is not whole
  uint32_t mapped_[256] = {};
};

}  // namespace

std::unique_ptr<Presenter> CreateFramebufferPresenter(SDL_Window* window, bool integerScaling) {
  if (!SDL_GetWindowSurface(window)) return nullptr;
  return std::make_unique<FramebufferPresenter>(window, integerScaling);
}

}  // namespace platform::sdl
