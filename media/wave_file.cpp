#include "media/wave_file.h"

#include <cstring>

namespace {

uint32_t ReadU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

uint16_t ReadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

bool IsTag(const uint8_t* p, const char* tag) { return std::memcmp(p, tag, 4) == 0; }

}  // namespace

int ParseWaveImage(const uint8_t* image, size_t imageSize, const uint8_t** format, const uint8_t** data,
                   uint32_t* size, uint32_t* formatSize) {
  if (format) *format = nullptr;
  if (formatSize) *formatSize = 0;
  if (data) *data = nullptr;
  if (size) *size = 0;
  if (!image || imageSize < 12 || !IsTag(image, "RIFF") || !IsTag(image + 8, "WAVE")) return 0;

  // The RIFF size must fit in what was read; the walk then stays inside it.
  uint64_t riffEnd = 8ull + ReadU32(image + 4);
  if (riffEnd > imageSize) return 0;

  bool formatFound = false, dataFound = false, sizeFound = false;
  uint64_t pos = 12;
  while (pos < riffEnd) {
    if (pos + 8 > imageSize) return 0;
    const uint8_t* chunk = image + pos;
    uint32_t length = ReadU32(chunk + 4);
    uint64_t body = pos + 8;
    if (body + length > imageSize) return 0;

    if (IsTag(chunk, "fmt ")) {
      if (format && !formatFound) {
        if (length < 14) return 0;
        *format = image + body;
        if (formatSize) *formatSize = length;
        formatFound = true;
      }
      if ((!data || dataFound) && (!size || sizeFound)) return 1;
    } else if (IsTag(chunk, "data")) {
      if ((data && !dataFound) || (size && !sizeFound)) {
        if (data) {
          *data = image + body;
          dataFound = true;
        }
        if (size) {
          *size = length;
          sizeFound = true;
        }
      }
      if (!format || formatFound) return 1;
    }
    // Chunks of odd length are followed by one pad byte.
    pos = (body + length + 1) & ~uint64_t{1};
  }
  return 0;
}

bool ReadWaveFormat(const uint8_t* body, uint32_t size, WaveFormat& out) {
  out = WaveFormat{};
  if (!body || size < 14) return false;
  out.formatTag = ReadU16(body);
  out.channels = ReadU16(body + 2);
  out.samplesPerSec = ReadU32(body + 4);
  out.avgBytesPerSec = ReadU32(body + 8);
  out.blockAlign = ReadU16(body + 12);
  if (size >= 16) {
    out.bitsPerSample = ReadU16(body + 14);
  } else if (out.channels != 0) {
    // The old 14-byte record has no sample size; a PCM block holds one
    // sample per channel.
    out.bitsPerSample = static_cast<uint16_t>(out.blockAlign / out.channels * 8);
  }
  return true;
}
