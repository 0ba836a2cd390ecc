// Setting up the sound effects from WAV files, step by step (for the game,
// its tests and tools).
#pragma once

#include <cstdint>
#include <vector>

#include "media/mixer.h"
#include "media/wave_file.h"

// The effects in their fixed order (WURF, REIHEN, VIERER, GAMEOVER, START,
// LACH, TSCHAU); null where an effect is silent.
extern EffectBuffer* soundEffects[kEffectSlots];

// The largest WAV file read as an effect.
constexpr uint32_t kMaxWaveFileBytes = 32u << 20;

// Opens the sound output. 1 when there is one.
int InitDirectSound();
// Loads one WAV file into a slot; the slot stays silent on any failure.
void LoadSoundEffect(const char* fileName, int slot);
// Reads a data file and parses it. A file that can't be found shows "Error
// reading file" with its name. False when there is no valid WAV image; on
// success `info` points into `image`.
bool LoadWaveFile(const char* fileName, std::vector<uint8_t>& image, WaveInfo& info);
