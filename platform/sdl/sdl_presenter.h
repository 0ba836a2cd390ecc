// How the 640 x 480 palette screen reaches the window. Two ways, chosen when
// the window opens: SDL's renderer on the graphics card (the picture goes up
// as a texture and the card scales it), or SDL's software framebuffer (the
// window's own pixels in shared memory, scaled here), which loads no OpenGL
// library at all. Both convert and send only the part that changed.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>

namespace platform::sdl {

// A part of the 640 x 480 screen, right and bottom exclusive.
struct ScreenArea {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool Empty() const { return right <= left || bottom <= top; }
  void Add(const ScreenArea& other);
};

class Presenter {
 public:
  virtual ~Presenter() = default;
  // Shows `area` of the frame through the palette; with `whole` the whole
  // window is drawn again (after a resize, an exposure or a new palette).
  virtual void Present(const uint8_t* pixels, int pitch, const uint32_t palette[256], const ScreenArea& area,
                       bool whole) = 0;
  virtual void SetIntegerScaling(bool integer) = 0;
  virtual const char* Name() const = 0;
};

// The graphics card's renderer; null when there is none, or when its OpenGL
// is a software one (then the framebuffer is cheaper).
std::unique_ptr<Presenter> CreateRendererPresenter(SDL_Window* window, bool integerScaling, bool acceptSoftwareGl);
// The window's software framebuffer; null when SDL cannot give one.
std::unique_ptr<Presenter> CreateFramebufferPresenter(SDL_Window* window, bool integerScaling);

// Does this machine have a graphics card that renders for us (a render
// node of the kernel's DRM, and no request for software OpenGL)?
bool HasHardwareRenderer();

// Where the 640 x 480 picture lands in a window of `width` x `height`
// pixels: fitted with its aspect kept, or by the largest whole factor that
// fits (never below fitting a window smaller than the picture).
SDL_Rect PictureRect(int width, int height, bool integerScaling);

}  // namespace platform::sdl
