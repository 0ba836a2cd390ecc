#include "platform/web/dom_keyboard.h"

#include <cstring>

#include "platform/backend.h"
#include "platform/key_positions.h"
#include "platform/keys.h"

namespace platform::web {
namespace {

constexpr unsigned kDomShift = 16, kDomCtrl = 17, kDomNumpad1 = 97, kDomNumpad2 = 98;
constexpr unsigned kLocationRight = 2;

// Keys whose meaning to the browser is worth more than to the game, which
// never reads them: reload, fullscreen, the developer tools.
bool PageKeepsKey(int vk) { return vk >= VK_F1 && vk < VK_F1 + 12 && vk != VK_F1 && vk != VK_F2 && vk != VK_F8; }

struct DomCodePosition {
  const char* code;
  int position;
};

// The UI Events `code` values and the USB usage codes of the same keys. The
// letters, digits and function keys follow from their names below.
// clang-format off
const DomCodePosition kDomCodePositions[] = {
    {"Enter", kKeyPositionReturn}, {"Escape", kKeyPositionEscape}, {"Backspace", kKeyPositionBackspace},
    {"Tab", 43}, {"Space", kKeyPositionSpace}, {"Minus", 45}, {"Equal", 46}, {"BracketLeft", 47},
    {"BracketRight", 48}, {"Backslash", 49}, {"Semicolon", 51}, {"Quote", 52}, {"Backquote", 53},
    {"Comma", 54}, {"Period", 55}, {"Slash", 56}, {"CapsLock", 57}, {"PrintScreen", 70}, {"ScrollLock", 71},
    {"Pause", 72}, {"Insert", 73}, {"Home", 74}, {"PageUp", 75}, {"Delete", 76}, {"End", 77}, {"PageDown", 78},
    {"ArrowRight", kKeyPositionRight}, {"ArrowLeft", kKeyPositionLeft}, {"ArrowDown", kKeyPositionDown},
    {"ArrowUp", kKeyPositionUp}, {"NumLock", 83}, {"NumpadDivide", 84}, {"NumpadMultiply", 85},
    {"NumpadSubtract", 86}, {"NumpadAdd", 87}, {"NumpadEnter", 88}, {"Numpad1", 89}, {"Numpad2", 90},
    {"Numpad3", 91}, {"Numpad4", 92}, {"Numpad5", 93}, {"Numpad6", 94}, {"Numpad7", 95}, {"Numpad8", 96},
    {"Numpad9", 97}, {"Numpad0", 98}, {"NumpadDecimal", 99}, {"IntlBackslash", 100}, {"ContextMenu", 101},
    {"Power", 102}, {"NumpadEqual", 103}, {"Help", 117}, {"Undo", 122}, {"Cut", 123}, {"Copy", 124},
    {"Paste", 125}, {"Find", 126}, {"AudioVolumeMute", 127}, {"AudioVolumeUp", 128}, {"AudioVolumeDown", 129},
    {"NumpadComma", 133}, {"IntlRo", 135}, {"KanaMode", 136}, {"IntlYen", 137}, {"Convert", 138},
    {"NonConvert", 139}, {"Lang1", 144}, {"Lang2", 145}, {"Lang3", 146}, {"Lang4", 147}, {"Lang5", 148},
    {"ControlLeft", kKeyPositionLeftCtrl}, {"ShiftLeft", kKeyPositionLeftShift}, {"AltLeft", 226},
    {"MetaLeft", 227}, {"ControlRight", kKeyPositionRightCtrl}, {"ShiftRight", kKeyPositionRightShift},
    {"AltRight", 230}, {"MetaRight", 231},
    // What older browsers called the system keys.
    {"OSLeft", 227}, {"OSRight", 231},
};
// clang-format on

// "F1".."F24" as positions: F1 to F12 and F13 to F24 are two runs.
int FunctionKeyPosition(const char* code) {
  if (code[0] != 'F' || code[1] < '1' || code[1] > '9') return -1;
  int number = code[1] - '0';
  if (code[2] >= '0' && code[2] <= '9') {
    number = number * 10 + (code[2] - '0');
    if (code[3] != '\0') return -1;
  } else if (code[2] != '\0') {
    return -1;
  }
  if (number <= 12) return kKeyPositionF1 + number - 1;
  if (number <= 24) return 104 + number - 13;
  return -1;
}

}  // namespace

int KeyPositionFromDomCode(const char* code) {
  if (!code || !*code) return -1;
  if (std::strncmp(code, "Key", 3) == 0 && code[3] >= 'A' && code[3] <= 'Z' && code[4] == '\0') {
    return KeyPositionOfLetter(code[3]);
  }
  if (std::strncmp(code, "Digit", 5) == 0 && code[5] >= '0' && code[5] <= '9' && code[6] == '\0') {
    return code[5] == '0' ? kKeyPosition0 : kKeyPosition1 + (code[5] - '1');
  }
  if (const int function = FunctionKeyPosition(code); function >= 0) return function;
  for (const DomCodePosition& entry : kDomCodePositions) {
    if (std::strcmp(code, entry.code) == 0) return entry.position;
  }
  return -1;
}

std::optional<const char*> DomCodeOfKeyPosition(int position) {
  static const char* const kLetters[] = {"KeyA", "KeyB", "KeyC", "KeyD", "KeyE", "KeyF", "KeyG", "KeyH", "KeyI",
                                         "KeyJ", "KeyK", "KeyL", "KeyM", "KeyN", "KeyO", "KeyP", "KeyQ", "KeyR",
                                         "KeyS", "KeyT", "KeyU", "KeyV", "KeyW", "KeyX", "KeyY", "KeyZ"};
  static const char* const kDigits[] = {"Digit1", "Digit2", "Digit3", "Digit4", "Digit5",
                                        "Digit6", "Digit7", "Digit8", "Digit9", "Digit0"};
  static const char* const kFunctions[] = {"F1",  "F2",  "F3",  "F4",  "F5",  "F6",  "F7",  "F8",
                                           "F9",  "F10", "F11", "F12", "F13", "F14", "F15", "F16",
                                           "F17", "F18", "F19", "F20", "F21", "F22", "F23", "F24"};
  if (position >= kKeyPositionA && position < kKeyPositionA + 26) return kLetters[position - kKeyPositionA];
  if (position >= kKeyPosition1 && position <= kKeyPosition0) return kDigits[position - kKeyPosition1];
  if (position >= kKeyPositionF1 && position < kKeyPositionF1 + 12) return kFunctions[position - kKeyPositionF1];
  if (position >= 104 && position < 116) return kFunctions[12 + position - 104];
  for (const DomCodePosition& entry : kDomCodePositions) {
    if (entry.position == position) return entry.code;
  }
  return std::nullopt;
}

int VirtualKeyFromDom(unsigned keyCode) {
  if ((keyCode >= 'A' && keyCode <= 'Z') || (keyCode >= '0' && keyCode <= '9')) return static_cast<int>(keyCode);
  if (keyCode >= VK_F1 && keyCode < VK_F1 + 12) return static_cast<int>(keyCode);
  switch (keyCode) {
    case VK_BACK:
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_SPACE:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    case kDomShift:
    case kDomCtrl: return static_cast<int>(keyCode);
    // The number pad's 1 and 2 choose players in the menu, as natively.
    case kDomNumpad1: return '1';
    case kDomNumpad2: return '2';
    default: return -1;
  }
}

bool DomKeyboard::KeyDown(const DomKeyEvent& event) { return Handle(event, true); }

bool DomKeyboard::KeyUp(const DomKeyEvent& event) { return Handle(event, false); }

void DomKeyboard::ReleaseAll() {
  detail::ReleaseAllKeys();
  leftShift_ = rightShift_ = leftCtrl_ = rightCtrl_ = false;
}

bool DomKeyboard::Handle(const DomKeyEvent& event, bool down) {
  // Alt+Enter switches the page to fullscreen; it is not the game's key.
  if (event.alt && event.keyCode == VK_RETURN) return false;
  const int vk = VirtualKeyFromDom(event.keyCode);
  const int position = KeyPositionFromDomCode(event.code);
  if (vk < 0 && position < 0) return false;
  // Browser shortcuts (Ctrl+R, Ctrl+W, Ctrl+Tab, ...) keep working; the game
  // still sees the key, as it would under a desktop. The arrows, Space,
  // Return, Escape, Backspace, Shift and Ctrl are the game's own even so.
  const bool modified = event.ctrl || event.meta || event.alt;
  const bool gameKey = vk >= 0 && !(vk >= 'A' && vk <= 'Z') && !(vk >= '0' && vk <= '9');
  const bool shortcut = PageKeepsKey(vk) || (modified && !gameKey);
  if (down && event.repeat) return !shortcut;  // held already; repeats change nothing

  if (position >= 0) {
    if (down) {
      detail::SetKeyPositionHeld(position, true);
    } else {
      detail::ReleaseKeyPositionOncePolled(position);
    }
  }
  if (vk == VK_SHIFT || vk == VK_CONTROL) {
    const bool right = event.location == kLocationRight;
    bool& side = vk == VK_SHIFT ? (right ? rightShift_ : leftShift_) : (right ? rightCtrl_ : leftCtrl_);
    side = down;
    const bool either = vk == VK_SHIFT ? leftShift_ || rightShift_ : leftCtrl_ || rightCtrl_;
    if (either) {
      if (down) detail::SetKeyHeld(vk, true);
    } else {
      detail::ReleaseKeyOncePolled(vk);
    }
  } else if (vk >= 0) {
    if (down) {
      detail::SetKeyHeld(vk, true);
    } else {
      detail::ReleaseKeyOncePolled(vk);
    }
  }
  return !shortcut;
}

}  // namespace platform::web
