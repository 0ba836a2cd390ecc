#include "media/music.h"

#include <new>

#include "media/mds.h"

Music* currentMusic = nullptr;

int StartMusic(const char* fileName, int playNow) {
  if (currentMusic) StopMusic();
  Music* music = new (std::nothrow) Music{};
  if (!music) return 0;
  if (MdsOpen(fileName, &music->handle) != kMdsDone) {
    delete music;
    return 0;
  }
  if (playNow && MdsPlay(music->handle, 1) != kMdsDone) {
    MdsClose(music->handle);
    delete music;
    return 0;
  }
  currentMusic = music;
  return 1;
}

void StopMusic() {
  if (!currentMusic) return;
  MdsStop(currentMusic->handle);  // fails harmlessly when it was loaded only
  MdsClose(currentMusic->handle);
  delete currentMusic;
  currentMusic = nullptr;
}
