#include "tools/assets/wave_writer.h"

#include <algorithm>
#include <cmath>

namespace assets {
namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
void PutTag(std::vector<uint8_t>& out, const char* tag) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

}  // namespace

std::vector<uint8_t> EncodeWave16(const std::vector<float>& samples, int rate) {
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  std::vector<uint8_t> out;
  out.reserve(44 + dataBytes + 1);
  PutTag(out, "RIFF");
  Put32(out, 4 + (8 + 16) + (8 + dataBytes + (dataBytes & 1)));
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  Put32(out, 16);
  Put16(out, 1);                                 // PCM
  Put16(out, 1);                                 // mono
  Put32(out, static_cast<uint32_t>(rate));       // samples per second
  Put32(out, static_cast<uint32_t>(rate) * 2);   // bytes per second
  Put16(out, 2);                                 // bytes per sample frame
  Put16(out, 16);                                // bits per sample
  PutTag(out, "data");
  Put32(out, dataBytes);
  for (float s : samples) {
    long v = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
    Put16(out, static_cast<uint32_t>(static_cast<int16_t>(v)) & 0xFFFF);
  }
  return out;
}

}  // namespace assets
