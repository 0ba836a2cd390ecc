#include "tools/assets/effects.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "tools/assets/synth.h"
#include "tools/assets/wave_writer.h"

namespace assets {
namespace {

constexpr int kRate = kEffectRate;

float Note(float midi) { return 440.0f * std::pow(2.0f, (midi - 69.0f) / 12.0f); }

// A sine with a few harmonics whose amplitude follows `envelope`.
Samples Tone(float seconds, std::function<float(float)> frequency, std::function<float(float)> envelope,
             std::function<float(int)> partial, int maxPartials = 32) {
  Samples s = AdditiveTone(seconds, kRate, frequency, partial, maxPartials);
  for (size_t i = 0; i < s.size(); ++i) s[i] *= envelope(static_cast<float>(i) / kRate);
  return s;
}

// A brass-like note: a sawtooth through a low pass that opens at the
// attack and settles, with vibrato creeping in.
Samples Brass(float midi, float seconds, float brightness) {
  const float f0 = Note(midi);
  Samples raw = AdditiveTone(
      seconds, kRate,
      [f0](float t) {
        float vibrato = 1.0f + 0.006f * std::sin(kTwoPi * 5.5f * t) * std::min(1.0f, std::max(0.0f, t - 0.15f) * 4);
        float scoop = 1.0f - 0.03f * std::exp(-t / 0.02f);  // slides up into the note
        return f0 * vibrato * scoop;
      },
      SawPartial, 48);
  StateVariableFilter filter;
  for (size_t i = 0; i < raw.size(); ++i) {
    float t = static_cast<float>(i) / kRate;
    float cutoff = f0 * (1.5f + brightness * (4.0f * AttackDecay(t, 0.035f, 0.25f) + 2.0f));
    filter.Step(raw[i], cutoff, 0.9f, kRate);
    float amp = Gate(t, 0.02f, seconds - 0.06f, 0.06f);
    raw[i] = filter.low * amp;
  }
  return raw;
}

// A bell-like ping.
Samples Ping(float midi, float decay) {
  const float f0 = Note(midi);
  return Tone(
      decay * 5, [f0](float) { return f0; }, [decay](float t) { return AttackDecay(t, 0.002f, decay); },
      [](int k) { return k == 1 ? 1.0f : (k == 2 ? 0.25f : (k == 4 ? 0.12f : 0.0f)); }, 4);
}

Samples FilteredNoise(float seconds, uint32_t seed, std::function<float(float)> cutoff, float resonance, int output,
                      std::function<float(float)> envelope) {
  Samples s = Noise(SampleCount(seconds, kRate), seed);
  StateVariableFilter filter;
  for (size_t i = 0; i < s.size(); ++i) {
    float t = static_cast<float>(i) / kRate;
    filter.Step(s[i], cutoff(t), resonance, kRate);
    float v = output == 0 ? filter.low : (output == 1 ? filter.band : filter.high);
    s[i] = v * envelope(t);
  }
  return s;
}

// ---- the formant voice of the laugh and the good-bye ----

struct VoiceFrame {
  float pitch = 120;       // Hz
  float voicing = 0;       // loudness of the buzz, 0..1
  float breath = 0;        // loudness of the hiss (aspiration), 0..1
  float formant[4] = {700, 1200, 2500, 3500};
  float bandwidth[4] = {80, 100, 140, 220};
};

Samples Voice(float seconds, uint32_t seed, std::function<VoiceFrame(float)> frameAt) {
  const int count = SampleCount(seconds, kRate);
  Samples out(static_cast<size_t>(count));
  Samples hiss = Noise(count, seed);
  Resonator tract[4];
  double phase = 0;
  float previous = 0;
  OnePole hissColour;
  for (int i = 0; i < count; ++i) {
    const float t = static_cast<float>(i) / kRate;
    VoiceFrame f = frameAt(t);
    phase += static_cast<double>(f.pitch) / kRate;
    phase -= std::floor(phase);
    // The glottal buzz: harmonics falling off like a real voice source.
    float buzz = 0;
    for (int k = 1; k * f.pitch < kRate * 0.45f; ++k) {
      buzz += std::pow(static_cast<float>(k), -1.4f) *
              static_cast<float>(std::sin(kTwoPi * static_cast<float>(k) * static_cast<float>(phase)));
    }
    float noise = hissColour.Step(hiss[i], 6000.0f, kRate);
    float x = buzz * f.voicing * 0.5f + noise * (f.breath + 0.04f * f.voicing);
    for (int r = 0; r < 4; ++r) x = tract[r].Step(x, f.formant[r], f.bandwidth[r], kRate);
    // Radiation from the lips lifts the highs.
    out[i] = x - 0.92f * previous;
    previous = x;
  }
  return out;
}

float Lerp(float a, float b, float t) { return a + (b - a) * std::clamp(t, 0.0f, 1.0f); }
float SmoothStep01(float t) {
  t = std::clamp(t, 0.0f, 1.0f);
  return t * t * (3 - 2 * t);
}

// ---- the seven effects ----

Samples Wurf() {
  const float length = 0.34f;
  Samples body = Tone(
      length, [](float t) { return 44.0f + 130.0f * std::exp(-t / 0.03f); },
      [](float t) { return AttackDecay(t, 0.002f, 0.085f); }, [](int k) { return k == 1 ? 1.0f : 0.35f; }, 2);
  Samples knock = FilteredNoise(
      length, 11, [](float) { return 300.0f; }, 6.0f, 1, [](float t) { return AttackDecay(t, 0.001f, 0.028f); });
  Samples click = FilteredNoise(
      0.03f, 12, [](float) { return 2500.0f; }, 0.7f, 0, [](float t) { return AttackDecay(t, 0.0004f, 0.005f); });
  Samples out = body;
  MixInto(out, knock, 0, 1.6f);
  MixInto(out, click, 0, 0.35f);
  return out;
}

Samples Reihen() {
  Samples out(static_cast<size_t>(SampleCount(0.62f, kRate)), 0.0f);
  const float notes[5] = {79, 84, 88, 91, 96};
  for (int i = 0; i < 5; ++i) MixInto(out, Ping(notes[i], 0.09f + 0.02f * i), SampleCount(0.045f * i, kRate), 0.5f);
  Samples whoosh = FilteredNoise(
      0.45f, 21, [](float t) { return 700.0f * std::pow(10.0f, t / 0.36f); }, 2.5f, 1,
      [](float t) { return Gate(t, 0.05f, 0.22f, 0.2f); });
  MixInto(out, whoosh, 0, 0.9f);
  return out;
}

Samples Vierer() {
  Samples out(static_cast<size_t>(SampleCount(1.5f, kRate)), 0.0f);
  // Da-da-da, then the full chord.
  const float pickup[3] = {60, 64, 67};
  for (int i = 0; i < 3; ++i) MixInto(out, Brass(pickup[i], 0.11f, 0.8f), SampleCount(0.115f * i, kRate), 0.5f);
  const float chord[4] = {60, 64, 67, 72};
  const int at = SampleCount(0.345f, kRate);
  for (int i = 0; i < 4; ++i) MixInto(out, Brass(chord[i], 1.1f, 1.0f), at, i == 3 ? 0.42f : 0.3f);
  const float sparkle[4] = {96, 100, 103, 108};
  for (int i = 0; i < 4; ++i) MixInto(out, Ping(sparkle[i], 0.12f), at + SampleCount(0.06f * i, kRate), 0.16f);
  Samples cymbal = FilteredNoise(
      1.0f, 31, [](float) { return 7000.0f; }, 0.7f, 2, [](float t) { return AttackDecay(t, 0.004f, 0.35f); });
  MixInto(out, cymbal, at, 0.18f);
  return out;
}

Samples GameOver() {
  Samples out(static_cast<size_t>(SampleCount(2.0f, kRate)), 0.0f);
  // A falling minor chord, note by note, the last one sinking away.
  const float notes[3] = {67, 63, 60};
  for (int i = 0; i < 3; ++i) {
    const float f0 = Note(notes[i]);
    Samples n = Tone(
        0.26f, [f0](float) { return f0; }, [](float t) { return Gate(t, 0.01f, 0.2f, 0.05f); }, SquarePartial, 24);
    OnePole soft;
    for (float& s : n) s = soft.Step(s, 1800.0f, kRate);
    MixInto(out, n, SampleCount(0.25f * i, kRate), 0.45f);
  }
  const float low = Note(55);
  Samples last = Tone(
      1.25f,
      [low](float t) {
        float sink = t < 0.35f ? 1.0f : std::pow(2.0f, -5.0f / 12.0f * (t - 0.35f) / 0.9f);
        float vibrato = 1.0f + 0.012f * std::sin(kTwoPi * 5.0f * t) * std::min(1.0f, t * 2.0f);
        return low * sink * vibrato;
      },
      [](float t) { return Gate(t, 0.015f, 0.6f, 0.65f); }, SquarePartial, 32);
  StateVariableFilter closing;
  for (size_t i = 0; i < last.size(); ++i) {
    float t = static_cast<float>(i) / kRate;
    closing.Step(last[i], 2200.0f * std::exp(-t / 0.6f) + 200.0f, 1.2f, kRate);
    last[i] = closing.low;
  }
  MixInto(out, last, SampleCount(0.75f, kRate), 0.6f);
  Samples rumble = FilteredNoise(
      1.2f, 41, [](float) { return 140.0f; }, 1.0f, 0, [](float t) { return Gate(t, 0.4f, 0.7f, 0.5f); });
  MixInto(out, rumble, SampleCount(0.75f, kRate), 1.2f);
  return out;
}

Samples Start() {
  Samples out(static_cast<size_t>(SampleCount(0.85f, kRate)), 0.0f);
  // Beep, beep, then a bright chord an octave up: go!
  for (int i = 0; i < 2; ++i) {
    const float f0 = Note(81);
    Samples beep = Tone(
        0.1f, [f0](float) { return f0; }, [](float t) { return Gate(t, 0.004f, 0.08f, 0.02f); }, SquarePartial, 9);
    MixInto(out, beep, SampleCount(0.19f * i, kRate), 0.35f);
  }
  const float chord[3] = {93, 88, 85};
  for (int i = 0; i < 3; ++i) {
    const float f0 = Note(chord[i] - 12);
    Samples go = Tone(
        0.45f, [f0](float t) { return f0 * (1.0f - 0.05f * std::exp(-t / 0.015f)); },
        [](float t) { return Gate(t, 0.006f, 0.3f, 0.15f) * (0.7f + 0.3f * std::exp(-t / 0.1f)); }, SawPartial, 20);
    MixInto(out, go, SampleCount(0.38f, kRate), i == 0 ? 0.34f : 0.24f);
  }
  Samples rise = FilteredNoise(
      0.38f, 51, [](float t) { return 500.0f * std::pow(12.0f, t / 0.38f); }, 3.0f, 1,
      [](float t) { return Gate(t, 0.3f, 0.33f, 0.05f); });
  MixInto(out, rise, 0, 0.35f);
  return out;
}

// "Ha-ha-ha-ha-haaa", each syllable a little lower, the last one drawn out
// and falling: a mocking laugh.
Samples Lach() {
  const int syllables = 5;
  const float step = 0.165f, voiced = 0.105f, lastVoiced = 0.34f, h = 0.035f;
  const float length = 0.03f + step * (syllables - 1) + h + lastVoiced + 0.08f;
  return Voice(length, 61, [=](float t) {
    VoiceFrame f;
    // Which syllable, and how far into it.
    int n = std::clamp(static_cast<int>((t - 0.03f) / step), 0, syllables - 1);
    float start = 0.03f + n * step;
    float u = t - start;
    float dur = n == syllables - 1 ? lastVoiced : voiced;
    float base = 250.0f - 9.0f * n;
    if (n == syllables - 1) {
      f.pitch = Lerp(base, 150.0f, (u - h) / dur);
    } else {
      f.pitch = base * (1.0f - 0.12f * std::clamp((u - h) / dur, 0.0f, 1.0f));
    }
    f.pitch *= 1.0f + 0.01f * std::sin(kTwoPi * 6.0f * t);
    // "h": breath first, then the voice takes over.
    f.breath = u < 0 ? 0.0f : (u < h ? 0.5f * u / h + 0.1f : 0.12f * std::exp(-(u - h) / 0.03f));
    float v = u - h;
    f.voicing = v < 0 ? 0.0f : Gate(v, 0.018f, dur - 0.04f, 0.04f);
    // An open, slightly nasal "a".
    float open = n == syllables - 1 ? Lerp(1.0f, 0.7f, v / dur) : 1.0f;
    f.formant[0] = 760.0f * open;
    f.formant[1] = 1320.0f;
    f.formant[2] = 2550.0f;
    f.formant[3] = 3600.0f;
    f.bandwidth[0] = 90;
    f.bandwidth[1] = 110;
    f.bandwidth[2] = 160;
    f.bandwidth[3] = 250;
    return f;
  });
}

// "Tschau!": a hiss of "tsch", then "au" gliding from an open a to a round
// u, the voice lifting cheekily and falling away.
Samples Tschau() {
  const float voiceStart = 0.15f, voiceLength = 0.6f;
  Samples voice = Voice(voiceStart + voiceLength + 0.05f, 71, [=](float t) {
    VoiceFrame f;
    float u = (t - voiceStart) / voiceLength;
    f.voicing = t < voiceStart ? 0.0f : Gate(t - voiceStart, 0.025f, voiceLength - 0.16f, 0.16f);
    f.pitch = u < 0.3f ? Lerp(195.0f, 285.0f, u / 0.3f) : Lerp(285.0f, 165.0f, (u - 0.3f) / 0.7f);
    f.pitch *= 1.0f + 0.012f * std::sin(kTwoPi * 5.5f * t) * std::clamp(u * 2.0f - 0.6f, 0.0f, 1.0f);
    float glide = SmoothStep01((u - 0.3f) / 0.5f);
    f.formant[0] = Lerp(820.0f, 330.0f, glide);
    f.formant[1] = Lerp(1300.0f, 760.0f, glide);
    f.formant[2] = Lerp(2600.0f, 2300.0f, glide);
    f.formant[3] = 3500.0f;
    f.bandwidth[0] = 90;
    f.bandwidth[1] = 100;
    f.bandwidth[2] = 150;
    f.bandwidth[3] = 240;
    return f;
  });
  Normalise(voice, 1.0f);
  Samples out(voice.size(), 0.0f);
  // "t": a short click.
  Samples t = FilteredNoise(
      0.02f, 72, [](float) { return 4000.0f; }, 0.8f, 2, [](float s) { return AttackDecay(s, 0.0005f, 0.004f); });
  Normalise(t, 1.0f);
  MixInto(out, t, 0, 0.35f);
  // "sch": hiss shaped by the narrow gap of the tongue: nothing below about
  // 1.5 kHz, strongest near 2.7 kHz, some up to 6 kHz.
  Samples hiss = Noise(SampleCount(0.17f, kRate), 73);
  StateVariableFilter low, high;
  for (size_t i = 0; i < hiss.size(); ++i) {
    float s = static_cast<float>(i) / kRate;
    float env = Gate(s - 0.008f, 0.04f, 0.125f, 0.04f);
    low.Step(hiss[i], 2700.0f, 3.0f, kRate);
    high.Step(hiss[i], 4800.0f, 1.5f, kRate);
    hiss[i] = (low.band + 0.45f * high.band) * env;
  }
  Normalise(hiss, 1.0f);
  MixInto(out, hiss, 0, 0.42f);
  MixInto(out, voice, 0, 1.0f);
  return out;
}

SoundEffect Finish(const char* name, Samples samples, float peak) {
  RemoveOffset(samples, kRate);
  FadeEnds(samples, kRate, 0.001f, 0.02f);
  Normalise(samples, peak);
  SoundEffect effect;
  effect.fileName = name;
  effect.samples = samples;
  effect.wave = EncodeWave16(samples, kRate);
  return effect;
}

}  // namespace

std::vector<SoundEffect> SynthesizeEffects() {
  // Peaks between -6 and -2 dBFS: the frequent drop quietest, the voices loudest.
  std::vector<SoundEffect> effects;
  effects.push_back(Finish("WURF.WAV", Wurf(), 0.50f));
  effects.push_back(Finish("REIHEN.WAV", Reihen(), 0.60f));
  effects.push_back(Finish("VIERER.WAV", Vierer(), 0.75f));
  effects.push_back(Finish("GAMEOVER.WAV", GameOver(), 0.75f));
  effects.push_back(Finish("START.WAV", Start(), 0.65f));
  effects.push_back(Finish("LACH.WAV", Lach(), 0.79f));
  effects.push_back(Finish("TSCHAU.WAV", Tschau(), 0.79f));
  return effects;
}

}  // namespace assets
