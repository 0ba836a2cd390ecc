// SDL key codes to the Windows virtual-key codes the game polls.
#pragma once

#include <SDL.h>

namespace platform::sdl {

// The virtual-key code for a key, or -1 for keys the game never asks for.
// Uses the key code, not the scan code, so letters follow the key's label
// on any keyboard layout.
int VirtualKeyFromSdl(SDL_Keycode key);

}  // namespace platform::sdl
