// The seven sound effects, synthesised: a thud for a drop, a sweep for a
// cleared row, a fanfare for four rows, a falling lament for game over, a
// rising call for the start, a mocking laugh and a cheeky "tschau!".
#pragma once

#include <string>
#include <vector>

namespace assets {

constexpr int kEffectRate = 22050;

struct SoundEffect {
  std::string fileName;
  std::vector<float> samples;  // mono, -1..1
  std::vector<uint8_t> wave;   // the WAV file: 16-bit PCM, kEffectRate
};

std::vector<SoundEffect> SynthesizeEffects();

}  // namespace assets
