// Gamepads in the browser: the pads the Gamepad API lists with its standard
// mapping, sampled about once per display frame, kept in the platform's pad
// slots as SDL's are (a pad takes the lowest free slot and keeps it until
// it goes). Pads without the standard mapping are left out: their buttons
// could be anything.
#pragma once

#include "platform/pads.h"

namespace platform::web {

// The standard mapping's buttons used here (the A button is 0, Start 9, the
// D-pad 12 to 15), and its left stick (axes 0 and 1, -1 to 1, down positive).
constexpr int kStandardButtonCount = 16;

// One pad in one sample of the Gamepad API.
struct BrowserPadSample {
  long index = -1;        // the browser's number of the pad
  bool standard = false;  // mapping "standard"
  bool pressed[kStandardButtonCount] = {};
  double leftX = 0, leftY = 0;
};

class BrowserPads {
 public:
  // Takes a sample of every pad the browser lists now; a pad missing from it
  // has gone. True when anything the game can see changed.
  bool Update(const BrowserPadSample* samples, int count);
  // The platform let go of every pad input (the page lost the focus): what
  // is held is taken in again from the next sample.
  void Forget();
  bool AnyConnected() const;

 private:
  struct Slot {
    long index = -1;  // -1: free
    bool buttons[kPadButtonCount] = {};
    int axes[kPadAxisCount] = {};
  };
  Slot slots_[kMaxPads];
};

}  // namespace platform::web
