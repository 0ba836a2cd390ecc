// Loading pictures into surfaces: the game's own PIX format, PIC screen
// dumps, and TGA, PI1, BMP and PCX files.
#pragma once

#include <cstdint>

#include "gfx/surface.h"

// Reads the picture `fileName` (found through OpenDataFile). When `*slot` is
// null a new surface of the picture's size is made and stored there;
// otherwise the picture is written into `*slot` at its top left. `palette`
// (768 bytes, or null) receives the picture's palette.
// Returns 1 when loaded, 0 when the file is missing or not a picture the
// game reads, -2 when no surface could be made.
int8_t LoadImageFile(const char* fileName, Surface** slot, uint8_t* palette);
