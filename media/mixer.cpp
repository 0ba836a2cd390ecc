#include "media/mixer.h"

#include <algorithm>
#include <cmath>

#include "media/midi_stream.h"
#include "platform/audio.h"

namespace {

// The mixer works in chunks of this many frames, so its scratch buffers are
// fixed and the callback never allocates.
constexpr int kChunkFrames = platform::audio::kBufferFrames;

EffectBuffer* effectSlots[kEffectSlots];
float musicScratch[kChunkFrames * 2];
std::atomic<float> musicLevel{kMusicGain};
std::atomic<float> effectLevel{kEffectGain};

// Below the knee the signal passes unchanged; above it, it bends smoothly
// towards the ceiling and never passes it: a ceiling under full scale,
// since the curve meets it within float precision when every effect plays
// at once at full volume.
constexpr float kKnee = 0.75f;
constexpr float kCeiling = 0.98f;

float Limit(float x) {
  float magnitude = std::fabs(x);
  if (magnitude <= kKnee) return x;
  float bent = kKnee + (kCeiling - kKnee) * std::tanh((magnitude - kKnee) / (kCeiling - kKnee));
  return x < 0 ? -bent : bent;
}

void MixEffect(EffectBuffer& effect, float* out, int frameCount, float gain) {
  int64_t position = effect.position.load(std::memory_order_acquire);
  if (position < 0) return;
  const int64_t total = static_cast<int64_t>(effect.frames.size() / 2);
  int64_t count = std::min<int64_t>(frameCount, total - position);
  const float* in = effect.frames.data() + position * 2;
  for (int64_t i = 0; i < count * 2; ++i) out[i] += in[i] * gain;
  position += count;
  effect.position.store(position >= total ? -1 : position, std::memory_order_release);
}

// Mixes one chunk; false when nothing played in it (no music stream open,
// no effect sounding), so the chunk is plain silence.
bool MixChunk(float* out, int frameCount) {
  std::fill(out, out + frameCount * 2, 0.0f);
  bool active = MidiStreamOpenNow();
  // The music plays on at volume 0, so it is where it should be when the
  // volume comes back.
  const float music = musicLevel.load(std::memory_order_relaxed);
  if (RenderMidiStream(musicScratch, frameCount)) {
    for (int i = 0; i < frameCount * 2; ++i) out[i] = musicScratch[i] * music;
  }
  const float effects = effectLevel.load(std::memory_order_relaxed);
  for (EffectBuffer* effect : effectSlots) {
    if (!effect || effect->position.load(std::memory_order_acquire) < 0) continue;
    MixEffect(*effect, out, frameCount, effects);
    active = true;
  }
  if (!active) return false;
  for (int i = 0; i < frameCount * 2; ++i) out[i] = Limit(out[i]);
  return true;
}

}  // namespace

float VolumeFactor(int volume) {
  const float v = static_cast<float>(volume < 0 ? 0 : volume > 100 ? 100 : volume) / 100.0f;
  return v * v;
}

void SetMixerVolumes(int music, int effects) {
  musicLevel.store(kMusicGain * VolumeFactor(music), std::memory_order_relaxed);
  effectLevel.store(kEffectGain * VolumeFactor(effects), std::memory_order_relaxed);
}

bool OpenMixer() { return platform::audio::Open(MixAudio); }

bool MixerOpen() { return platform::audio::IsOpen(); }

int MixerRate() { return platform::audio::Rate(); }

void SetMixerEffect(int slot, EffectBuffer* buffer) {
  if (slot < 0 || slot >= kEffectSlots) return;
  platform::audio::DeviceLock hold;
  effectSlots[slot] = buffer;
}

bool StartMixerEffect(int slot) {
  if (slot < 0 || slot >= kEffectSlots) return false;
  platform::audio::DeviceLock hold;
  EffectBuffer* effect = effectSlots[slot];
  if (!effect || effect->frames.empty()) return false;
  int64_t silent = -1;
  if (!effect->position.compare_exchange_strong(silent, 0, std::memory_order_acq_rel)) return false;
  platform::audio::Wake();  // a device resting in the quiet plays again at once
  return true;
}

bool MixerEffectSounding(int slot) {
  if (slot < 0 || slot >= kEffectSlots) return false;
  platform::audio::DeviceLock hold;
  EffectBuffer* effect = effectSlots[slot];
  return effect && effect->position.load(std::memory_order_acquire) >= 0;
}

void MixAudio(float* frames, int frameCount) {
  bool active = false;
  while (frameCount > 0) {
    int chunk = std::min(frameCount, kChunkFrames);
    active = MixChunk(frames, chunk) || active;
    frames += chunk * 2;
    frameCount -= chunk;
  }
  // A device with nothing to play for a while may rest (see platform/audio.h).
  platform::audio::ReportBlockActivity(active);
}
