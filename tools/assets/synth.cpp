#include "tools/assets/synth.h"

#include <algorithm>
#include <cmath>

#include "tools/assets/canvas.h"

namespace assets {

int SampleCount(float seconds, int rate) { return static_cast<int>(std::lround(seconds * rate)); }

float SawPartial(int k) { return 1.0f / k; }
float SquarePartial(int k) { return (k % 2) ? 1.0f / k : 0.0f; }

float AttackDecay(float t, float attack, float tau) {
  if (t < 0) return 0;
  if (t < attack) return t / attack;
  return std::exp(-(t - attack) / tau);
}

float Gate(float t, float attack, float release, float releaseTime) {
  if (t < 0) return 0;
  float level = attack > 0 ? std::min(1.0f, t / attack) : 1.0f;
  if (t > release) level *= std::max(0.0f, 1.0f - (t - release) / releaseTime);
  return level;
}

Samples Noise(int count, uint32_t seed) {
  Random random(seed);
  Samples out(static_cast<size_t>(count));
  for (float& s : out) s = random.Unit() * 2.0f - 1.0f;
  return out;
}

float Resonator::Step(float in, float frequency, float bandwidth, int rate) {
  const float t = 1.0f / rate;
  const float c = -std::exp(-kTwoPi * 0.5f * bandwidth * t * 2.0f);
  const float b = 2.0f * std::exp(-kTwoPi * 0.5f * bandwidth * t) * std::cos(kTwoPi * frequency * t);
  const float a = 1.0f - b - c;
  const float y = a * in + b * y1_ + c * y2_;
  y2_ = y1_;
  y1_ = y;
  return y;
}

void StateVariableFilter::Step(float in, float cutoff, float resonance, int rate) {
  // Two passes per sample keep it stable up to high cut-offs.
  const float f = 2.0f * std::sin(kTwoPi * 0.5f * std::min(cutoff, rate * 0.24f) / (2.0f * rate));
  const float q = 1.0f / std::max(0.5f, resonance);
  for (int pass = 0; pass < 2; ++pass) {
    low += f * band;
    high = in - low - q * band;
    band += f * high;
  }
}

float OnePole::Step(float in, float cutoff, int rate) {
  const float a = 1.0f - std::exp(-kTwoPi * cutoff / rate);
  y_ += a * (in - y_);
  return y_;
}

void MixInto(Samples& target, const Samples& source, int offset, float gain) {
  if (offset < 0) return;
  if (target.size() < source.size() + static_cast<size_t>(offset)) target.resize(source.size() + offset, 0.0f);
  for (size_t i = 0; i < source.size(); ++i) target[i + offset] += gain * source[i];
}

void Normalise(Samples& samples, float peak) {
  float most = 0;
  for (float s : samples) most = std::max(most, std::fabs(s));
  if (most <= 0) return;
  for (float& s : samples) s *= peak / most;
}

void FadeEnds(Samples& samples, int rate, float fadeIn, float fadeOut) {
  const int in = std::min<int>(SampleCount(fadeIn, rate), static_cast<int>(samples.size()));
  const int out = std::min<int>(SampleCount(fadeOut, rate), static_cast<int>(samples.size()));
  for (int i = 0; i < in; ++i) samples[i] *= static_cast<float>(i) / in;
  for (int i = 0; i < out; ++i) samples[samples.size() - 1 - i] *= static_cast<float>(i) / out;
}

void RemoveOffset(Samples& samples, int rate) {
  // A gentle high pass at 20 Hz.
  const float a = std::exp(-kTwoPi * 20.0f / rate);
  float previousIn = 0, previousOut = 0;
  for (float& s : samples) {
    float out = a * (previousOut + s - previousIn);
    previousIn = s;
    previousOut = out;
    s = out;
  }
}

}  // namespace assets
