// The program's outermost flow: start-up, the title, menu and matches until
// the player quits, the closing logo and shutdown.
#pragma once

#include "game/replay_format.h"

// Runs the whole game; returns the exit code (0, or 1 when the game's data
// cannot be found).
int WinMain();

// The program with one replay instead of the title, menu and matches:
// start-up, the replay, shutdown. Returns the exit code as WinMain does.
int WatchReplayMain(const Replay& replay, int speedQuarters);

// Tells the player that the music cannot be played. OK goes on without
// music; Cancel also ends the run. Either way the music is off for this run.
void ReportMusicFailure();
