#include "tools/assets/palettes.h"

#include <algorithm>
#include <cmath>

namespace assets {

Colour BlockColour(int colour) {
  switch (colour) {
    case 1: return Rgb8(226, 36, 44);    // red
    case 2: return Rgb8(244, 132, 16);   // orange
    case 3: return Rgb8(244, 216, 28);   // yellow
    case 4: return Rgb8(40, 196, 64);    // green
    case 5: return Rgb8(24, 196, 216);   // cyan
    case 6: return Rgb8(48, 88, 236);    // blue
    default: return Rgb8(176, 56, 224);  // purple
  }
}

void SetFontColours(Palette& palette) {
  // FONT2: white at the top through pale gold to deep amber at the bottom.
  const Colour top = Rgb8(255, 255, 240), middle = Rgb8(255, 220, 96), bottom = Rgb8(236, 120, 16);
  for (int i = 0; i < kFont2FillCount; ++i) {
    float t = static_cast<float>(i) / (kFont2FillCount - 1);
    Colour c = t < 0.45f ? Mix(top, middle, t / 0.45f) : Mix(middle, bottom, (t - 0.45f) / 0.55f);
    palette.Set(kFont2Fill + i, c);
  }
  palette.Set(kFont2Shadow, Rgb8(20, 8, 24));
  // FONT1: gold chrome: bright sky in the upper half, a dark horizon just
  // below the middle, then the warm glow of the ground towards the bottom.
  const Colour stops[kFont1FillCount] = {
      Rgb8(255, 255, 236), Rgb8(255, 252, 222), Rgb8(255, 242, 176), Rgb8(255, 226, 128), Rgb8(250, 204, 84),
      Rgb8(240, 178, 50),  Rgb8(112, 54, 18),   Rgb8(166, 86, 24),   Rgb8(216, 128, 36),  Rgb8(246, 172, 64),
      Rgb8(255, 212, 110), Rgb8(255, 232, 160), Rgb8(255, 244, 200), Rgb8(255, 250, 224)};
  for (int i = 0; i < kFont1FillCount; ++i) palette.Set(kFont1Fill + i, stops[i]);
  palette.Set(kFont1Outline, Rgb8(8, 8, 28));
  palette.Set(kFont1Glint, Rgb8(255, 255, 255));
  // Spare font entries repeat the outline.
  for (int i = kFont1Glint + 1; i <= kFontLast; ++i) palette.Set(i, Rgb8(8, 8, 28));
}

void SetGameFixedColours(Palette& palette) {
  palette.Set(0, Colour{});
  SetFontColours(palette);
  for (int k = 1; k <= 7; ++k) {
    Colour face = BlockColour(k);
    const Colour white{1, 1, 1};
    palette.Set(BlockIndex(k, kOutline), Scale(face, 0.26f));
    palette.Set(BlockIndex(k, kDark), Scale(face, 0.48f));
    palette.Set(BlockIndex(k, kShadow), Scale(face, 0.70f));
    palette.Set(BlockIndex(k, kFace), face);
    palette.Set(BlockIndex(k, kLight), Mix(face, white, 0.38f));
    palette.Set(BlockIndex(k, kHighlight), Mix(face, white, 0.72f));
  }
  // The empty well: a deep blue-black, its grid lines and glints.
  palette.Set(kWellFirst + 0, Rgb8(6, 8, 20));
  palette.Set(kWellFirst + 1, Rgb8(12, 16, 36));
  palette.Set(kWellFirst + 2, Rgb8(18, 24, 50));
  palette.Set(kWellFirst + 3, Rgb8(26, 34, 66));
  palette.Set(kWellFirst + 4, Rgb8(36, 46, 84));
  palette.Set(kWellFirst + 5, Rgb8(2, 2, 8));
  // The bars: dark violet at the rim to bright azure in the middle.
  for (int i = 0; i < 16; ++i) {
    float t = i / 15.0f;
    float e = std::sqrt(t);
    palette.Set(kBarFirst + i, Colour{0.05f + 0.12f * e, 0.03f + 0.42f * t * e, 0.18f + 0.72f * e});
  }
  // Steel: a cool grey ramp.
  for (int i = 0; i < kSteelCount; ++i) {
    float t = static_cast<float>(i) / (kSteelCount - 1);
    float v = 0.06f + 0.94f * std::pow(t, 1.1f);
    palette.Set(kSteelFirst + i, Colour{v * 0.92f, v * 0.96f, std::min(1.0f, v * 1.06f + 0.02f)});
  }
}

}  // namespace assets
