// The mixer: the game's seven effects and the music, mixed into the one
// audio stream of the platform.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

constexpr int kEffectSlots = 7;
// Levels of the two sources: the music sits a little under the effects.
constexpr float kEffectGain = 0.8f;
constexpr float kMusicGain = 0.7f;

// One effect converted to the mixer's frames, played once per start.
struct EffectBuffer {
  std::vector<float> frames;  // interleaved stereo at the mixer's rate
  // The next frame to play, or -1 while the effect is silent. The game
  // thread only starts it from -1; the audio thread moves it on and ends it.
  std::atomic<int64_t> position{-1};
};

// Opens the audio stream if it is not open yet. False when there is no
// device; then everything stays silent.
bool OpenMixer();
bool MixerOpen();
int MixerRate();

// Puts an effect into a slot (null empties it). The slot does not own it;
// whoever frees the buffer empties the slot first.
void SetMixerEffect(int slot, EffectBuffer* buffer);
// Starts the slot's effect from its first frame unless it is sounding now.
// True when it started.
bool StartMixerEffect(int slot);
bool MixerEffectSounding(int slot);

// The players' volumes of the two sources, 0 to 100. 100 gives the levels
// above (the game as it always sounded); below that the level falls with
// the square of the volume, so equal steps sound about equally large. Any
// thread; the next block of sound takes them.
void SetMixerVolumes(int music, int effects);
// The factor a volume puts on its source's level: 1 at 100, 0 at 0.
float VolumeFactor(int volume);

// The mix callback: effects and music for `frameCount` frames, limited so
// that loud moments bend instead of wrapping or clipping hard.
void MixAudio(float* frames, int frameCount);
