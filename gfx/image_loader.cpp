#include "gfx/image_loader.h"

#include <algorithm>
#include <cstring>

#include "gfx/display.h"
#include "media/picture_file.h"

static_assert(kMaxPictureSide == kMaxSurfaceSide, "every picture the readers accept fits a surface");

namespace {

// Row by row into the surface's top left; a surface smaller than the picture
// takes what fits. A lost surface cannot be written and keeps what it held.
void CopyIntoSurface(const Picture& picture, Surface& surface) {
  if (surface.IsLost()) return;
  const int width = std::min(picture.width, surface.Width());
  const int height = std::min(picture.height, surface.Height());
  for (int y = 0; y < height; ++y) {
    std::memcpy(surface.Row(y), picture.pixels.data() + static_cast<size_t>(y) * picture.width,
                static_cast<size_t>(width));
  }
}

}  // namespace

int8_t LoadImageFile(const char* fileName, Surface** slot, uint8_t* palette) {
  if (!fileName || !slot) return 0;
  // Readers that leave palette entries alone leave the caller's as they were.
  Picture picture;
  if (palette) std::memcpy(picture.palette, palette, sizeof picture.palette);
  if (!ReadPictureFile(fileName, ScreenSize{screenWidth, screenHeight}, picture)) return 0;

  if (!*slot) {
    *slot = CreateSurface(picture.width, picture.height);
    if (!*slot) return -2;
  }
  if (palette) std::memcpy(palette, picture.palette, sizeof picture.palette);
  CopyIntoSurface(picture, **slot);
  return 1;
}
