// Gamepads of the SDL backend: game controllers opened as they connect, each
// in the lowest free pad slot, their buttons and left stick fed into the
// platform's pad state.
#pragma once

#include <SDL.h>

#include "platform/pads.h"

namespace platform::sdl {

class PadInput {
 public:
  // Starts SDL's game controller support; false when it is not there (the
  // game then simply has no pads).
  bool Start();
  void Stop();
  // Takes the controller events; false for any other event.
  bool Handle(const SDL_Event& event);

 private:
  void Connect(int deviceIndex);
  void Disconnect(SDL_JoystickID id);
  int SlotOf(SDL_JoystickID id) const;

  bool started_ = false;
  SDL_GameController* controllers_[kMaxPads] = {};
  SDL_JoystickID ids_[kMaxPads] = {};
};

}  // namespace platform::sdl
