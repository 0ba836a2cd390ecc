// Keys by their place on the keyboard rather than by what they type: the
// letter layouts of the two-player match sit under the player's hand
// whatever language the keyboard is set to. A position is the key's USB
// usage code, which is also SDL's scancode; two extra positions stand for
// "either Shift" and "either Ctrl", the keys the game has always meant.
//
// headless: the script's key names press the keys of a US keyboard, so both
// views of a key (IsKeyHeld by what it types, IsKeyPositionHeld by where it
// is) agree.
#pragma once

#include <optional>
#include <string>

namespace platform {

constexpr int kKeyPositionA = 4;  // A..Z follow in order
constexpr int kKeyPosition1 = 30;  // 1..9 follow in order, then 0
constexpr int kKeyPosition0 = 39;
constexpr int kKeyPositionReturn = 40;
constexpr int kKeyPositionEscape = 41;
constexpr int kKeyPositionBackspace = 42;
constexpr int kKeyPositionSpace = 44;
constexpr int kKeyPositionF1 = 58;  // F1..F12 follow in order
constexpr int kKeyPositionRight = 79;
constexpr int kKeyPositionLeft = 80;
constexpr int kKeyPositionDown = 81;
constexpr int kKeyPositionUp = 82;
constexpr int kKeyPositionLeftCtrl = 224;
constexpr int kKeyPositionLeftShift = 225;
constexpr int kKeyPositionRightCtrl = 228;
constexpr int kKeyPositionRightShift = 229;
// Real positions are below this; the two "either" keys come after.
constexpr int kKeyPositionCount = 512;
constexpr int kKeyPositionAnyShift = kKeyPositionCount;
constexpr int kKeyPositionAnyCtrl = kKeyPositionCount + 1;

constexpr int KeyPositionOfLetter(char letter) { return kKeyPositionA + (letter - 'A'); }

// Is the key at this position held now? "Either" positions ask both keys.
bool IsKeyPositionHeld(int position);

// The first real position held now (lowest code first), or nullopt.
std::optional<int> FirstHeldKeyPosition();

// The position's name for files: SDL's scancode name ("A", "Left", "Left
// Shift", "Keypad 4"), or "Shift" and "Ctrl" for the either keys. Empty for
// a position with no name.
std::string KeyPositionName(int position);
// The position of a name as KeyPositionName writes it (case does not
// matter), or nullopt.
std::optional<int> KeyPositionFromName(const std::string& name);

// What the key at this position shows on the player's keyboard now ("Q"
// for the position of A on a French keyboard); headless: the name of a US
// keyboard; web: what the browser's layout says the key types, or what it
// typed last, else the name of a US keyboard.
std::string KeyPositionLabel(int position);

}  // namespace platform
