// MIDI synthesis: MIDI messages in, stereo float frames out. The music
// player renders the synth inside the audio stream's mix callback, so the
// synth never opens a device of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

class MidiSynth {
 public:
  virtual ~MidiSynth() = default;

  // A channel message packed as a MIDI stream event holds it: status byte in
  // bits 0-7, first data byte in bits 8-15, second in bits 16-23.
  virtual void ShortMessage(uint32_t message) = 0;
  // A system-exclusive message; a synth may ignore it.
  virtual void LongMessage(const uint8_t* bytes, size_t length) {
    (void)bytes;
    (void)length;
  }
  // Back to the power-on state: all sound off, programs and controllers reset.
  virtual void Reset() = 0;
  // Writes `frameCount` interleaved stereo frames, replacing what `frames` held.
  virtual void Render(float* frames, int frameCount) = 0;
};

// The SoundFont to play with: $STAKKOR_SOUNDFONT, then the system's default
// General MIDI font, then any .sf2/.sf3 in the usual folders. Empty when none.
std::string FindSoundFont();

// FluidSynth at `rate` with the SoundFont; null when it cannot be loaded.
std::unique_ptr<MidiSynth> CreateFluidSynth(int rate, const std::string& soundFontPath);

// A synth that hears every message and sounds nothing.
std::unique_ptr<MidiSynth> CreateNullSynth();

// The synth of the active backend: sdl and web play FluidSynth with
// FindSoundFont() (null when there is no SoundFont); headless plays the null
// synth.
std::unique_ptr<MidiSynth> CreateMidiSynth(int rate);

}  // namespace platform
