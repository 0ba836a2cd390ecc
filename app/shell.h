// The process-wide flags of the shell and the pump step that every screen
// loop of the game is made of.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "platform/platform.h"

extern uint8_t quitRequested;  // the program is to end
extern uint8_t closing;        // shutdown has begun
extern int32_t appActive;      // nonzero while the game has the focus
extern uint8_t wasDeactivated;
extern Message shellMessage;

void MainWindowProc(const Message& message);

// Takes one waiting message and dispatches it (the quit message sets
// quitRequested). False when no message waits.
bool HandleWaitingMessage();

// One pass of a screen loop: a waiting message is taken and dispatched, or
// else the loop's own work is done while the game is active, or else the
// pass blocks until a message arrives. Every pass ends in the wait primitive.
template <typename Work>
void PumpStep(Work work) {
  if (!HandleWaitingMessage()) {
    if (appActive) {
      work();
    } else {
      platform::WaitMessage();
    }
  }
  platform::Wait();
}

// Waits, polling, until none of the keys is held.
void WaitKeysUp(std::initializer_list<int> keys);
