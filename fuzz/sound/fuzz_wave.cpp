// ParseWaveImage, the format reader and the conversion on any bytes.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "media/wave_convert.h"
#include "media/wave_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Every mix of wanted outputs walks the chunks a little differently.
  const uint8_t* format = nullptr;
  const uint8_t* samples = nullptr;
  uint32_t sampleBytes = 0;
  uint32_t formatBytes = 0;
  ParseWaveImage(data, size, &format, nullptr, nullptr);
  ParseWaveImage(data, size, nullptr, nullptr, &sampleBytes);
  ParseWaveImage(data, size, nullptr, &samples, nullptr);
  if (!ParseWaveImage(data, size, &format, &samples, &sampleBytes, &formatBytes)) return 0;
  WaveFormat wave;
  if (!ReadWaveFormat(format, formatBytes, wave)) return 0;
  // A low rate keeps each run short; the conversion's bounds are the same.
  std::vector<float> frames;
  ConvertWaveToFrames(wave, samples, sampleBytes, 8000, frames);
  return 0;
}
