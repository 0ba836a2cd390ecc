#include "media/wave_convert.h"

#include <new>

namespace {

float SampleAt(const uint8_t* data, uint32_t frame, int channel, int channels, int bytesPerSample) {
  const uint8_t* p = data + (static_cast<size_t>(frame) * channels + channel) * bytesPerSample;
  if (bytesPerSample == 1) return (static_cast<int>(p[0]) - 128) / 128.0f;
  return static_cast<int16_t>(static_cast<uint16_t>(p[0] | p[1] << 8)) / 32768.0f;
}

}  // namespace

bool ConvertWaveToFrames(const WaveFormat& format, const uint8_t* data, uint32_t dataSize, int rate,
                         std::vector<float>& out) {
  out.clear();
  if (format.formatTag != 1 || (format.channels != 1 && format.channels != 2)) return false;
  if (format.bitsPerSample != 8 && format.bitsPerSample != 16) return false;
  if (format.samplesPerSec == 0 || rate <= 0 || !data) return false;

  const int channels = format.channels;
  const int bytesPerSample = format.bitsPerSample / 8;
  const uint32_t sourceFrames = dataSize / static_cast<uint32_t>(channels * bytesPerSample);
  if (sourceFrames == 0) return true;  // a valid effect of no length

  // Output frames cover the source's duration at the new rate.
  const uint64_t sourceRate = format.samplesPerSec;
  const uint64_t outFrames = (static_cast<uint64_t>(sourceFrames) * rate + sourceRate - 1) / sourceRate;
  if (outFrames > static_cast<uint64_t>(kMaxEffectSeconds) * rate) return false;
  try {
    out.resize(static_cast<size_t>(outFrames) * 2);
  } catch (const std::bad_alloc&) {
    out.clear();
    return false;
  }

  for (uint64_t i = 0; i < outFrames; ++i) {
    // The source position of output frame i, as a whole frame and a fraction.
    uint64_t scaled = i * sourceRate;
    uint32_t frame = static_cast<uint32_t>(scaled / static_cast<uint64_t>(rate));
    float fraction = static_cast<float>(scaled % static_cast<uint64_t>(rate)) / static_cast<float>(rate);
    uint32_t next = frame + 1 < sourceFrames ? frame + 1 : frame;
    for (int c = 0; c < 2; ++c) {
      int channel = channels == 2 ? c : 0;
      float a = SampleAt(data, frame, channel, channels, bytesPerSample);
      float b = SampleAt(data, next, channel, channels, bytesPerSample);
      out[static_cast<size_t>(i) * 2 + c] = a + (b - a) * fraction;
    }
  }
  return true;
}
