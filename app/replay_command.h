// `stakkor --replay FILE [--speed N] [--verify]`: shows a replay in the
// window (or a headless run), or checks it without a screen.
#pragma once

#include "platform/platform.h"

// Runs the command and ends the process. Exit status: 0 shown, or checked
// and it reproduces; 1 checked and it diverges; 2 the file cannot be read or
// is damaged (a message on standard error names the reason); 3 a headless
// run reached --max-ms.
[[noreturn]] void RunReplayCommand(const platform::LaunchOptions& options);
