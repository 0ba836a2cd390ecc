// Uncompressed 8-bit BMP pictures.
#include <algorithm>

#include "media/byte_order.h"
#include "media/picture_readers.h"

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;  // the smallest header with 32-bit sizes
constexpr size_t kColourEntries = 256;

}  // namespace

bool ReadBmpPicture(PictureBytes file, const ScreenSize& screen, Picture& picture) {
  if (file.size() < kFileHeaderSize + kInfoHeaderSize || screen.width <= 0 || screen.height <= 0) return false;
  const uint8_t* info = file.data() + kFileHeaderSize;
  const uint64_t pixelOffset = ReadLe32(file.data() + 10);
  const uint32_t infoSize = ReadLe32(info);
  const int32_t width = static_cast<int32_t>(ReadLe32(info + 4));
  const int32_t height = static_cast<int32_t>(ReadLe32(info + 8));
  const uint16_t bitCount = ReadLe16(info + 14);
  const uint32_t compression = ReadLe32(info + 16);
  // Another depth or packed rows would read as noise: not a picture for us.
  // A negative height (rows stored from the top) is refused with the other
  // sizes the game cannot show.
  if (infoSize < kInfoHeaderSize || bitCount != 8 || compression != 0) return false;
  if (!IsPictureSide(width) || !IsPictureSide(height)) return false;

  // Rows are stored from the bottom, each padded to a multiple of 4 bytes.
  // Only as many rows as the screen is high are read, into rows
  // min(height, screen height) - 1 up to 0, and of each only what fits the
  // screen's width; the rest of the picture stays 0.
  const int32_t rowsRead = std::min(height, screen.height);
  const size_t bytesRead = static_cast<size_t>(std::min(width, screen.width));
  const uint64_t stride = (static_cast<uint64_t>(width) + 3) & ~uint64_t{3};
  if (pixelOffset + (static_cast<uint64_t>(rowsRead) - 1) * stride + bytesRead > file.size()) return false;

  // The colour table follows the information header, whatever its size;
  // entries past the end of the file are black.
  const uint64_t table = kFileHeaderSize + uint64_t{infoSize};
  for (size_t i = 0; i < kColourEntries; ++i) {
    const uint64_t at = table + 4 * i;
    const bool present = at + 3 <= file.size();
    picture.palette[i * 3] = present ? file[at + 2] >> 2 : 0;
    picture.palette[i * 3 + 1] = present ? file[at + 1] >> 2 : 0;
    picture.palette[i * 3 + 2] = present ? file[at] >> 2 : 0;
  }

  picture.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
  for (int32_t stored = 0; stored < rowsRead; ++stored) {
    const uint8_t* from = file.data() + pixelOffset + static_cast<uint64_t>(stored) * stride;
    const int32_t row = rowsRead - 1 - stored;
    std::copy(from, from + bytesRead, picture.pixels.begin() + static_cast<ptrdiff_t>(row) * width);
  }
  picture.width = width;
  picture.height = height;
  return true;
}
