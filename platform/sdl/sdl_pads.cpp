#include "platform/sdl/sdl_pads.h"

#include <cstdint>
#include <vector>

#include "platform/backend.h"
#include "platform/platform.h"

namespace platform::sdl {
namespace {

constexpr size_t kMaxMappingBytes = 4u << 20;

std::optional<PadButton> ButtonOf(uint8_t sdlButton) {
  switch (sdlButton) {
    case SDL_CONTROLLER_BUTTON_A: return PadButton::A;
    case SDL_CONTROLLER_BUTTON_B: return PadButton::B;
    case SDL_CONTROLLER_BUTTON_X: return PadButton::X;
    case SDL_CONTROLLER_BUTTON_Y: return PadButton::Y;
    case SDL_CONTROLLER_BUTTON_BACK: return PadButton::Back;
    case SDL_CONTROLLER_BUTTON_START: return PadButton::Start;
    case SDL_CONTROLLER_BUTTON_DPAD_UP: return PadButton::DpUp;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return PadButton::DpDown;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return PadButton::DpLeft;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return PadButton::DpRight;
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER: return PadButton::LeftShoulder;
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER: return PadButton::RightShoulder;
    default: return std::nullopt;
  }
}

}  // namespace

bool PadInput::Start() {
  if (started_) return true;
  // Presses made while another window has the focus are not the game's.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "0");
  started_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
  // The pads already plugged in come as "added" events like new ones.
  return started_;
}

void PadInput::Stop() {
  if (!started_) return;
  for (int slot = 0; slot < kMaxPads; ++slot) {
    if (controllers_[slot]) SDL_GameControllerClose(controllers_[slot]);
    controllers_[slot] = nullptr;
  }
  SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  started_ = false;
}

int PadInput::SlotOf(SDL_JoystickID id) const {
  for (int slot = 0; slot < kMaxPads; ++slot) {
    if (controllers_[slot] && ids_[slot] == id) return slot;
  }
  return -1;
}

void PadInput::Connect(int deviceIndex) {
  if (!SDL_IsGameController(deviceIndex)) return;
  const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
  if (id < 0 || SlotOf(id) >= 0) return;  // told twice about one pad
  for (int slot = 0; slot < kMaxPads; ++slot) {
    if (controllers_[slot]) continue;
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (!controller) return;
    controllers_[slot] = controller;
    ids_[slot] = id;
    detail::SetPadConnected(slot, true);
    return;
  }
}

void PadInput::Disconnect(SDL_JoystickID id) {
  const int slot = SlotOf(id);
  if (slot < 0) return;
  SDL_GameControllerClose(controllers_[slot]);
  controllers_[slot] = nullptr;
  detail::SetPadConnected(slot, false);
}

bool PadInput::Handle(const SDL_Event& event) {
  switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED: Connect(event.cdevice.which); return true;
    case SDL_CONTROLLERDEVICEREMOVED: Disconnect(event.cdevice.which); return true;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
      const int slot = SlotOf(event.cbutton.which);
      const std::optional<PadButton> button = ButtonOf(event.cbutton.button);
      if (slot >= 0 && button) detail::SetPadButton(slot, *button, event.cbutton.state == SDL_PRESSED);
      return true;
    }
    case SDL_CONTROLLERAXISMOTION: {
      const int slot = SlotOf(event.caxis.which);
      if (slot < 0) return true;
      if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) detail::SetPadAxis(slot, PadAxis::LeftX, event.caxis.value);
      if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) detail::SetPadAxis(slot, PadAxis::LeftY, event.caxis.value);
      return true;
    }
    default: return false;
  }
}

}  // namespace platform::sdl

namespace platform {

bool AddPadMappingsFromFile(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, bytes, sdl::kMaxMappingBytes)) return false;
  if (ActiveBackend() == Backend::Headless || bytes.empty()) return true;
  // SDL takes the lines it understands and skips the others.
  SDL_RWops* memory = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  if (!memory) return false;
  return SDL_GameControllerAddMappingsFromRW(memory, 1) >= 0;
}

}  // namespace platform
