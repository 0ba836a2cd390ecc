// The held state of key positions and gamepads that the backends feed, and
// the pads seen as the "any pad" virtual keys of the screens.
#include <cstring>

#include "platform/backend.h"
#include "platform/key_positions.h"
#include "platform/keys.h"
#include "platform/pads.h"

namespace platform {
namespace {

struct PadState {
  bool connected = false;
  bool buttons[kPadButtonCount] = {};
  int axes[kPadAxisCount] = {};
};

bool positionHeld[kKeyPositionCount];
// As for virtual keys (platform.cpp): a position that went up before any
// poll saw it down stays held until one has.
bool positionPolledSinceDown[kKeyPositionCount];
bool positionReleaseAfterPoll[kKeyPositionCount];
PadState pads[kMaxPads];

bool ValidPad(int pad) { return pad >= 0 && pad < kMaxPads; }

bool ValidPosition(int position) { return position >= 0 && position < kKeyPositionCount; }

// The held state of a real position as one poll sees it: the poll counts as
// having seen it, and a release waiting for that poll happens now.
bool PollPosition(int position) {
  const bool held = positionHeld[position];
  positionPolledSinceDown[position] = true;
  if (positionReleaseAfterPoll[position]) {
    positionReleaseAfterPoll[position] = false;
    positionHeld[position] = false;
  }
  return held;
}

const char* const kButtonNames[kPadButtonCount] = {
    "a", "b", "x", "y", "back", "start", "dpup", "dpdown", "dpleft", "dpright", "leftshoulder", "rightshoulder",
};
const char* const kAxisNames[kPadAxisCount] = {"leftx", "lefty"};

bool AnyPad(PadButton button) {
  for (int pad = 0; pad < kMaxPads; ++pad) {
    if (PadButtonHeld(pad, button)) return true;
  }
  return false;
}

// Any pad's stick pushed beyond the threshold, towards the negative end of
// the axis (`negative`) or the positive one.
bool AnyStick(PadAxis axis, bool negative) {
  for (int pad = 0; pad < kMaxPads; ++pad) {
    const int value = PadAxisValue(pad, axis);
    if (negative ? value < -kPadStickThreshold : value > kPadStickThreshold) return true;
  }
  return false;
}

}  // namespace

namespace detail {

void SetKeyPositionHeld(int position, bool held) {
  if (!ValidPosition(position)) return;
  positionHeld[position] = held;
  positionPolledSinceDown[position] = false;
  positionReleaseAfterPoll[position] = false;
}

void ReleaseKeyPositionOncePolled(int position) {
  if (!ValidPosition(position)) return;
  if (positionHeld[position] && !positionPolledSinceDown[position]) {
    positionReleaseAfterPoll[position] = true;
  } else {
    positionHeld[position] = false;
  }
}

void ReleaseAllPositionsAndPadInputs() {
  std::memset(positionHeld, 0, sizeof positionHeld);
  std::memset(positionPolledSinceDown, 0, sizeof positionPolledSinceDown);
  std::memset(positionReleaseAfterPoll, 0, sizeof positionReleaseAfterPoll);
  for (PadState& pad : pads) {
    std::memset(pad.buttons, 0, sizeof pad.buttons);
    std::memset(pad.axes, 0, sizeof pad.axes);
  }
}

void SetPadConnected(int pad, bool connected) {
  if (!ValidPad(pad)) return;
  pads[pad] = PadState{};
  pads[pad].connected = connected;
}

void SetPadButton(int pad, PadButton button, bool held) {
  if (ValidPad(pad) && pads[pad].connected) pads[pad].buttons[static_cast<int>(button)] = held;
}

void SetPadAxis(int pad, PadAxis axis, int value) {
  if (!ValidPad(pad) || !pads[pad].connected) return;
  pads[pad].axes[static_cast<int>(axis)] = value < -32768 ? -32768 : value > 32767 ? 32767 : value;
}

void DisconnectAllPads() {
  for (PadState& pad : pads) pad = PadState{};
}

bool IsGamepadKey(int virtualKey) { return virtualKey >= VK_GAMEPAD_A && virtualKey <= VK_GAMEPAD_VIEW; }

bool GamepadKeyHeld(int virtualKey) {
  switch (virtualKey) {
    case VK_GAMEPAD_A: return AnyPad(PadButton::A);
    case VK_GAMEPAD_B: return AnyPad(PadButton::B);
    case VK_GAMEPAD_X: return AnyPad(PadButton::X);
    case VK_GAMEPAD_Y: return AnyPad(PadButton::Y);
    case VK_GAMEPAD_DPAD_UP: return AnyPad(PadButton::DpUp) || AnyStick(PadAxis::LeftY, true);
    case VK_GAMEPAD_DPAD_DOWN: return AnyPad(PadButton::DpDown) || AnyStick(PadAxis::LeftY, false);
    case VK_GAMEPAD_DPAD_LEFT: return AnyPad(PadButton::DpLeft) || AnyStick(PadAxis::LeftX, true);
    case VK_GAMEPAD_DPAD_RIGHT: return AnyPad(PadButton::DpRight) || AnyStick(PadAxis::LeftX, false);
    case VK_GAMEPAD_MENU: return AnyPad(PadButton::Start);
    case VK_GAMEPAD_VIEW: return AnyPad(PadButton::Back);
    default: return false;
  }
}

}  // namespace detail

bool IsKeyPositionHeld(int position) {
  detail::ActiveImpl().Poll();
  if (position == kKeyPositionAnyShift) {
    // Both sides are polled, so that a tap of either is seen once.
    const bool left = PollPosition(kKeyPositionLeftShift);
    return PollPosition(kKeyPositionRightShift) || left;
  }
  if (position == kKeyPositionAnyCtrl) {
    const bool left = PollPosition(kKeyPositionLeftCtrl);
    return PollPosition(kKeyPositionRightCtrl) || left;
  }
  return ValidPosition(position) && PollPosition(position);
}

std::optional<int> FirstHeldKeyPosition() {
  detail::ActiveImpl().Poll();
  for (int position = 0; position < kKeyPositionCount; ++position) {
    if (!positionHeld[position]) continue;
    PollPosition(position);
    return position;
  }
  return std::nullopt;
}

bool PadConnected(int pad) {
  detail::ActiveImpl().Poll();
  return ValidPad(pad) && pads[pad].connected;
}

bool PadButtonHeld(int pad, PadButton button) {
  if (!ValidPad(pad) || static_cast<int>(button) >= kPadButtonCount) return false;
  return pads[pad].connected && pads[pad].buttons[static_cast<int>(button)];
}

int PadAxisValue(int pad, PadAxis axis) {
  if (!ValidPad(pad) || static_cast<int>(axis) >= kPadAxisCount) return 0;
  return pads[pad].connected ? pads[pad].axes[static_cast<int>(axis)] : 0;
}

const char* PadButtonName(PadButton button) {
  const int k = static_cast<int>(button);
  return k < kPadButtonCount ? kButtonNames[k] : "";
}

std::optional<PadButton> PadButtonFromName(const std::string& name) {
  for (int k = 0; k < kPadButtonCount; ++k) {
    if (name == kButtonNames[k]) return static_cast<PadButton>(k);
  }
  return std::nullopt;
}

const char* PadAxisName(PadAxis axis) {
  const int k = static_cast<int>(axis);
  return k < kPadAxisCount ? kAxisNames[k] : "";
}

std::optional<PadAxis> PadAxisFromName(const std::string& name) {
  for (int k = 0; k < kPadAxisCount; ++k) {
    if (name == kAxisNames[k]) return static_cast<PadAxis>(k);
  }
  return std::nullopt;
}

}  // namespace platform
