// FluidSynth as the game's MIDI synth: rendered by the caller into its own
// audio stream; FluidSynth's audio drivers are never started.

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/fluid_library.h"
#include "platform/midi_synth.h"

namespace platform {
namespace {

// The music's own channels; the ones above them only hold programs
// selected, so that their samples stay loaded (see CreateFluidSynth).
constexpr int kMusicChannels = 16;
constexpr int kMaxChannels = 256;

// GM, GM2, GS and XG "reset" messages (the bytes after F0, before F7).
bool IsResetSysex(const uint8_t* body, size_t length) {
  if (length >= 4 && body[0] == 0x7E && body[2] == 0x09 && (body[3] == 0x01 || body[3] == 0x03)) return true;
  static const uint8_t gs[] = {0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F};
  if (length >= 7 && body[0] == gs[0] && body[2] == gs[2] && std::memcmp(body + 3, gs + 3, 4) == 0) return true;
  static const uint8_t xg[] = {0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00};
  return length >= 7 && body[0] == xg[0] && (body[1] & 0xF0) == 0x10 && std::memcmp(body + 2, xg + 2, 5) == 0;
}

class FluidSynth final : public MidiSynth {
 public:
  FluidSynth(const FluidLibrary& library, fluid_settings_t* settings, fluid_synth_t* synth)
      : fl(library), settings_(settings), synth_(synth) {}
  ~FluidSynth() override {
    fl.delete_fluid_synth(synth_);
    fl.delete_fluid_settings(settings_);
  }

  void ShortMessage(uint32_t message) override {
    int status = static_cast<int>(message & 0xFF);
    int channel = status & 0x0F;
    int data1 = static_cast<int>((message >> 8) & 0x7F);
    int data2 = static_cast<int>((message >> 16) & 0x7F);
    switch (status & 0xF0) {
      case 0x80: fl.fluid_synth_noteoff(synth_, channel, data1); break;
      case 0x90:
        // Velocity 0 is a note-off, as MIDI has it.
        if (data2 == 0) {
          fl.fluid_synth_noteoff(synth_, channel, data1);
        } else {
          fl.fluid_synth_noteon(synth_, channel, data1, data2);
        }
        break;
      case 0xA0: fl.fluid_synth_key_pressure(synth_, channel, data1, data2); break;
      case 0xB0: fl.fluid_synth_cc(synth_, channel, data1, data2); break;
      case 0xC0: fl.fluid_synth_program_change(synth_, channel, data1); break;
      case 0xD0: fl.fluid_synth_channel_pressure(synth_, channel, data1); break;
      case 0xE0: fl.fluid_synth_pitch_bend(synth_, channel, data1 | (data2 << 7)); break;
      default: break;  // system messages and running status are not channel messages
    }
  }

  void LongMessage(const uint8_t* bytes, size_t length) override {
    // FluidSynth takes the body between F0 and F7.
    if (length < 2 || bytes[0] != 0xF0) return;
    size_t body = length - 1;
    if (bytes[length - 1] == 0xF7) --body;
    // FluidSynth's own reset would also let go of the programs kept loaded.
    if (IsResetSysex(bytes + 1, body)) {
      Reset();
      return;
    }
    fl.fluid_synth_sysex(synth_, reinterpret_cast<const char*>(bytes + 1), static_cast<int>(body), nullptr,
                      nullptr, nullptr, 0);
  }

  // The power-on state of the music's channels, made of channel messages:
  // a full system reset would also reset the channels that keep samples
  // loaded, and reload them inside the audio callback.
  void Reset() override {
    for (int channel = 0; channel < kMusicChannels; ++channel) {
      fl.fluid_synth_all_sounds_off(synth_, channel);
      fl.fluid_synth_cc(synth_, channel, 121, 0);  // reset all controllers
      fl.fluid_synth_cc(synth_, channel, 0, 0);    // bank 0
      fl.fluid_synth_cc(synth_, channel, 32, 0);
      fl.fluid_synth_program_change(synth_, channel, 0);
      fl.fluid_synth_cc(synth_, channel, 7, 100);   // volume
      fl.fluid_synth_cc(synth_, channel, 10, 64);   // pan
      fl.fluid_synth_cc(synth_, channel, 11, 127);  // expression
      fl.fluid_synth_cc(synth_, channel, 91, 40);   // reverb
      fl.fluid_synth_cc(synth_, channel, 93, 0);    // chorus
      fl.fluid_synth_pitch_bend(synth_, channel, 8192);
      fl.fluid_synth_pitch_wheel_sens(synth_, channel, 2);
      fl.fluid_synth_channel_pressure(synth_, channel, 0);
    }
  }

