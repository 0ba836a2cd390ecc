// The page's key events turned into the game's held keys, both by what the
// key types and by where it sits. The browser's `keyCode` values are the
// Windows virtual-key codes the game is written in; its `code` names the
// key's place on the keyboard, which maps onto the USB usage codes that
// are the game's key positions. Shift and Ctrl are tracked by side so that
// releasing one of two held keys keeps the other held.
#pragma once

#include <optional>

namespace platform::web {

struct DomKeyEvent {
  unsigned keyCode = 0;
  const char* code = "";  // "KeyA", "ArrowLeft", "ShiftRight"; "" when the browser gives none
  unsigned location = 0;  // 1 left, 2 right, 3 number pad
  bool repeat = false;
  bool alt = false;
  bool ctrl = false;
  bool meta = false;
};

class DomKeyboard {
 public:
  // Each returns true when the page must not act on the key itself (scroll
  // on the arrows and Space, help on F1, back on Backspace, focus on Tab);
  // browser shortcuts (Ctrl+letter, F5, F11, F12) keep working.
  bool KeyDown(const DomKeyEvent& event);
  bool KeyUp(const DomKeyEvent& event);
  // The page lost the focus: releases that happen elsewhere never arrive.
  void ReleaseAll();

 private:
  bool Handle(const DomKeyEvent& event, bool down);

  bool leftShift_ = false, rightShift_ = false, leftCtrl_ = false, rightCtrl_ = false;
};

// The game's virtual-key code for a DOM keyCode, or -1 for keys it never reads.
int VirtualKeyFromDom(unsigned keyCode);

// The key position of a DOM `code`, or -1 for a code with none.
int KeyPositionFromDomCode(const char* code);
// The DOM `code` of a key position, or nullopt for a position the browser
// does not name.
std::optional<const char*> DomCodeOfKeyPosition(int position);

}  // namespace platform::web
