// What the music costs: the game's own tune (MUSIC.MID, the file MUSIC.MDS
// is made from) played by FluidSynth with Debian's TimGM6mb SoundFont, one
// second of sound per iteration in the audio callback's blocks, at 48 and
// 44.1 kHz, with reverb and chorus on and off, and with FluidSynth's
// fourth-order (its default) or linear interpolation of the samples.
#include <benchmark/benchmark.h>
#include <fluidsynth.h>

#include <string>
#include <vector>

namespace {

constexpr int kBlockFrames = 512;

void BM_MusicSecond(benchmark::State& state) {
  const int rate = static_cast<int>(state.range(0));
  const bool reverb = state.range(1) != 0, chorus = state.range(2) != 0;
  const int interpolation = static_cast<int>(state.range(3));
  fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
  fluid_settings_t* settings = new_fluid_settings();
  fluid_settings_setnum(settings, "synth.sample-rate", rate);
  fluid_settings_setint(settings, "synth.reverb.active", reverb);
  fluid_settings_setint(settings, "synth.chorus.active", chorus);
  fluid_settings_setint(settings, "synth.cpu-cores", 1);
  fluid_synth_t* synth = new_fluid_synth(settings);
  fluid_synth_set_interp_method(synth, -1, interpolation);
  if (fluid_synth_sfload(synth, STAKKOR_BENCH_SOUNDFONT, 1) == FLUID_FAILED) {
    state.SkipWithError("no SoundFont at " STAKKOR_BENCH_SOUNDFONT);
  } else {
    fluid_player_t* player = new_fluid_player(synth);
    fluid_player_add(player, STAKKOR_BENCH_MUSIC);
    fluid_player_set_loop(player, -1);
    fluid_player_play(player);
    std::vector<float> left(kBlockFrames), right(kBlockFrames);
    for (auto _ : state) {
      for (int done = 0; done < rate; done += kBlockFrames) {
        fluid_synth_write_float(synth, kBlockFrames, left.data(), 0, 1, right.data(), 0, 1);
      }
      benchmark::DoNotOptimize(left.data());
    }
    fluid_player_stop(player);
    delete_fluid_player(player);
  }
  delete_fluid_synth(synth);
  delete_fluid_settings(settings);
  // One iteration is one second of music: its time is the share of a core.
  state.SetLabel(std::to_string(rate) + " Hz, reverb " + (reverb ? "on" : "off") + ", chorus " + (chorus ? "on" : "off") +
                 (interpolation == FLUID_INTERP_LINEAR ? ", linear" : ", 4th order"));
}
BENCHMARK(BM_MusicSecond)
    ->ArgsProduct({{48000, 44100}, {1, 0}, {1, 0}, {FLUID_INTERP_4THORDER, FLUID_INTERP_LINEAR}})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

}  // namespace
