// The game's own picture format and the raw screen dump.
#include <cstring>

#include "media/byte_order.h"
#include "media/picture_readers.h"

namespace {

constexpr size_t kPixHeaderSize = 11;
constexpr size_t kPaletteSize = 768;
// Two packed bytes make at most 127 pixels: a bound that lets a file that
// claims more pixels than its data can make be refused before any buffer is
// sized by the claim.
constexpr uint64_t kMaxPixelsPerPackedByte = 64;

// Expands exactly `count` pixels from `packed` into the picture.
bool ExpandInto(Picture& picture, const uint8_t* packed, size_t length, size_t count) {
  if (count > length * kMaxPixelsPerPackedByte) return false;
  picture.pixels.assign(count, 0);
  return DecodePixRle(packed, length, picture.pixels.data(), count) == static_cast<ptrdiff_t>(count);
}

bool TakePalette(PictureBytes file, size_t at, Picture& picture) {
  if (at > file.size() || file.size() - at < kPaletteSize) return false;
  std::memcpy(picture.palette, file.data() + at, kPaletteSize);
  return true;
}

bool ReadPixWithHeader(PictureBytes file, Picture& picture) {
  if (file.size() < kPixHeaderSize) return false;
  const uint8_t* header = file.data();
  const int32_t width = static_cast<int16_t>(ReadLe16(header + 5));
  const int32_t height = static_cast<int16_t>(ReadLe16(header + 7));
  // Byte 9 must be 0 for the pixels to be decoded; what else it could mean
  // is not known, so such a file is not read.
  if (!IsPictureSide(width) || !IsPictureSide(height) || header[9] != 0) return false;
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  // The pixel data starts at the offset of byte 4, after its packed length:
  // 2 bytes for a picture of exactly 320 x 200, 4 for every other size.
  size_t at = header[4];
  const size_t lengthBytes = (width == 320 && height == 200) ? 2 : 4;
  if (at > file.size() || file.size() - at < lengthBytes) return false;
  const size_t length = lengthBytes == 2 ? ReadLe16(file.data() + at) : ReadLe32(file.data() + at);
  at += lengthBytes;
  if (length > count || length > file.size() - at) return false;
  if (length == count) {
    picture.pixels.assign(file.data() + at, file.data() + at + count);
  } else if (!ExpandInto(picture, file.data() + at, length, count)) {
    return false;
  }
  picture.width = width;
  picture.height = height;
  return TakePalette(file, at + length, picture);
}

// A PIX file without the header is a packed full-screen picture from its
// first byte: 2-byte length, packed data, palette.
bool ReadHeaderlessPix(PictureBytes file, const ScreenSize& screen, Picture& picture) {
  if (!IsPictureSide(screen.width) || !IsPictureSide(screen.height) || file.size() < 2) return false;
  const size_t length = ReadLe16(file.data());
  if (length > file.size() - 2) return false;
  const size_t count = static_cast<size_t>(screen.width) * static_cast<size_t>(screen.height);
  if (!ExpandInto(picture, file.data() + 2, length, count)) return false;
  picture.width = screen.width;
  picture.height = screen.height;
  return TakePalette(file, 2 + length, picture);
}

}  // namespace

ptrdiff_t DecodePixRle(const uint8_t* packed, size_t packedLength, uint8_t* dest, size_t destSize) {
  size_t in = 0, out = 0;
  while (in < packedLength) {
    const uint8_t control = packed[in++];
    if (control >= 0x80) {
      const size_t count = control - 0x80u;
      if (in >= packedLength || count > destSize - out) return -1;
      const uint8_t value = packed[in++];
      if (count > 0) std::memset(dest + out, value, count);
      out += count;
    } else {
      const size_t count = control;
      if (count > packedLength - in || count > destSize - out) return -1;
      if (count > 0) std::memcpy(dest + out, packed + in, count);
      in += count;
      out += count;
    }
  }
  return static_cast<ptrdiff_t>(out);
}

bool ReadPixPicture(PictureBytes file, const ScreenSize& screen, Picture& picture) {
  if (file.size() >= 3 && std::memcmp(file.data(), "PIX", 3) == 0) return ReadPixWithHeader(file, picture);
  return ReadHeaderlessPix(file, screen, picture);
}

bool ReadPicPicture(PictureBytes file, const ScreenSize& screen, Picture& picture) {
  if (!IsPictureSide(screen.width) || !IsPictureSide(screen.height)) return false;
  const size_t count = static_cast<size_t>(screen.width) * static_cast<size_t>(screen.height);
  if (file.size() < count + kPaletteSize) return false;
  picture.pixels.assign(file.data(), file.data() + count);
  picture.width = screen.width;
  picture.height = screen.height;
  return TakePalette(file, count, picture);
}
