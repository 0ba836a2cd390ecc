// The screen after a two-player match: each player's wins over the run.
#pragma once

void ShowMatchResult();
