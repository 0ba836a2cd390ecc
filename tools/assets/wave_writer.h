// WAV files: mono 16-bit PCM in a RIFF "WAVE" with a "fmt " and a "data" chunk.
#pragma once

#include <cstdint>
#include <vector>

namespace assets {

// Samples -1..1 (clamped) as a WAV file of `rate` samples per second.
std::vector<uint8_t> EncodeWave16(const std::vector<float>& samples, int rate);

}  // namespace assets
