// The menu before every match: "NORMAL", "BLOB", one or two players, quit.
#pragma once

#include <cstdint>

// The milliseconds of the passes that drew the highlight since the program
// started (one a pass when passes come every millisecond); it pulses with them.
extern int32_t menuPulse;

// Returns with blobStyle set for the next match, or with quitRequested set.
void RunMenu();

// The width of the highlighted strip for a pulse count: 260 to 419 pixels
// and back over 720 passes.
int32_t HighlightWidth(int32_t pulse);
