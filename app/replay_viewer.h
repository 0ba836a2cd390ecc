// Shows a replay on the play screen with the match's own sounds and music,
// at its pace or faster or slower, with a legend of the viewer's keys: P
// pauses, RIGHT plays faster, LEFT slower, ESC stops. Where the player
// paused, "PAUSED" shows for a moment. A replay that no longer plays as it
// was recorded stops where it diverges and says so, on the screen and on
// standard error.
#pragma once

#include "game/replay_format.h"

// The speed in quarters of the match's pace: 4 is as fast as it was played.
constexpr int kNormalSpeed = 4;
constexpr int kSlowestSpeed = 1;
constexpr int kFastestSpeed = 64;

enum class ViewerEnd { Finished, Stopped, Diverged, Quit };

// Plays the replay from its start until it ends (its last picture shows
// for 3 seconds or until Escape, Return or Space), is stopped, diverges, or
// the program is to end. Everything the replayed match changes (records,
// options, music) is put back afterwards; on return no viewer key is held.
ViewerEnd WatchReplay(const Replay& replay, int speedQuarters);
