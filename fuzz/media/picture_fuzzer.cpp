// One picture reader, picked by the file name, through LoadImageFile: into a
// new surface, then into a small existing one.
#include <cstring>

#include "fuzz/media/fuzz_support.h"
#include "gfx/image_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInputFile input(PICTURE_NAME, data, size);
  Surface* surface = nullptr;
  uint8_t palette[768];
  std::memset(palette, 0, sizeof palette);
  const int8_t result = LoadImageFile(PICTURE_NAME, &surface, palette);
  if ((result == 1) != (surface != nullptr)) __builtin_trap();
  ReleaseSurface(surface);

  Surface* small = CreateSurface(16, 16);
  LoadImageFile(PICTURE_NAME, &small, nullptr);
  ReleaseSurface(small);
  return 0;
}
