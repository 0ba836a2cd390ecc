// Checks that a replay still plays as it was recorded: its steps run back
// to back with no screen, sound or waiting, every checkpoint and the end
// compared with the recording.
#pragma once

#include <cstdint>
#include <string>

#include "game/replay_format.h"

struct ReplayCheck {
  bool reproduces = false;
  uint32_t stepsRun = 0;
  // The first step known to differ, and the last one known to agree; both 0
  // when the replay reproduces.
  uint32_t divergedAt = 0;
  uint32_t lastAgreed = 0;
  // One line: the match it reproduced, or where and how it diverged.
  std::string report;
};

// Runs the whole replay and puts back everything it changed.
ReplayCheck CheckReplay(const Replay& replay);
