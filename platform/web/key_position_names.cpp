// The names SDL gives key positions (its scancode names), for the builds
// without SDL: the settings file names keys the same way in every build.
#include "platform/web/key_position_names.h"

#include <cctype>

#include "platform/key_positions.h"

namespace platform::web {
namespace {

// SDL 2's scancode names by position; null for positions without a name.
// Positions beyond the table have none.
// clang-format off
const char* const kNames[] = {
    /*   0 */ nullptr, nullptr, nullptr, nullptr, "A", "B", "C", "D",
    /*   8 */ "E", "F", "G", "H", "I", "J", "K", "L",
    /*  16 */ "M", "N", "O", "P", "Q", "R", "S", "T",
    /*  24 */ "U", "V", "W", "X", "Y", "Z", "1", "2",
    /*  32 */ "3", "4", "5", "6", "7", "8", "9", "0",
    /*  40 */ "Return", "Escape", "Backspace", "Tab", "Space", "-", "=", "[",
    /*  48 */ "]", "\\", "#", ";", "'", "`", ",", ".",
    /*  56 */ "/", "CapsLock", "F1", "F2", "F3", "F4", "F5", "F6",
    /*  64 */ "F7", "F8", "F9", "F10", "F11", "F12", "PrintScreen", "ScrollLock",
    /*  72 */ "Pause", "Insert", "Home", "PageUp", "Delete", "End", "PageDown", "Right",
    /*  80 */ "Left", "Down", "Up", "Numlock", "Keypad /", "Keypad *", "Keypad -", "Keypad +",
    /*  88 */ "Keypad Enter", "Keypad 1", "Keypad 2", "Keypad 3", "Keypad 4", "Keypad 5", "Keypad 6", "Keypad 7",
    /*  96 */ "Keypad 8", "Keypad 9", "Keypad 0", "Keypad .", nullptr, "Application", "Power", "Keypad =",
    /* 104 */ "F13", "F14", "F15", "F16", "F17", "F18", "F19", "F20",
    /* 112 */ "F21", "F22", "F23", "F24", "Execute", "Help", "Menu", "Select",
    /* 120 */ "Stop", "Again", "Undo", "Cut", "Copy", "Paste", "Find", "Mute",
    /* 128 */ "VolumeUp", "VolumeDown", nullptr, nullptr, nullptr, "Keypad ,", "Keypad = (AS400)", nullptr,
    /* 136 */ nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    /* 144 */ nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    /* 152 */ nullptr, "AltErase", "SysReq", "Cancel", "Clear", "Prior", "Return", "Separator",
    /* 160 */ "Out", "Oper", "Clear / Again", "CrSel", "ExSel", nullptr, nullptr, nullptr,
    /* 168 */ nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    /* 176 */ "Keypad 00", "Keypad 000", "ThousandsSeparator", "DecimalSeparator",
    /* 180 */ "CurrencyUnit", "CurrencySubUnit", "Keypad (", "Keypad )",
    /* 184 */ "Keypad {", "Keypad }", "Keypad Tab", "Keypad Backspace", "Keypad A", "Keypad B", "Keypad C", "Keypad D",
    /* 192 */ "Keypad E", "Keypad F", "Keypad XOR", "Keypad ^", "Keypad %", "Keypad <", "Keypad >", "Keypad &",
    /* 200 */ "Keypad &&", "Keypad |", "Keypad ||", "Keypad :", "Keypad #", "Keypad Space", "Keypad @", "Keypad !",
    /* 208 */ "Keypad MemStore", "Keypad MemRecall", "Keypad MemClear", "Keypad MemAdd",
    /* 212 */ "Keypad MemSubtract", "Keypad MemMultiply", "Keypad MemDivide", "Keypad +/-",
    /* 216 */ "Keypad Clear", "Keypad ClearEntry", "Keypad Binary", "Keypad Octal",
    /* 220 */ "Keypad Decimal", "Keypad Hexadecimal", nullptr, nullptr,
    /* 224 */ "Left Ctrl", "Left Shift", "Left Alt", "Left GUI", "Right Ctrl", "Right Shift", "Right Alt", "Right GUI",
    /* 232 */ nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    /* 240 */ nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    /* 248 */ nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    /* 256 */ nullptr, "ModeSwitch", "AudioNext", "AudioPrev", "AudioStop", "AudioPlay", "AudioMute", "MediaSelect",
    /* 264 */ "WWW", "Mail", "Calculator", "Computer", "AC Search", "AC Home", "AC Back", "AC Forward",
    /* 272 */ "AC Stop", "AC Refresh", "AC Bookmarks", "BrightnessDown",
    /* 276 */ "BrightnessUp", "DisplaySwitch", "KBDIllumToggle", "KBDIllumDown",
    /* 280 */ "KBDIllumUp", "Eject", "Sleep", "App1", "App2", "AudioRewind", "AudioFastForward", "SoftLeft",
    /* 288 */ "SoftRight", "Call", "EndCall",
};
// clang-format on
constexpr int kNamedPositions = static_cast<int>(sizeof kNames / sizeof kNames[0]);
static_assert(kNamedPositions <= kKeyPositionCount);

bool SameIgnoringCase(const std::string& a, const char* b) {
  size_t k = 0;
  for (; k < a.size() && b[k]; ++k) {
    if (std::tolower(static_cast<unsigned char>(a[k])) != std::tolower(static_cast<unsigned char>(b[k]))) return false;
  }
  return k == a.size() && !b[k];
}

// One visible character in UTF-8: not a control character, not a space,
// not a name such as "Dead" or "Unidentified".
bool IsOneVisibleCharacter(const std::string& text) {
  if (text.empty()) return false;
  const auto lead = static_cast<unsigned char>(text[0]);
  if (lead < 0x80) return text.size() == 1 && lead > ' ' && lead != 0x7F;
  const size_t length = lead >= 0xF8 ? 0 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
  if (length == 0 || text.size() != length) return false;
  for (size_t k = 1; k < length; ++k) {
    if ((static_cast<unsigned char>(text[k]) & 0xC0) != 0x80) return false;
  }
  // The C1 controls and the no-break space are no label either.
  return !(lead == 0xC2 && static_cast<unsigned char>(text[1]) <= 0xA0);
}

}  // namespace

std::string NameOfKeyPosition(int position) {
  if (position == kKeyPositionAnyShift) return "Shift";
  if (position == kKeyPositionAnyCtrl) return "Ctrl";
  if (position < 0 || position >= kNamedPositions || !kNames[position]) return {};
  return kNames[position];
}

std::optional<int> KeyPositionOfName(const std::string& name) {
  if (SameIgnoringCase(name, "Shift")) return kKeyPositionAnyShift;
  if (SameIgnoringCase(name, "Ctrl")) return kKeyPositionAnyCtrl;
  if (name.empty()) return std::nullopt;
  // The first position of a name wins, as with SDL ("Return" is 40, not 158).
  for (int position = 0; position < kNamedPositions; ++position) {
    if (kNames[position] && SameIgnoringCase(name, kNames[position])) return position;
  }
  return std::nullopt;
}

std::string LabelOfKey(int position, const std::string& typed) {
  if (!IsOneVisibleCharacter(typed)) return NameOfKeyPosition(position);
  if (typed[0] >= 'a' && typed[0] <= 'z') return std::string(1, static_cast<char>(typed[0] - 'a' + 'A'));
  return typed;
}

}  // namespace platform::web
