#include "media/pix_writer.h"

#include <algorithm>
#include <cstring>

#include "media/picture_readers.h"
#include "media/byte_order.h"

namespace {

constexpr size_t kMaxTokenCount = 127;
constexpr uint8_t kRunFlag = 0x80;
// Our header: magic, a free byte, the data offset, width, height, the
// "decode me" byte 9 (0) and a free byte 10.
constexpr uint8_t kHeaderSize = 11;

}  // namespace

std::vector<uint8_t> EncodePixRle(const uint8_t* pixels, size_t count) {
  std::vector<uint8_t> out;
  if (!pixels || count == 0) return out;
  out.reserve(count + count / kMaxTokenCount + 1);
  size_t literalStart = 0;
  auto flushLiteral = [&](size_t end) {
    while (literalStart < end) {
      const size_t n = std::min(kMaxTokenCount, end - literalStart);
      out.push_back(static_cast<uint8_t>(n));
      out.insert(out.end(), pixels + literalStart, pixels + literalStart + n);
      literalStart += n;
    }
  };
  size_t i = 0;
  while (i < count) {
    size_t run = 1;
    while (i + run < count && run < kMaxTokenCount && pixels[i + run] == pixels[i]) ++run;
    // Three equal bytes always pay as a run; two pay when no literal is
    // open (they cost two bytes either way, and the run ends nothing).
    if (run >= 3 || (run == 2 && i == literalStart)) {
      flushLiteral(i);
      out.push_back(static_cast<uint8_t>(kRunFlag + run));
      out.push_back(pixels[i]);
      i += run;
      literalStart = i;
    } else {
      i += run;
    }
  }
  flushLiteral(count);
  return out;
}

std::vector<uint8_t> EncodePixFile(int width, int height, const uint8_t* pixels, const uint8_t palette[768]) {
  std::vector<uint8_t> file;
  if (!pixels || width <= 0 || height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide) return file;
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  std::vector<uint8_t> packed = EncodePixRle(pixels, count);
  // Data of exactly width x height bytes is read raw, so packed data must
  // be shorter to be read as packed.
  const bool raw = packed.size() >= count;
  const size_t length = raw ? count : packed.size();
  // The game reads a 2-byte length for a picture of exactly 320 x 200.
  const size_t lengthBytes = (width == 320 && height == 200) ? 2 : 4;

  file.assign(kHeaderSize + lengthBytes, 0);
  std::memcpy(file.data(), "PIX", 3);
  file[4] = kHeaderSize;
  WriteLe16(file.data() + 5, static_cast<uint16_t>(width));
  WriteLe16(file.data() + 7, static_cast<uint16_t>(height));
  if (lengthBytes == 2) {
    WriteLe16(file.data() + kHeaderSize, static_cast<uint16_t>(length));
  } else {
    WriteLe32(file.data() + kHeaderSize, static_cast<uint32_t>(length));
  }
  if (raw) {
    file.insert(file.end(), pixels, pixels + count);
  } else {
    file.insert(file.end(), packed.begin(), packed.end());
  }
  if (palette) {
    file.insert(file.end(), palette, palette + 768);
  } else {
    file.resize(file.size() + 768, 0);
  }
  return file;
}