  void Render(float* frames, int frameCount) override {
    fl.fluid_synth_write_float(synth_, frameCount, frames, 0, 2, frames, 1, 2);
  }

 private:
  const FluidLibrary& fl;
  fluid_settings_t* settings_;
  fluid_synth_t* synth_;
};

void QuietFluidSynthLog(const FluidLibrary& fl) {
  // Its warnings and notes are not the game's business; errors still show.
  fl.fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
  fl.fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
  fl.fluid_set_log_function(FLUID_DBG, nullptr, nullptr);
}

}  // namespace

std::string FluidSynthDefaultSoundFont() {
  const FluidLibrary* library = OpenFluidLibrary();
  if (!library) return {};
  const FluidLibrary& fl = *library;
  QuietFluidSynthLog(fl);
  fluid_settings_t* settings = fl.new_fluid_settings();
  if (!settings) return {};
  std::string path;
  char* value = nullptr;
  if (fl.fluid_settings_dupstr(settings, "synth.default-soundfont", &value) == FLUID_OK && value) {
    path = value;
    fl.fluid_free(value);
  }
  fl.delete_fluid_settings(settings);
  return path;
}

std::unique_ptr<MidiSynth> CreateFluidSynth(int rate, const std::string& soundFontPath,
                                            const std::vector<SynthProgram>& programs) {
  const FluidLibrary* library = OpenFluidLibrary();
  if (!library) return nullptr;
  const FluidLibrary& fl = *library;
  QuietFluidSynthLog(fl);
  // The programs to keep loaded, and the ones FluidSynth falls back to and
  // starts every channel with.
  std::vector<SynthProgram> kept = programs;
  for (const SynthProgram& p : programs) kept.push_back(SynthProgram{p.bank == 128 ? 128 : 0, p.bank == 128 ? 0 : p.program});
  kept.push_back(SynthProgram{0, 0});
  kept.push_back(SynthProgram{128, 0});
  std::vector<SynthProgram> unique;
  for (const SynthProgram& p : kept) {
    if (std::find(unique.begin(), unique.end(), p) == unique.end()) unique.push_back(p);
  }
  if (unique.size() > static_cast<size_t>(kMaxChannels - kMusicChannels)) unique.resize(kMaxChannels - kMusicChannels);
  const int channels = kMusicChannels + static_cast<int>((unique.size() + 15) / 16 * 16);

  fluid_settings_t* settings = fl.new_fluid_settings();
  if (!settings) return nullptr;
  fl.fluid_settings_setnum(settings, "synth.sample-rate", rate);
  // Loud enough to sit just under the effects when the mixer scales it.
  fl.fluid_settings_setnum(settings, "synth.gain", 1.0);
  fl.fluid_settings_setint(settings, "synth.cpu-cores", 1);
  fl.fluid_settings_setint(settings, "synth.midi-channels", channels);
  // Samples of a program load when a channel selects it, not all at once:
  // a large SoundFont is ready in a fraction of the time. Versions without
  // the setting load everything, as before.
  fl.fluid_settings_setint(settings, "synth.dynamic-sample-loading", 1);
  fluid_synth_t* synth = fl.new_fluid_synth(settings);
  if (!synth) {
    fl.delete_fluid_settings(settings);
    return nullptr;
  }
  const int font = fl.fluid_synth_sfload(synth, soundFontPath.c_str(), 1);
  if (font == FLUID_FAILED) {
    fl.delete_fluid_synth(synth);
    fl.delete_fluid_settings(settings);
    return nullptr;
  }
  // Each kept program stays selected on a channel of its own that the music
  // never plays, so its samples load now and are never let go.
  for (size_t k = 0; k < unique.size(); ++k) {
    fl.fluid_synth_program_select(synth, kMusicChannels + static_cast<int>(k), font, unique[k].bank, unique[k].program);
  }
  return std::make_unique<FluidSynth>(fl, settings, synth);
}

}  // namespace platform
