// The players' controls: which keys and pad inputs do the four actions of
// each layout, and the one answer to "which actions does player N hold
// now" that the game step reads. Keys are key positions (where the key
// sits, platform/key_positions.h), so the letter layouts lie under the same
// fingers on every keyboard. The shell fills the tables from the settings.
#pragma once

#include <cstdint>
#include <string>

#include "game/player_state.h"
#include "platform/pads.h"

// The four actions, in the order the game step polls them.
constexpr int kActionCount = 4;
constexpr int kActionLeft = 0, kActionRight = 1, kActionTurn = 2, kActionDrop = 3;
constexpr uint8_t ActionBit(int action) { return static_cast<uint8_t>(1u << action); }

// Whose keys: the player of a one-player match, or player 1 or 2 of two.
constexpr int kSeatCount = 3;
constexpr int kSeatOnePlayer = 0, kSeatPlayerOne = 1, kSeatPlayerTwo = 2;
// Each seat has two layouts, switched with F1 (F2): 0 and 1.
constexpr int kLayoutCount = 2;

// Key positions of every seat, layout and action.
using ControlKeyTable = int[kSeatCount][kLayoutCount][kActionCount];
extern ControlKeyTable controlKeys;
// The game's own keys: arrows with Down or Up turning and Ctrl or Down
// dropping; A and D with S or W turning and Shift or S dropping.
extern const ControlKeyTable kDefaultControlKeys;

// One input of a pad: a button, or the left stick pushed one way.
struct PadInput {
  enum Kind : uint8_t { None, Button, StickNegative, StickPositive };
  Kind kind = None;
  uint8_t code = 0;  // a platform::PadButton, or a platform::PadAxis for the stick
  bool operator==(const PadInput&) const = default;
};
// What the pads do in a match: the four actions, then pause and quit.
constexpr int kPadActionCount = 6;
constexpr int kPadActionPause = 4, kPadActionQuit = 5;
constexpr int kPadInputsPerAction = 4;
using PadMappingTable = PadInput[kPadActionCount][kPadInputsPerAction];
extern PadMappingTable padMapping;
// D-pad or stick left and right move, A turns, B or down drops, Start
// pauses, Back quits.
extern const PadMappingTable kDefaultPadMapping;

// The seat and layout whose keys a control handler reads: the letter
// layouts are player 1's of two, the arrow layouts player 2's in a
// two-player match and the one player's otherwise.
int SeatOf(ControlHandler handler);
int LayoutOf(ControlHandler handler);

// The actions held now by the player with `index` on `handler`: bit
// ActionBit(a) for each action whose key is down or whose pad input is
// held. In a two-player match player 1 has pad 0 and player 2 pad 1; in a
// one-player match every pad plays.
uint8_t HeldActions(ControlHandler handler, int32_t index);

// Is a pad action held on pad `pad`, or (pad -1) on any pad?
bool PadActionHeld(int pad, int padAction);
bool PadInputHeld(int pad, PadInput input);

// The legend's name of a key: the game's own text while the key is the
// default one, else the name on the player's keyboard in capitals, as
// RefreshKeyLabels last took it (so the play screen draws it without
// allocating anything during a match).
const char* ActionKeyText(int seat, int layout, int action, const char* gameText);
// Takes the names of the keys in controlKeys from the keyboard; the shell
// calls it whenever the keys change and when a match starts.
void RefreshKeyLabels();
// A key position's name in capitals, as the screens show it.
std::string KeyLabelForScreen(int position);
