// Reading a picture data file by name: the file is found through
// OpenDataFile and decoded by the reader its name calls for.
#pragma once

#include "media/picture_readers.h"

// Reads `fileName` into `picture`. The caller's palette in `picture` stays
// where a reader leaves entries alone. False when the file is missing, too
// large, or not a picture the game reads.
bool ReadPictureFile(const char* fileName, const ScreenSize& screen, Picture& picture);
