// WAV images: finding the format and the samples inside a RIFF "WAVE" file
// read into memory, and reading the format record.
#pragma once

#include <cstddef>
#include <cstdint>

// What ParseWaveImage found. Format and data point into the image, which
// owns the bytes.
struct WaveInfo {
  uint32_t dataSize = 0;            // byte length of the "data" chunk
  const uint8_t* format = nullptr;  // body of the "fmt " chunk
  const uint8_t* data = nullptr;    // first sample byte
  uint32_t formatSize = 0;          // byte length of the "fmt " body
};

// Walks the chunks of a WAV image of `imageSize` bytes and fills the outputs
// that are not null: the "fmt " body (and its length in `formatSize`), the
// first sample byte and the sample bytes' count. Returns 1 as soon as every
// wanted output is filled, 0 when the walk ends first or the image is not a
// WAV file. A RIFF size beyond the image, or a chunk running past its end,
// makes the image invalid; a "fmt " body shorter than 14 bytes too.
int ParseWaveImage(const uint8_t* image, size_t imageSize, const uint8_t** format, const uint8_t** data,
                   uint32_t* size, uint32_t* formatSize = nullptr);

// The fields of a "fmt " body (a WAVEFORMATEX as far as it is present).
struct WaveFormat {
  uint16_t formatTag = 0;  // 1 = PCM
  uint16_t channels = 0;
  uint32_t samplesPerSec = 0;
  uint32_t avgBytesPerSec = 0;
  uint16_t blockAlign = 0;
  uint16_t bitsPerSample = 0;  // from the block size when the body has no such field
};

// Reads a "fmt " body of `size` bytes. False when it is shorter than 14.
bool ReadWaveFormat(const uint8_t* body, uint32_t size, WaveFormat& out);
