// Uncompressed 24-bit TGA pictures. The palette is built from the colours
// as they are met, reduced to 6 bits a component.
#include <cstring>
#include <memory>

#include "media/byte_order.h"
#include "media/picture_readers.h"

namespace {

constexpr size_t kTgaHeaderSize = 18;
constexpr uint8_t kTrueColourType = 2;
constexpr uint8_t kBitsPerPixel = 24;
constexpr int kColourSlots = 64 * 64 * 64;  // every 6-bit colour

}  // namespace

bool ReadTgaPicture(PictureBytes file, const ScreenSize& screen, Picture& picture) {
  if (file.size() < kTgaHeaderSize) return false;
  const uint8_t* header = file.data();
  // Other TGA variants (colour-mapped, run-length packed, other depths) would
  // read as noise, so they are not pictures for us.
  if (header[2] != kTrueColourType || header[16] != kBitsPerPixel) return false;
  const int32_t width = ReadLe16(header + 12), height = ReadLe16(header + 14);
  if (!IsPictureSide(width) || !IsPictureSide(height) || !FitsScreenBuffer(width, height, screen)) return false;
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  // The pixels follow the header at once; id and colour map are not looked at.
  if ((file.size() - kTgaHeaderSize) / 3 < count) return false;

  // Entry 0 stays black, new colours take entries 1 to 255 in the order they
  // are met, and a colour met when all are taken is drawn with entry 0. The
  // entries never hold a colour twice, so a table by colour finds the first
  // equal entry at once; 0 there means "not given an entry of its own".
  std::memset(picture.palette, 0, sizeof picture.palette);
  std::unique_ptr<uint8_t[]> entryOf(new uint8_t[kColourSlots]());
  int nextEntry = 1;
  picture.pixels.resize(count);
  const uint8_t* bgr = file.data() + kTgaHeaderSize;
  for (size_t i = 0; i < count; ++i, bgr += 3) {
    const uint8_t red = bgr[2] >> 2, green = bgr[1] >> 2, blue = bgr[0] >> 2;
    const int colour = (red << 12) | (green << 6) | blue;
    uint8_t entry = entryOf[colour];
    if (entry == 0 && colour != 0 && nextEntry < 256) {
      entry = static_cast<uint8_t>(nextEntry++);
      entryOf[colour] = entry;
      picture.palette[entry * 3] = red;
      picture.palette[entry * 3 + 1] = green;
      picture.palette[entry * 3 + 2] = blue;
    }
    picture.pixels[i] = entry;
  }
  picture.width = width;
  picture.height = height;
  return true;
}
