// The game's background music: one MDS file played in a loop.
//
// StartMusic reports failure by its result only, apart from the "Error
// loading file" box for a file that can't be read; telling the player that
// the music can't be played ("Unable to play music!") is the caller's job.
#pragma once

struct MdsHandle;

// The one music object of the game.
struct Music {
  MdsHandle* handle = nullptr;
};

// Null while no music is loaded.
extern Music* currentMusic;

// Loads the file (stopping any music first) and, when `playNow` is nonzero,
// plays it in a loop. 1 when loaded (and playing), 0 on any failure; no
// music is loaded then.
int StartMusic(const char* fileName, int playNow);
// Stops and frees the current music; does nothing when there is none.
void StopMusic();
