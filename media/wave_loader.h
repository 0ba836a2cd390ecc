// Reading a WAV effect file by name into memory and finding its format and
// samples.
#pragma once

#include <cstdint>
#include <vector>

#include "media/wave_file.h"

// The largest WAV file read as an effect.
constexpr uint32_t kMaxWaveFileBytes = 32u << 20;

// Reads a data file and parses it. A file that can't be found shows "Error
// reading file" with its name. False when there is no valid WAV image; on
// success `info` points into `image`.
bool LoadWaveFile(const char* fileName, std::vector<uint8_t>& image, WaveInfo& info);
