#include "platform/sdl/sdl_input.h"

#include "platform/backend.h"
#include "platform/keys.h"
#include "platform/sdl/key_map.h"

namespace platform::sdl {

void KeyboardInput::Handle(const SDL_KeyboardEvent& key) {
  const bool down = key.state == SDL_PRESSED;
  detail::SetKeyPositionHeld(static_cast<int>(key.keysym.scancode), down);
  switch (key.keysym.sym) {
    case SDLK_LSHIFT: leftShift_ = down; break;
    case SDLK_RSHIFT: rightShift_ = down; break;
    case SDLK_LCTRL: leftCtrl_ = down; break;
    case SDLK_RCTRL: rightCtrl_ = down; break;
    default: {
      const int vk = VirtualKeyFromSdl(key.keysym.sym);
      if (vk >= 0) detail::SetKeyHeld(vk, down);
      return;
    }
  }
  detail::SetKeyHeld(VK_SHIFT, leftShift_ || rightShift_);
  detail::SetKeyHeld(VK_CONTROL, leftCtrl_ || rightCtrl_);
}

void KeyboardInput::ReleaseAll() {
  detail::ReleaseAllKeys();
  leftShift_ = rightShift_ = leftCtrl_ = rightCtrl_ = false;
}

}  // namespace platform::sdl
