#include "platform/stored_png.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace platform {
namespace {

constexpr int kMaxSide = 16384;
constexpr size_t kMaxStoredBlock = 65535;  // a stored block's length field is 16 bits

const std::array<uint32_t, 256>& CrcTable() {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  return table;
}

uint32_t Crc32(const uint8_t* data, size_t size) {
  uint32_t c = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) c = CrcTable()[(c ^ data[i]) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

uint32_t Adler32(const std::vector<uint8_t>& data) {
  uint32_t a = 1, b = 0;
  for (uint8_t byte : data) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

void PutBe32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& body) {
  PutBe32(out, static_cast<uint32_t>(body.size()));
  const size_t crcFrom = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), body.begin(), body.end());
  PutBe32(out, Crc32(out.data() + crcFrom, out.size() - crcFrom));
}

// A zlib stream of stored blocks: no compression, only framing.
std::vector<uint8_t> StoredZlib(const std::vector<uint8_t>& raw) {
  std::vector<uint8_t> out{0x78, 0x01};
  size_t at = 0;
  do {
    const size_t length = std::min(kMaxStoredBlock, raw.size() - at);
    const bool last = at + length == raw.size();
    out.push_back(last ? 1 : 0);
    out.push_back(static_cast<uint8_t>(length));
    out.push_back(static_cast<uint8_t>(length >> 8));
    out.push_back(static_cast<uint8_t>(~length));
    out.push_back(static_cast<uint8_t>(~length >> 8));
    out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(at), raw.begin() + static_cast<std::ptrdiff_t>(at + length));
    at += length;
  } while (at < raw.size());
  PutBe32(out, Adler32(raw));
  return out;
}

}  // namespace

std::vector<uint8_t> EncodeStoredPng(int width, int height, PngColour colour, const uint8_t* rows, int rowBytes,
                                     const std::vector<uint8_t>& palette) {
  const int bytesPerPixel = colour == PngColour::Rgb ? 3 : 1;
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || !rows) return {};
  if (rowBytes < width * bytesPerPixel) return {};
  if (colour == PngColour::Palette &&
      (palette.empty() || palette.size() % 3 != 0 || palette.size() > 3 * 256)) {
    return {};
  }

  // Each row with filter type 0 (none) in front.
  const size_t lineBytes = static_cast<size_t>(width) * bytesPerPixel;
  std::vector<uint8_t> raw;
  raw.reserve((lineBytes + 1) * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = rows + static_cast<std::ptrdiff_t>(y) * rowBytes;
    raw.push_back(0);
    raw.insert(raw.end(), row, row + lineBytes);
  }

  std::vector<uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  PutBe32(header, static_cast<uint32_t>(width));
  PutBe32(header, static_cast<uint32_t>(height));
  header.insert(header.end(), {8, static_cast<uint8_t>(colour), 0, 0, 0});  // depth, colour, deflate, filters, no interlace
  PutChunk(png, "IHDR", header);
  if (colour == PngColour::Palette) PutChunk(png, "PLTE", palette);
  PutChunk(png, "IDAT", StoredZlib(raw));
  PutChunk(png, "IEND", {});
  return png;
}

}  // namespace platform
