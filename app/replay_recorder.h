// Records the match that runs, step by step, for its replay: how it
// started, each step's input frame, a checkpoint every few steps and how it
// ended. Recording a step costs well under a microsecond and allocates
// nothing in all but the longest matches.
#pragma once

#include "game/replay_format.h"

// Right after the match started, before its first step: its seed, kind,
// layouts, latches and music. Steps are recorded from then on.
void BeginRecording();

// The game got the focus back: the next step's frame says so.
void NoteFocusBack();

// After the last step: the final state. `quit` when the program was to end
// before the match was over. Null when the match ran longer than a replay
// can hold.
const Replay* FinishRecording(bool quit);
