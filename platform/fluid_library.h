// FluidSynth's library, opened when the music first needs it rather than
// when the program starts: it brings some fifty libraries of its own (sound
// file codecs, JACK, D-Bus), and the game's first picture should not wait
// for them. Only files in platform/ include this.
#pragma once

#include <fluidsynth.h>

namespace platform {

// Every FluidSynth function the game calls, under its own name.
#define STAKKOR_FLUID_FUNCTIONS(X)                                                                            \
  X(new_fluid_settings) X(delete_fluid_settings) X(fluid_settings_setnum) X(fluid_settings_setint)           \
  X(fluid_settings_dupstr) X(fluid_free) X(fluid_set_log_function) X(new_fluid_synth) X(delete_fluid_synth)   \
  X(fluid_synth_sfload) X(fluid_synth_program_select) X(fluid_synth_noteon) X(fluid_synth_noteoff)           \
  X(fluid_synth_cc) X(fluid_synth_program_change) X(fluid_synth_pitch_bend) X(fluid_synth_pitch_wheel_sens) \
  X(fluid_synth_channel_pressure) X(fluid_synth_key_pressure) X(fluid_synth_sysex)                          \
  X(fluid_synth_all_sounds_off) X(fluid_synth_write_float)

struct FluidLibrary {
#define STAKKOR_FLUID_POINTER(name) decltype(&::name) name = nullptr;
  STAKKOR_FLUID_FUNCTIONS(STAKKOR_FLUID_POINTER)
#undef STAKKOR_FLUID_POINTER
};

// The library, opened once (any thread); null when it cannot be found or
// lacks a function, and then the music cannot play.
const FluidLibrary* OpenFluidLibrary();

}  // namespace platform
