#include "tools/assets/menu.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "tools/assets/display_letters.h"
#include "tools/assets/noise.h"
#include "tools/assets/palettes.h"
#include "tools/assets/quantize.h"
#include "tools/assets/shading.h"
#include "tools/assets/space.h"
#include "tools/assets/title.h"

namespace assets {
namespace {

constexpr int kWidth = 640, kHeight = 480;
constexpr int kStripTop = 48, kStripStep = 98, kStripHeight = 60;
// The rails run on well past the widest stretch of a strip (x 110..529), so
// whatever part of a strip the highlight stretches over them, it meets
// rail that looks the same.
constexpr float kRailLeft = 78, kRailRight = 562;

void PaintRail(RgbCanvas& art, int top) {
  const int scale = 4;
  const float r = kStripHeight / 2.0f;
  // The rail's own box, with a pixel to spare on each side.
  const int left = static_cast<int>(kRailLeft) - 1, width = static_cast<int>(kRailRight - kRailLeft) + 2;
  const int height = kStripHeight + 2;
  IndexCanvas pill(width * scale, height * scale);
  const float x0 = kRailLeft - left, x1 = kRailRight - left, y0 = 1, y1 = 1.0f + kStripHeight;
  FillBox(pill, (x0 + r) * scale, y0 * scale, (x1 - r) * scale, y1 * scale);
  FillCircle(pill, (x0 + r) * scale, (y0 + r) * scale, r * scale);
  FillCircle(pill, (x1 - r) * scale, (y0 + r) * scale, r * scale);
  Layer rail = PaintBevelled(pill, scale, 7.0f, false, [y0](const Surfel& s) {
    if (s.height < 0.999f) {
      return Chrome(s, 0.1f, Rgb8(230, 240, 255), Rgb8(40, 50, 90), Rgb8(120, 140, 200), Rgb8(255, 255, 255));
    }
    // The inside: deep blue glass, a soft light across its upper half.
    float t = (s.y - y0) / kStripHeight;
    Colour c = Mix(Rgb8(20, 36, 110), Rgb8(4, 8, 36), SmoothStep(0.1f, 0.9f, t));
    float sheen = 0.22f * (1.0f - SmoothStep(0.18f, 0.45f, t));
    return Add(c, Colour{sheen * 0.6f, sheen * 0.75f, sheen});
  });
  Composite(art, rail, left, top - 1);
}

// The entries' letters are tall and narrow: the widest entry stays within
// the middle 196 pixels of its strip. The highlight draws the strip 419
// pixels wide and then narrower again without clearing; text that wide
// would leave its stretched ends standing beside the narrower copy.
void PaintEntry(RgbCanvas& art, const std::string& text, int stripTop) {
  TextStyle style;
  style.pixelWidth = 1.6f;
  style.pixelHeight = 3.2f;
  style.gap = 2.0f;
  style.spaceWidth = 5.0f;
  style.round = 0.8f;
  style.pad = 5;
  style.scale = 4;
  TextMask mask = LayOutText(text, style);
  IndexCanvas body = Grow(mask.fine, 0.6f * style.scale);
  const int x = (kWidth - mask.width) / 2;
  const int y = stripTop + (kStripHeight - static_cast<int>(10 * style.pixelHeight)) / 2 - style.pad;
  Layer rim = PaintBevelled(Grow(body, 2.2f * style.scale), style.scale, 1.0f, false,
                            [](const Surfel&) { return Rgb8(4, 4, 14); });
  Composite(art, rim, x, y);
  const float top = static_cast<float>(style.pad), bottom = style.pad + 10 * style.pixelHeight;
  Layer letters = PaintBevelled(body, style.scale, 1.7f, false, [top, bottom](const Surfel& s) {
    float level = 0.9f - 1.9f * (s.y - top) / (bottom - top);
    return Chrome(s, level, Rgb8(255, 252, 220), Rgb8(120, 50, 10), Rgb8(255, 190, 60), Rgb8(255, 255, 240));
  });
  Composite(art, letters, x, y);
}

void PaintHelp(RgbCanvas& art, const std::string& text, int y) {
  TextStyle style;
  style.pixelWidth = 0.8f;
  style.pixelHeight = 1.3f;
  style.gap = 2.0f;
  style.spaceWidth = 5.0f;
  style.round = 0.25f;
  style.pad = 3;
  style.scale = 4;
  TextMask mask = LayOutText(text, style);
  const int x = (kWidth - mask.width) / 2;
  Layer shadow = PaintBevelled(Grow(mask.fine, 1.2f * style.scale), style.scale, 1.0f, false,
                               [](const Surfel&) { return Rgb8(2, 2, 10); });
  Composite(art, shadow, x, y);
  Layer letters = PaintBevelled(mask.fine, style.scale, 0.6f, false, [](const Surfel& s) {
    float t = (s.y - 3) / 13.0f;
    return Mix(Rgb8(200, 220, 255), Rgb8(90, 130, 230), t);
  });
  Composite(art, letters, x, y);
}

RgbCanvas PaintBackdrop() {
  RgbCanvas art(kWidth, kHeight);
  NebulaColours nebula;
  nebula.top = Rgb8(2, 4, 16);
  nebula.bottom = Rgb8(6, 14, 34);
  nebula.cloudA = Rgb8(20, 90, 120);
  nebula.cloudB = Rgb8(90, 30, 120);
  nebula.density = 0.7f;
  PaintNebula(art, nebula, 101, 150.0f);
  PaintStars(art, 500, 4242, 0.9f);
  struct Floating {
    const char* shape[4];
    int colour;
    float x, y, block, angle, haze;
  };
  // In the corners and beside the rails, away from the texts.
  const Floating pieces[] = {
      {{"##..", "##..", "....", "...."}, 3, 40, 150, 14, 0.3f, 0.2f},
      {{"#...", "#...", "##..", "...."}, 2, 604, 170, 13, -0.5f, 0.25f},
      {{".##.", "##..", "....", "...."}, 4, 36, 372, 13, -0.35f, 0.3f},
      {{"....", "####", "....", "...."}, 5, 606, 380, 12, 1.35f, 0.3f},
      {{".#..", "###.", "....", "...."}, 7, 590, 20, 9, 0.7f, 0.5f},
      {{"##..", ".##.", "....", "...."}, 1, 52, 24, 9, -0.6f, 0.5f},
      {{".#..", ".#..", "##..", "...."}, 6, 600, 450, 10, 0.4f, 0.45f},
  };
  for (const Floating& p : pieces) {
    PaintFloatingPiece(art, p.shape, BlockColour(p.colour), p.x, p.y, p.block, p.angle, p.block * 0.45f, p.haze);
  }
  // The game's name, small, above the first rail.
  IndexCanvas cover;
  RgbCanvas logo = PaintBlockLogo(kWidth, 46, 4.6f, 5.0f, cover);
  for (int y = 0; y < logo.height; ++y) {
    for (int x = 0; x < logo.width; ++x) {
      if (cover.At(x, y)) art.At(x, y) = logo.At(x, y);
    }
  }
  for (int i = 0; i < 4; ++i) PaintRail(art, kStripTop + kStripStep * i);
  PaintHelp(art, "UP/DOWN - CHOOSE    SPACE/RETURN - SELECT    ESC - QUIT", 426);
  PaintHelp(art, "O - OPTIONS: KEYS, PADS, SCREEN, SOUND    PAD: A SELECT, Y OPTIONS", 448);
  return art;
}

}  // namespace

MenuPictures DrawMenuPictures() {
  RgbCanvas backdrop = PaintBackdrop();
  // Only the players' entry differs between the two pictures.
  const char* const entries[4] = {"NORMAL", "BLOB", "1 PLAYER", "QUIT"};
  for (int i : {0, 1, 3}) PaintEntry(backdrop, entries[i], kStripTop + kStripStep * i);
  RgbCanvas one = backdrop, two = backdrop;
  PaintEntry(one, entries[2], kStripTop + kStripStep * 2);
  PaintEntry(two, "2 PLAYERS", kStripTop + kStripStep * 2);
  MenuPictures out;
  out.palette.Set(0, Colour{});
  // Both pictures are shown with the first one's palette: choose it for both.
  ChoosePaletteColours({{&one, nullptr, 1.0f}, {&two, nullptr, 1.0f}}, out.palette, 1, 255);
  out.onePlayer = IndexCanvas(kWidth, kHeight);
  MapToPalette(one, nullptr, out.palette, 1, 255, 0.7f, out.onePlayer);
  // The second picture is the first with only the players' strip mapped anew.
  out.twoPlayers = out.onePlayer;
  IndexCanvas strip(kWidth, kHeight);
  strip.Fill(160, kStripTop + 2 * kStripStep, 480, kStripTop + 2 * kStripStep + kStripHeight, 1);
  MapToPalette(two, &strip, out.palette, 1, 255, 0.7f, out.twoPlayers);
  return out;
}

}  // namespace assets
