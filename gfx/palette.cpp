#include "gfx/palette.h"

#include <cstring>

#include "gfx/display.h"
#include "platform/platform.h"

uint8_t paletteEntries[256 * 4];
uint8_t fadePalette[kPaletteBytes];

namespace {

constexpr uint32_t kFadeStepMs = 12;
constexpr int kFadeSteps = 64;

// Holds the thread until 12 ms have passed since `since`. Every poll goes
// through the wait primitive, so the processor is not kept busy.
void WaitFadeStep(uint32_t since) {
  while (timeGetTime() - since < kFadeStepMs) {
    platform::WakeAt(since + kFadeStepMs);
    platform::Wait();
  }
}

}  // namespace

void SetPalette(const uint8_t* palette) {
  for (int i = 0; i < 256; ++i) {
    paletteEntries[4 * i] = static_cast<uint8_t>(palette[3 * i] << 2);
    paletteEntries[4 * i + 1] = static_cast<uint8_t>(palette[3 * i + 1] << 2);
    paletteEntries[4 * i + 2] = static_cast<uint8_t>(palette[3 * i + 2] << 2);
    paletteEntries[4 * i + 3] = 2;
  }
  if (!displayPalette) displayPalette = new DisplayPalette;  // the first call attaches one
  std::memcpy(displayPalette->entries, paletteEntries, sizeof paletteEntries);
  platform::SetScreenPalette(paletteEntries);
}

void FadeIn(const uint8_t* target) {
  uint32_t since = timeGetTime();
  std::memset(fadePalette, 0, sizeof fadePalette);
  for (int step = 0; step < kFadeSteps; ++step) {
    for (int i = 0; i < kPaletteBytes; ++i) {
      if (fadePalette[i] < target[i]) ++fadePalette[i];
    }
    WaitFadeStep(since);
    since = timeGetTime();
    SetPalette(fadePalette);
  }
}

void FadeOut(const uint8_t* shown) {
  uint32_t since = timeGetTime();
  std::memcpy(fadePalette, shown, sizeof fadePalette);
  for (int step = 0; step < kFadeSteps; ++step) {
    for (int i = 0; i < kPaletteBytes; ++i) {
      if (fadePalette[i] > 0) --fadePalette[i];
    }
    WaitFadeStep(since);
    since = timeGetTime();
    SetPalette(fadePalette);
  }
}

void ClearPalette(uint8_t* palette) { std::memset(palette, 0, kPaletteBytes); }

uint8_t PaletteIndexToPixel(uint8_t index, const uint8_t*) { return index; }
