// FluidSynth as the game's MIDI synth: rendered by the caller into its own
// audio stream; FluidSynth's audio drivers are never started.
#include <fluidsynth.h>

#include <cstdio>

#include "platform/midi_synth.h"

namespace platform {
namespace {

class FluidSynth final : public MidiSynth {
 public:
  FluidSynth(fluid_settings_t* settings, fluid_synth_t* synth) : settings_(settings), synth_(synth) {}
  ~FluidSynth() override {
    delete_fluid_synth(synth_);
    delete_fluid_settings(settings_);
  }

  void ShortMessage(uint32_t message) override {
    int status = static_cast<int>(message & 0xFF);
    int channel = status & 0x0F;
    int data1 = static_cast<int>((message >> 8) & 0x7F);
    int data2 = static_cast<int>((message >> 16) & 0x7F);
    switch (status & 0xF0) {
      case 0x80: fluid_synth_noteoff(synth_, channel, data1); break;
      case 0x90:
        // Velocity 0 is a note-off, as MIDI has it.
        if (data2 == 0) {
          fluid_synth_noteoff(synth_, channel, data1);
        } else {
          fluid_synth_noteon(synth_, channel, data1, data2);
        }
        break;
      case 0xA0: fluid_synth_key_pressure(synth_, channel, data1, data2); break;
      case 0xB0: fluid_synth_cc(synth_, channel, data1, data2); break;
      case 0xC0: fluid_synth_program_change(synth_, channel, data1); break;
      case 0xD0: fluid_synth_channel_pressure(synth_, channel, data1); break;
      case 0xE0: fluid_synth_pitch_bend(synth_, channel, data1 | (data2 << 7)); break;
      default: break;  // system messages and running status are not channel messages
    }
  }

  void LongMessage(const uint8_t* bytes, size_t length) override {
    // FluidSynth takes the body between F0 and F7.
    if (length < 2 || bytes[0] != 0xF0) return;
    size_t body = length - 1;
    if (bytes[length - 1] == 0xF7) --body;
    fluid_synth_sysex(synth_, reinterpret_cast<const char*>(bytes + 1), static_cast<int>(body), nullptr,
                      nullptr, nullptr, 0);
  }

  void Reset() override { fluid_synth_system_reset(synth_); }

  void Render(float* frames, int frameCount) override {
    fluid_synth_write_float(synth_, frameCount, frames, 0, 2, frames, 1, 2);
  }

 private:
  fluid_settings_t* settings_;
  fluid_synth_t* synth_;
};

void QuietFluidSynthLog() {
  // Its warnings and notes are not the game's business; errors still show.
  fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
  fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
  fluid_set_log_function(FLUID_DBG, nullptr, nullptr);
}

}  // namespace

std::unique_ptr<MidiSynth> CreateFluidSynth(int rate, const std::string& soundFontPath) {
  QuietFluidSynthLog();
  fluid_settings_t* settings = new_fluid_settings();
  if (!settings) return nullptr;
  fluid_settings_setnum(settings, "synth.sample-rate", rate);
  // Loud enough to sit just under the effects when the mixer scales it.
  fluid_settings_setnum(settings, "synth.gain", 1.0);
  fluid_settings_setint(settings, "synth.cpu-cores", 1);
  fluid_synth_t* synth = new_fluid_synth(settings);
  if (!synth) {
    delete_fluid_settings(settings);
    return nullptr;
  }
  if (fluid_synth_sfload(synth, soundFontPath.c_str(), 1) == FLUID_FAILED) {
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
    return nullptr;
  }
  return std::make_unique<FluidSynth>(settings, synth);
}

}  // namespace platform
