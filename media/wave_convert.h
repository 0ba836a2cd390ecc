// Turning a WAV effect's samples into the mixer's frames once, at load.
#pragma once

#include <cstdint>
#include <vector>

#include "media/wave_file.h"

// The longest effect the mixer holds; longer ones stay silent. The game's
// effects last a second or two.
constexpr uint32_t kMaxEffectSeconds = 60;

// Converts 8-bit (unsigned) or 16-bit (signed) PCM, mono or stereo, at any
// rate, to interleaved stereo floats at `rate` frames per second (linear
// interpolation). False for any other format, or for an effect too long to
// hold; `out` is then empty.
bool ConvertWaveToFrames(const WaveFormat& format, const uint8_t* data, uint32_t dataSize, int rate,
                         std::vector<float>& out);
