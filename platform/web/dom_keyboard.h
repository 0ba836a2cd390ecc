// The page's key events turned into the game's held keys. The browser's
// `keyCode` values are the Windows virtual-key codes the game is written in;
// Shift and Ctrl are tracked by side so that releasing one of two held keys
// keeps the other held.
#pragma once

namespace platform::web {

struct DomKeyEvent {
  unsigned keyCode = 0;
  unsigned location = 0;  // 1 left, 2 right, 3 number pad
  bool repeat = false;
  bool alt = false;
  bool ctrl = false;
  bool meta = false;
};

class DomKeyboard {
 public:
  // Each returns true when the page must not act on the key itself (scroll
  // on the arrows and Space, help on F1, back on Backspace); browser
  // shortcuts (Ctrl+letter, F5, F11, F12) keep working.
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

}  // namespace platform::web
