// The mixer's cost: 10 ms of sound with the music playing and all seven
// effects sounding, the way the audio callback computes it.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "media/mds.h"
#include "media/midi_stream.h"
#include "media/mixer.h"
#include "platform/audio.h"
#include "platform/headless/headless_backend.h"
#include "platform/midi_synth.h"
#include "platform/platform.h"

namespace {

void BM_MixTenMillisecondsWithMusicAndSevenEffects(benchmark::State& state) {
  platform::audio::Close();
  platform::headless::StartForTests();
  if (!OpenMixer()) {
    state.SkipWithError("no audio device");
    return;
  }
  const int rate = MixerRate();

  // Seven two-second effects, restarted whenever one has ended.
  std::vector<std::unique_ptr<EffectBuffer>> effects;
  for (int slot = 0; slot < kEffectSlots; ++slot) {
    auto effect = std::make_unique<EffectBuffer>();
    effect->frames.resize(static_cast<size_t>(rate) * 2 * 2);
    for (size_t i = 0; i < effect->frames.size(); ++i) {
      effect->frames[i] = 0.3f * std::sin(static_cast<float>(i) * 0.01f * static_cast<float>(slot + 1));
    }
    SetMixerEffect(slot, effect.get());
    effects.push_back(std::move(effect));
  }

  // The music: FluidSynth with the system's SoundFont when there is one.
  std::string font = platform::FindSoundFont();
  std::unique_ptr<platform::MidiSynth> synth;
  if (!font.empty()) synth = platform::CreateFluidSynth(rate, font);
  const bool fluid = synth != nullptr;
  if (!synth) synth = platform::CreateNullSynth();
  UseMidiSynth(synth.get());
  std::vector<uint8_t> tune;
  MdsHandle* handle = nullptr;
  if (!platform::ReadWholeFile(STAKKOR_BENCH_TUNE, tune, 1 << 20) ||
      MdsOpenImage(tune.data(), tune.size(), &handle) != kMdsDone || MdsPlay(handle, 1) != kMdsDone) {
    state.SkipWithError("the test tune does not play");
    return;
  }

  const int frames = rate / 100;
  std::vector<float> out(static_cast<size_t>(frames) * 2);
  for (auto _ : state) {
    for (int slot = 0; slot < kEffectSlots; ++slot) StartMixerEffect(slot);
    platform::audio::DeviceLock hold;
    MixAudio(out.data(), frames);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetLabel(fluid ? "FluidSynth, " + font : "null synth (no SoundFont)");

  MdsClose(handle);
  UseMidiSynth(nullptr);
  for (int slot = 0; slot < kEffectSlots; ++slot) SetMixerEffect(slot, nullptr);
  platform::audio::Close();
}
BENCHMARK(BM_MixTenMillisecondsWithMusicAndSevenEffects)->Unit(benchmark::kMicrosecond);

}  // namespace
