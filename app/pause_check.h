// The in-game keys, checked by the game tick once per step: Escape ends the
// match, P pauses, F8 switches the music, F1 and F2 switch key layouts.
#pragma once

void PauseCheck();
