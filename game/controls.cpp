#include "game/controls.h"

#include <cctype>
#include <cstdio>

#include "game/match_flags.h"
#include "platform/key_positions.h"

namespace {

using platform::PadButton;
constexpr int kLeft = platform::kKeyPositionLeft, kRight = platform::kKeyPositionRight;
constexpr int kUp = platform::kKeyPositionUp, kDown = platform::kKeyPositionDown;
constexpr int kCtrl = platform::kKeyPositionAnyCtrl, kShift = platform::kKeyPositionAnyShift;
constexpr int Letter(char c) { return platform::KeyPositionOfLetter(c); }

constexpr int kLabelBytes = 24;
char keyLabels[kSeatCount][kLayoutCount][kActionCount][kLabelBytes];

constexpr PadInput Button(PadButton button) { return PadInput{PadInput::Button, static_cast<uint8_t>(button)}; }
constexpr PadInput Stick(platform::PadAxis axis, bool negative) {
  return PadInput{negative ? PadInput::StickNegative : PadInput::StickPositive, static_cast<uint8_t>(axis)};
}

}  // namespace

const ControlKeyTable kDefaultControlKeys = {
    {{kLeft, kRight, kDown, kCtrl}, {kLeft, kRight, kUp, kDown}},
    {{Letter('A'), Letter('D'), Letter('S'), kShift}, {Letter('A'), Letter('D'), Letter('W'), Letter('S')}},
    {{kLeft, kRight, kDown, kCtrl}, {kLeft, kRight, kUp, kDown}},
};

ControlKeyTable controlKeys = {
    {{kLeft, kRight, kDown, kCtrl}, {kLeft, kRight, kUp, kDown}},
    {{Letter('A'), Letter('D'), Letter('S'), kShift}, {Letter('A'), Letter('D'), Letter('W'), Letter('S')}},
    {{kLeft, kRight, kDown, kCtrl}, {kLeft, kRight, kUp, kDown}},
};

const PadMappingTable kDefaultPadMapping = {
    {Button(PadButton::DpLeft), Stick(platform::PadAxis::LeftX, true)},
    {Button(PadButton::DpRight), Stick(platform::PadAxis::LeftX, false)},
    {Button(PadButton::A)},
    {Button(PadButton::B), Button(PadButton::DpDown), Stick(platform::PadAxis::LeftY, false)},
    {Button(PadButton::Start)},
    {Button(PadButton::Back)},
};

PadMappingTable padMapping = {
    {Button(PadButton::DpLeft), Stick(platform::PadAxis::LeftX, true)},
    {Button(PadButton::DpRight), Stick(platform::PadAxis::LeftX, false)},
    {Button(PadButton::A)},
    {Button(PadButton::B), Button(PadButton::DpDown), Stick(platform::PadAxis::LeftY, false)},
    {Button(PadButton::Start)},
    {Button(PadButton::Back)},
};

int SeatOf(ControlHandler handler) {
  if (handler == ControlHandler::LetterKeysShiftDrop || handler == ControlHandler::LetterKeysWRotate) {
    return kSeatPlayerOne;
  }
  return PlayingCount() == 2 ? kSeatPlayerTwo : kSeatOnePlayer;
}

int LayoutOf(ControlHandler handler) {
  return handler == ControlHandler::ArrowKeysUpRotate || handler == ControlHandler::LetterKeysWRotate ? 1 : 0;
}

bool PadInputHeld(int pad, PadInput input) {
  switch (input.kind) {
    case PadInput::None: return false;
    case PadInput::Button: return platform::PadButtonHeld(pad, static_cast<PadButton>(input.code));
    case PadInput::StickNegative:
      return platform::PadAxisValue(pad, static_cast<platform::PadAxis>(input.code)) < -platform::kPadStickThreshold;
    case PadInput::StickPositive:
      return platform::PadAxisValue(pad, static_cast<platform::PadAxis>(input.code)) > platform::kPadStickThreshold;
  }
  return false;
}

bool PadActionHeld(int pad, int padAction) {
  if (padAction < 0 || padAction >= kPadActionCount) return false;
  if (pad < 0) {
    for (int any = 0; any < platform::kMaxPads; ++any) {
      if (PadActionHeld(any, padAction)) return true;
    }
    return false;
  }
  for (const PadInput& input : padMapping[padAction]) {
    if (PadInputHeld(pad, input)) return true;
  }
  return false;
}

uint8_t HeldActions(ControlHandler handler, int32_t index) {
  if (handler == ControlHandler::None) return 0;
  const int* keys = controlKeys[SeatOf(handler)][LayoutOf(handler)];
  const int pad = PlayingCount() == 2 ? (index == 1 ? 1 : 0) : -1;
  uint8_t held = 0;
  for (int action = 0; action < kActionCount; ++action) {
    if (platform::IsKeyPositionHeld(keys[action]) || PadActionHeld(pad, action)) held |= ActionBit(action);
  }
  return held;
}

std::string KeyLabelForScreen(int position) {
  std::string label = platform::KeyPositionLabel(position);
  for (char& c : label) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return label;
}

void RefreshKeyLabels() {
  for (int seat = 0; seat < kSeatCount; ++seat) {
    for (int layout = 0; layout < kLayoutCount; ++layout) {
      for (int action = 0; action < kActionCount; ++action) {
        std::snprintf(keyLabels[seat][layout][action], kLabelBytes, "%s",
                      KeyLabelForScreen(controlKeys[seat][layout][action]).c_str());
      }
    }
  }
}

const char* ActionKeyText(int seat, int layout, int action, const char* gameText) {
  if (seat < 0 || seat >= kSeatCount || layout < 0 || layout >= kLayoutCount || action < 0 || action >= kActionCount) {
    return gameText;
  }
  if (controlKeys[seat][layout][action] == kDefaultControlKeys[seat][layout][action]) return gameText;
  return keyLabels[seat][layout][action][0] ? keyLabels[seat][layout][action] : "?";
}
