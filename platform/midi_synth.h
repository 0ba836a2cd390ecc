// MIDI synthesis: MIDI messages in, stereo float frames out. The music
// player renders the synth inside the audio stream's mix callback, so the
// synth never opens a device of its own.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

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

// The SoundFont to play with, the first readable one of: `chosen` (the
// player's setting), $STAKKOR_SOUNDFONT, FluidSynth's own default
// (synth.default-soundfont), the system's default General MIDI fonts, any
// .sf2/.sf3 in the usual folders. Empty when there is none.
std::string FindSoundFont(const std::string& chosen = {});
// The path FluidSynth is set to use by default; empty when it names none.
std::string FluidSynthDefaultSoundFont();
// Every .sf2/.sf3 in the usual folders, sorted, for the player to choose from.
std::vector<std::string> ListSoundFonts();

// A program the music selects: its bank (128 for drum kits) and number.
struct SynthProgram {
  int bank = 0;
  int program = 0;
  bool operator==(const SynthProgram&) const = default;
};

// FluidSynth at `rate` with the SoundFont; null when it cannot be loaded.
// Where FluidSynth offers it, samples load only for the programs in use:
// `programs` are loaded here and kept, so that the music never waits for a
// sample while it plays.
std::unique_ptr<MidiSynth> CreateFluidSynth(int rate, const std::string& soundFontPath,
                                            const std::vector<SynthProgram>& programs = {});

// A synth that hears every message and sounds nothing.
std::unique_ptr<MidiSynth> CreateNullSynth();

// The synth of the active backend while it is being made: headless makes its
// null synth at once; sdl loads FluidSynth with the SoundFont on a worker
// thread (a large SoundFont takes seconds), so the game goes on meanwhile.
// A load that fails posts WM_APP_MUSIC_FAILED to the game's message queue.
class PendingSynth {
 public:
  enum class State { Loading, Ready, Failed };

  static std::shared_ptr<PendingSynth> Start(int rate, const std::string& soundFontPath,
                                             const std::vector<SynthProgram>& programs);

  State GetState() const { return state_.load(std::memory_order_acquire); }
  // The synth once it is ready, else null. Any thread.
  MidiSynth* Synth() const { return GetState() == State::Ready ? synth_.get() : nullptr; }
  int Rate() const { return rate_; }
  const std::string& SoundFont() const { return soundFont_; }

 private:
  PendingSynth(int rate, std::string soundFont) : rate_(rate), soundFont_(std::move(soundFont)) {}
  void Finish(std::unique_ptr<MidiSynth> synth);

  const int rate_;
  const std::string soundFont_;
  std::unique_ptr<MidiSynth> synth_;
  std::atomic<State> state_{State::Loading};
};

}  // namespace platform
