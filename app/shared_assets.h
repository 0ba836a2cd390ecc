// The pictures and fonts that several screens share, loaded once at
// start-up with the options and released at shutdown.
#pragma once

#include "app/options.h"

// Options, sound effects, fonts, the background and the tiles cut from the
// block sheet. Missing files leave empty pictures behind; always true.
bool LoadOptionsAndAssets();
// Writes the options and releases everything, the display last. Safe to
// reach twice: each resource is released at most once.
void SaveOptionsAndRelease();
