// The seven sound effects: WAV files read once at start-up, converted to the
// mixer's format, and played once per call.
#include "media/sound_effects.h"

#include <cstdio>
#include <new>
#include <vector>

#include "gfx/display.h"
#include "media/data_file.h"
#include "media/mixer.h"
#include "media/wave_loader.h"
#include "media/wave_convert.h"
#include "platform/audio.h"

EffectBuffer* soundEffects[kEffectSlots];

namespace {

const char* const kEffectFiles[kEffectSlots] = {"WURF.WAV",  "REIHEN.WAV", "VIERER.WAV", "GAMEOVER.WAV",
                                                "START.WAV", "LACH.WAV",   "TSCHAU.WAV"};

void PlayEffect(int slot) {
  if (!soundEffects[slot]) return;
  if (StartMixerEffect(slot)) {
    char line[48];
    std::snprintf(line, sizeof line, "effect %s", kEffectFiles[slot]);
    platform::audio::LogEvent(line);
  }
}

}  // namespace

int InitDirectSound() { return OpenMixer() ? 1 : 0; }

bool LoadWaveFile(const char* fileName, std::vector<uint8_t>& image, WaveInfo& info) {
  image.clear();
  info = WaveInfo{};
  std::FILE* file = OpenDataFile(fileName);
  if (!file) {
    ShowDisplayError(fileName, "Error reading file");
    return false;
  }
  // An effect larger than this is no effect of the game's; it stays silent.
  if (dataFileSize > kMaxWaveFileBytes) {
    std::fclose(file);
    return false;
  }
  try {
    image.resize(dataFileSize);
  } catch (const std::bad_alloc&) {
    std::fclose(file);
    return false;
  }
  // A file shorter than its directory says is parsed as far as it goes.
  image.resize(std::fread(image.data(), 1, image.size(), file));
  std::fclose(file);
  if (!ParseWaveImage(image.data(), image.size(), &info.format, &info.data, &info.dataSize, &info.formatSize)) {
    image.clear();
    return false;
  }
  return true;
}

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
