// 8-bit single-plane PCX pictures with their palette at the end of the file.
#include "media/byte_order.h"
#include "media/picture_readers.h"

namespace {

constexpr size_t kPcxHeaderSize = 128;
constexpr size_t kPaletteBlockSize = 769;  // the marker 0x0C and 256 colours
constexpr uint8_t kPaletteMarker = 0x0C;

}  // namespace

bool ReadPcxPicture(PictureBytes file, const ScreenSize& screen, Picture& picture) {
  if (file.size() < kPcxHeaderSize) return false;
  const uint8_t* header = file.data();
  const int32_t width = int32_t{ReadLe16(header + 8)} - ReadLe16(header + 4) + 1;
  const int32_t height = int32_t{ReadLe16(header + 10)} - ReadLe16(header + 6) + 1;
  const int32_t lineBytes = ReadLe16(header + 66);
  // A line holds at least the picture's width; its bytes beyond the width
  // (a line is padded to an even length) are dropped.
  if (!IsPictureSide(width) || !IsPictureSide(height) || !FitsScreenBuffer(width, height, screen) || lineBytes < width) {
    return false;
  }
  picture.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);

  // Runs may cross from one line to the next; the last run is taken whole,
  // its bytes beyond the picture are dropped.
  const uint64_t total = static_cast<uint64_t>(lineBytes) * static_cast<uint64_t>(height);
  uint64_t written = 0;
  int32_t column = 0;
  size_t row = 0;
  size_t at = kPcxHeaderSize;
  while (written < total) {
    if (at >= file.size()) return false;
    uint8_t value = file[at++];
    int count = 1;
    if (value >= 0xC0) {
      if (at >= file.size()) return false;
      count = value & 0x3F;
      value = file[at++];
    }
    for (; count > 0 && written < total; --count, ++written) {
      if (column < width) picture.pixels[row * static_cast<size_t>(width) + static_cast<size_t>(column)] = value;
      if (++column == lineBytes) {
        column = 0;
        ++row;
      }
    }
  }

  // Without the marker the palette stays as it was.
  if (file.size() >= kPaletteBlockSize) {
    const uint8_t* block = file.data() + file.size() - kPaletteBlockSize;
    if (block[0] == kPaletteMarker) {
      for (size_t i = 0; i < 768; ++i) picture.palette[i] = block[1 + i] >> 2;
    }
  }
  picture.width = width;
  picture.height = height;
  return true;
}
