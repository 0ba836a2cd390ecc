// The seven sound effects: WAV files read once at start-up, converted to the
// mixer's format, and played once per call.
#include "media/sound_effects.h"

#include <cstdio>
#include <new>
#include <vector>

#include "media/wave_convert.h"
#include "media/wave_loader.h"
#include "platform/audio.h"

EffectBuffer* soundEffects[kEffectSlots];

namespace {

const char* const kEffectFiles[kEffectSlots] = {"WURF.WAV",  "REIHEN.WAV", "VIERER.WAV", "GAMEOVER.WAV",
                                                "START.WAV", "LACH.WAV",   "TSCHAU.WAV"};

EffectListener effectListener = nullptr;

void PlayEffect(int slot) {
  if (effectListener) effectListener(kEffectFiles[slot]);
  if (!soundEffects[slot]) return;
  if (StartMixerEffect(slot)) {
    char line[48];
    std::snprintf(line, sizeof line, "effect %s", kEffectFiles[slot]);
    platform::audio::LogEvent(line);
  }
}

}  // namespace

void SetEffectListener(EffectListener listener) { effectListener = listener; }

int InitDirectSound() { return OpenMixer() ? 1 : 0; }

void LoadSoundEffect(const char* fileName, int slot) {
  if (slot < 0 || slot >= kEffectSlots) return;
  std::vector<uint8_t> image;
  WaveInfo info;
  if (!LoadWaveFile(fileName, image, info)) return;
  WaveFormat format;
  EffectBuffer* effect = new (std::nothrow) EffectBuffer;
  if (!effect) return;
  if (!ReadWaveFormat(info.format, info.formatSize, format) ||
      !ConvertWaveToFrames(format, info.data, info.dataSize, MixerRate(), effect->frames)) {
    delete effect;  // a format the mixer can't play: the effect stays silent
    return;
  }
  soundEffects[slot] = effect;
  SetMixerEffect(slot, effect);
}

int InitSoundEffects() {
  if (!InitDirectSound()) return 0;
  for (int slot = 0; slot < kEffectSlots; ++slot) LoadSoundEffect(kEffectFiles[slot], slot);
  return 1;
}

void ReleaseSoundEffects() {
  for (int slot = 0; slot < kEffectSlots; ++slot) {
    if (!soundEffects[slot]) continue;
    SetMixerEffect(slot, nullptr);
    delete soundEffects[slot];
    // Cleared, so that a late play call finds a silent effect, not a freed one.
    soundEffects[slot] = nullptr;
  }
}

void PlaySoundWurf() { PlayEffect(0); }
void PlaySoundReihen() { PlayEffect(1); }
void PlaySoundVierer() { PlayEffect(2); }
void PlaySoundGameOver() { PlayEffect(3); }
void PlaySoundStart() { PlayEffect(4); }
void PlaySoundLach() { PlayEffect(5); }
void PlaySoundTschau() { PlayEffect(6); }
