// The in-game keys, checked by the game tick once per step: Escape ends the
// match, P pauses, F8 switches the music, F1 and F2 switch key layouts.
// Each key that acts notes its event for the step's input frame.
#pragma once

#include <cstdint>

void PauseCheck();

// The parts of those keys that a replayed step shows again, without
// waiting for any key.
// "PAUSED" over the play screen, shown; and the play screen shown again.
void ShowPausedText();
void RedrawAfterPause();
// F8's switch: the music on when it is off (a failure is reported), else off.
void SwitchMusicNow();
// A switched layout of players[player] kept in its option (0 for layout 0;
// 1, or 2 in a two-player match, for layout 1), and the play screen redrawn
// without showing it.
void StoreLayoutChoice(int32_t player);
