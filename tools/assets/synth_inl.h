// Templates of synth.h.
#pragma once

#include <cmath>

namespace assets {

template <typename FrequencyFn, typename PartialFn>
Samples AdditiveTone(float seconds, int rate, FrequencyFn frequency, PartialFn partial, int maxPartials) {
  Samples out(static_cast<size_t>(SampleCount(seconds, rate)));
  double phase = 0;
  const float nyquist = rate * 0.5f;
  for (size_t i = 0; i < out.size(); ++i) {
    const float t = static_cast<float>(i) / rate;
    const float f = frequency(t);
    phase += static_cast<double>(f) / rate;
    phase -= std::floor(phase);
    float sum = 0;
    for (int k = 1; k <= maxPartials; ++k) {
      const float fk = f * k;
      if (fk >= nyquist * 0.92f) break;
      // Partials near the limit fade out instead of stopping dead.
      float edge = fk > nyquist * 0.75f ? (nyquist * 0.92f - fk) / (nyquist * 0.17f) : 1.0f;
      sum += partial(k) * edge * static_cast<float>(std::sin(kTwoPi * static_cast<float>(k) * static_cast<float>(phase)));
    }
    out[i] = sum;
  }
  return out;
}

}  // namespace assets
