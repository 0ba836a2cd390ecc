// The options screen, reached from the menu: keys of every layout ("press
// the new key"), the pad's buttons, scaling, fullscreen, the two volumes
// and the SoundFont. Works with the keyboard or a pad alone; what it
// changes takes effect at once and is kept in stakkor.conf.
#pragma once

// Runs the screen until the player leaves it (Escape, a pad's B, or the
// BACK row) or quitRequested is set. Leaves the back buffer and the palette
// to the caller to redraw.
void RunOptionsScreen();
