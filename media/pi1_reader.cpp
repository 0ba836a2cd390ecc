// Low-resolution PI1 pictures: 320 x 200 pixels in 16 colours stored as four
// bit planes, with a palette of 3 bits a component.
#include "media/byte_order.h"
#include "media/picture_readers.h"

namespace {

constexpr size_t kPi1HeaderSize = 34;  // resolution word (not used) and 16 colours
constexpr size_t kPi1DataSize = 32000;
constexpr int32_t kPi1Width = 320;
constexpr int32_t kPi1Height = 200;

uint8_t ScaleComponent(int component) { return static_cast<uint8_t>(component * 63 / 7); }

}  // namespace

bool ReadPi1Picture(PictureBytes file, const ScreenSize& screen, Picture& picture) {
  if (file.size() < kPi1HeaderSize + kPi1DataSize || !FitsScreenBuffer(kPi1Width, kPi1Height, screen)) return false;
  // Entries 16 to 255 stay as they were.
  for (size_t k = 0; k < 16; ++k) {
    const uint16_t word = ReadBe16(file.data() + 2 + 2 * k);
    picture.palette[k * 3] = ScaleComponent((word >> 8) & 7);
    picture.palette[k * 3 + 1] = ScaleComponent((word >> 4) & 7);
    picture.palette[k * 3 + 2] = ScaleComponent(word & 7);
  }
  // Groups of four plane words make 16 pixels, the leftmost from bit 15.
  picture.pixels.resize(static_cast<size_t>(kPi1Width) * kPi1Height);
  const uint8_t* group = file.data() + kPi1HeaderSize;
  uint8_t* out = picture.pixels.data();
  for (size_t g = 0; g < kPi1DataSize / 8; ++g, group += 8) {
    const uint16_t p0 = ReadBe16(group), p1 = ReadBe16(group + 2), p2 = ReadBe16(group + 4), p3 = ReadBe16(group + 6);
    for (int bit = 15; bit >= 0; --bit) {
      *out++ = static_cast<uint8_t>(((p0 >> bit) & 1) | (((p1 >> bit) & 1) << 1) | (((p2 >> bit) & 1) << 2) |
                                    (((p3 >> bit) & 1) << 3));
    }
  }
  picture.width = kPi1Width;
  picture.height = kPi1Height;
  return true;
}
