// FluidSynth in the browser: a WebAssembly build of FluidSynth's C library
// (js-synthesizer's libfluidsynth) runs as a module of its own, which the
// page hands to the game as `fluidSynth`. The game's sequencer drives it
// message by message and renders it block by block inside the mix, exactly
// as natively; only the calls cross from one module to the other.
#include <emscripten.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/midi_synth.h"

#ifndef STAKKOR_WEB_SOUNDFONT_PATH
#error "the build defines STAKKOR_WEB_SOUNDFONT_PATH (platform/web/places.cmake)"
#endif

namespace platform {
namespace {

// Returns a handle (> 0) for a synth at `rate` with the SoundFont at `path`
// of the game's own files, or 0 when there is no FluidSynth module or the
// font does not load.
EM_JS(int, FluidCreate, (int rate, const char* pathText), {
  const fluid = Module['fluidSynth'];
  if (!fluid) return 0;
  let font;
  try {
    font = FS.readFile(UTF8ToString(pathText));
  } catch (error) {
    return 0;
  }
  const withText = function(text, use) {
    const size = fluid.lengthBytesUTF8(text) + 1;
    const at = fluid._malloc(size);
    fluid.stringToUTF8(text, at, size);
    try {
      return use(at);
    } finally {
      fluid._free(at);
    }
  };
  // Its warnings and notes are not the game's business; errors still show.
  for (const level of [2, 3, 4]) fluid._fluid_set_log_function(level, 0, 0);
  const settings = fluid._new_fluid_settings();
  if (!settings) return 0;
  withText('synth.sample-rate', function(name) { fluid._fluid_settings_setnum(settings, name, rate); });
  // Loud enough to sit just under the effects when the mixer scales it.
  withText('synth.gain', function(name) { fluid._fluid_settings_setnum(settings, name, 1.0); });
  withText('synth.cpu-cores', function(name) { fluid._fluid_settings_setint(settings, name, 1); });
  const synth = fluid._new_fluid_synth(settings);
  if (!synth) {
    fluid._delete_fluid_settings(settings);
    return 0;
  }
  // FluidSynth reads the font from its own files; the samples stay in its
  // memory after loading, so the file goes again at once.
  const fontPath = '/stakkor-soundfont.sf2';
  fluid.FS.writeFile(fontPath, font);
  const loaded = withText(fontPath, function(name) { return fluid._fluid_synth_sfload(synth, name, 1); });
  fluid.FS.unlink(fontPath);
  if (loaded < 0) {
    fluid._delete_fluid_synth(synth);
    fluid._delete_fluid_settings(settings);
    return 0;
  }
  const capacity = 1024;
  const synths = Module['fluidSynths'] || (Module['fluidSynths'] = [null]);
  synths.push({settings: settings, synth: synth, buffer: fluid._malloc(capacity * 8), capacity: capacity});
  return synths.length - 1;
});

EM_JS(void, FluidDelete, (int handle), {
  const fluid = Module['fluidSynth'];
  const made = Module['fluidSynths'][handle];
  fluid._free(made.buffer);
  fluid._delete_fluid_synth(made.synth);
  fluid._delete_fluid_settings(made.settings);
  Module['fluidSynths'][handle] = null;
});

EM_JS(void, FluidShortMessage, (int handle, int status, int data1, int data2), {
  const fluid = Module['fluidSynth'];
  const synth = Module['fluidSynths'][handle].synth;
  const channel = status & 0x0F;
  Module['audioStats'].midiEvents += 1;
  switch (status & 0xF0) {
    case 0x80: fluid._fluid_synth_noteoff(synth, channel, data1); break;
    case 0x90:
      // Velocity 0 is a note-off, as MIDI has it.
      if (data2 == 0) {
        fluid._fluid_synth_noteoff(synth, channel, data1);
      } else {
        fluid._fluid_synth_noteon(synth, channel, data1, data2);
      }
      break;
    case 0xA0: fluid._fluid_synth_key_pressure(synth, channel, data1, data2); break;
    case 0xB0: fluid._fluid_synth_cc(synth, channel, data1, data2); break;
    case 0xC0: fluid._fluid_synth_program_change(synth, channel, data1); break;
    case 0xD0: fluid._fluid_synth_channel_pressure(synth, channel, data1); break;
    case 0xE0: fluid._fluid_synth_pitch_bend(synth, channel, data1 | (data2 << 7)); break;
    default: break;  // system messages and running status are not channel messages
  }
});

EM_JS(void, FluidSysex, (int handle, const uint8_t* body, int length), {
  const fluid = Module['fluidSynth'];
  const at = fluid._malloc(length);
  fluid.HEAPU8.set(HEAPU8.subarray(body, body + length), at);
  fluid._fluid_synth_sysex(Module['fluidSynths'][handle].synth, at, length, 0, 0, 0, 0);
  fluid._free(at);
});

EM_JS(void, FluidReset, (int handle), {
  Module['fluidSynth']._fluid_synth_system_reset(Module['fluidSynths'][handle].synth);
});

// Writes `frameCount` interleaved stereo frames at `frames`.
EM_JS(void, FluidRender, (int handle, float* frames, int frameCount), {
  const fluid = Module['fluidSynth'];
  const made = Module['fluidSynths'][handle];
  const stats = Module['audioStats'];
  let done = 0;
  while (done < frameCount) {
    const count = Math.min(frameCount - done, made.capacity);
    fluid._fluid_synth_write_float(made.synth, count, made.buffer, 0, 2, made.buffer, 1, 2);
    const rendered = fluid.HEAPF32.subarray(made.buffer >> 2, (made.buffer >> 2) + count * 2);
    HEAPF32.set(rendered, (frames >> 2) + done * 2);
    for (let i = 0; i < rendered.length; ++i) stats.musicPeak = Math.max(stats.musicPeak, Math.abs(rendered[i]));
    done += count;
  }
});

class WebFluidSynth final : public MidiSynth {
 public:
  explicit WebFluidSynth(int handle) : handle_(handle) {}
  ~WebFluidSynth() override { FluidDelete(handle_); }

  void ShortMessage(uint32_t message) override {
    FluidShortMessage(handle_, static_cast<int>(message & 0xFF), static_cast<int>((message >> 8) & 0x7F),
                      static_cast<int>((message >> 16) & 0x7F));
  }

  void LongMessage(const uint8_t* bytes, size_t length) override {
    // FluidSynth takes the body between F0 and F7.
    if (length < 2 || bytes[0] != 0xF0) return;
    size_t body = length - 1;
    if (bytes[length - 1] == 0xF7) --body;
    FluidSysex(handle_, bytes + 1, static_cast<int>(body));
  }

  void Reset() override { FluidReset(handle_); }

  void Render(float* frames, int frameCount) override { FluidRender(handle_, frames, frameCount); }

 private:
  int handle_;
};

}  // namespace

// The page ships FluidSynth's default SoundFont with the game (see
// places.cmake).
std::string FluidSynthDefaultSoundFont() { return STAKKOR_WEB_SOUNDFONT_PATH; }

// Every sample of the font is loaded here at once (the font is in memory
// already and small), so every program the music selects is ready.
std::unique_ptr<MidiSynth> CreateFluidSynth(int rate, const std::string& soundFontPath,
                                            const std::vector<SynthProgram>&) {
  const int handle = FluidCreate(rate, soundFontPath.c_str());
  if (handle <= 0) return nullptr;
  return std::make_unique<WebFluidSynth>(handle);
}

}  // namespace platform
