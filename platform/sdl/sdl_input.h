// The keyboard of the SDL backend: each key event held both by what the key
// types (the virtual-key codes the game polls) and by where it sits (its
// key position). Shift and Ctrl stand for either of their two keys.
#pragma once

#include <SDL.h>

namespace platform::sdl {

class KeyboardInput {
 public:
  void Handle(const SDL_KeyboardEvent& key);
  // Forgets every held key: their releases would never reach us.
  void ReleaseAll();

 private:
  bool leftShift_ = false, rightShift_ = false, leftCtrl_ = false, rightCtrl_ = false;
};

}  // namespace platform::sdl
