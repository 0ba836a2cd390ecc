#include "platform/sdl/sdl_presenter.h"

#include <dirent.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/platform.h"

namespace platform::sdl {

void ScreenArea::Add(const ScreenArea& other) {
  if (other.Empty()) return;
  if (Empty()) {
    *this = other;
    return;
  }
  left = std::min(left, other.left);
  top = std::min(top, other.top);
  right = std::max(right, other.right);
  bottom = std::max(bottom, other.bottom);
}

SDL_Rect PictureRect(int width, int height, bool integerScaling) {
  // The largest scale that fits both ways, in 1/640ths and 1/480ths kept
  // exact by working in whole pixels of the picture's width.
  int w = width, h = w * kScreenHeight / kScreenWidth;
  if (h > height) {
    h = height;
    w = h * kScreenWidth / kScreenHeight;
  }
  if (integerScaling) {
    const int factor = std::min(width / kScreenWidth, height / kScreenHeight);
    if (factor >= 1) {
      w = factor * kScreenWidth;
      h = factor * kScreenHeight;
    }
  }
  w = std::max(w, 1);
  h = std::max(h, 1);
  return SDL_Rect{(width - w) / 2, (height - h) / 2, w, h};
}

bool HasHardwareRenderer() {
  if (const char* software = std::getenv("LIBGL_ALWAYS_SOFTWARE"); software && *software && std::strcmp(software, "0")) {
    return false;
  }
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driver || std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0) return false;
  // A render node is the kernel's door to a graphics card's 3D engine: with
  // none (a virtual machine, a screen without drivers, Xvfb on a server),
  // OpenGL can only be the software rasterizer.
  DIR* dri = ::opendir("/dev/dri");
  if (!dri) return false;
  bool found = false;
  while (dirent* entry = ::readdir(dri)) {
    if (std::strncmp(entry->d_name, "renderD", 7) == 0) found = true;
  }
  ::closedir(dri);
  return found;
}

}  // namespace platform::sdl
