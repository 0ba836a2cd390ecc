// Key positions by name, without SDL: the names SDL gives its scancodes
// ("A", "Left", "Left Shift", "Keypad 4"), so that a settings file reads the
// same in the browser as natively. The browser build's KeyPositionName and
// KeyPositionFromName (platform/key_positions.h) are these.
#pragma once

#include <optional>
#include <string>

namespace platform::web {

// SDL's name of a position, "Shift" and "Ctrl" for the either keys; empty
// for a position without a name.
std::string NameOfKeyPosition(int position);
// The position of one of those names, case ignored; nullopt for an unknown
// or empty name.
std::optional<int> KeyPositionOfName(const std::string& name);

// What the key at `position` shows, as SDL would say it, when it types
// `typed` (the browser's `key`): one visible character as it is, a to z in
// capitals; for every other key (arrows, Shift, Space, a dead key) and an
// unknown text, the position's name.
std::string LabelOfKey(int position, const std::string& typed);

}  // namespace platform::web
