#include "media/wave_file.h"

#include <cstring>

#include "media/byte_order.h"

namespace {

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
  uint64_t riffEnd = 8ull + ReadLe32(image + 4);
  if (riffEnd > imageSize) return 0;

  bool formatFound = false, dataFound = false, sizeFound = false;
  uint64_t pos = 12;
  while (pos < riffEnd) {
    if (pos + 8 > imageSize) return 0;
    const uint8_t* chunk = image + pos;
    uint32_t length = ReadLe32(chunk + 4);
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
  out.formatTag = ReadLe16(body);
  out.channels = ReadLe16(body + 2);
  out.samplesPerSec = ReadLe32(body + 4);
  out.avgBytesPerSec = ReadLe32(body + 8);
  out.blockAlign = ReadLe16(body + 12);
  if (size >= 16) {
    out.bitsPerSample = ReadLe16(body + 14);
  } else if (out.channels != 0) {
    // The old 14-byte record has no sample size; a PCM block holds one
    // sample per channel.
    out.bitsPerSample = static_cast<uint16_t>(out.blockAlign / out.channels * 8);
  }
  return true;
}
