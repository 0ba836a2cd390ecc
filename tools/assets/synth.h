// Building blocks for synthesising the sound effects: oscillators whose
// partials stay below the Nyquist limit, envelopes, filters, noise and the
// vocal-tract resonators of a small formant synthesiser.
#pragma once

#include <cstdint>
#include <vector>

namespace assets {

using Samples = std::vector<float>;

constexpr float kTwoPi = 6.28318530718f;

// Seconds to samples at `rate`.
int SampleCount(float seconds, int rate);

// A band-limited tone of changing pitch: `frequency(t)` in Hz at time t (s),
// `partial(k)` the weight of the k-th harmonic. Returns `seconds` long.
template <typename FrequencyFn, typename PartialFn>
Samples AdditiveTone(float seconds, int rate, FrequencyFn frequency, PartialFn partial, int maxPartials = 64);

// Shapes: 1/k for a sawtooth, odd harmonics 1/k for a square.
float SawPartial(int k);
float SquarePartial(int k);

// Exponential decay from 1 towards 0 with time constant `tau` after `attack` s of rise.
float AttackDecay(float t, float attack, float tau);
// Rises over `attack`, holds until `release` starts, falls to 0 over `releaseTime`.
float Gate(float t, float attack, float release, float releaseTime);

// White noise, the same on every run for the same seed.
Samples Noise(int count, uint32_t seed);

// A two-pole resonator with unity gain at 0 Hz (vocal-tract style), whose
// centre and bandwidth may change from sample to sample.
class Resonator {
 public:
  float Step(float in, float frequency, float bandwidth, int rate);

 private:
  float y1_ = 0, y2_ = 0;
};

// A state-variable filter: low, band and high pass outputs of one input.
class StateVariableFilter {
 public:
  void Step(float in, float cutoff, float resonance, int rate);
  float low = 0, band = 0, high = 0;
};

// One-pole low pass.
class OnePole {
 public:
  float Step(float in, float cutoff, int rate);

 private:
  float y_ = 0;
};

// Adds `source` into `target` from sample `offset` on, scaled by `gain`.
void MixInto(Samples& target, const Samples& source, int offset, float gain);
// Scales so the largest magnitude is `peak`.
void Normalise(Samples& samples, float peak);
// Short fades at both ends so the sound never starts or stops with a click.
void FadeEnds(Samples& samples, int rate, float fadeIn, float fadeOut);
// Removes any constant offset (a slow high pass).
void RemoveOffset(Samples& samples, int rate);

}  // namespace assets

#include "tools/assets/synth_inl.h"
