#include "tools/assets/blocks.h"

#include <algorithm>
#include <cmath>

#include "tools/assets/display_letters.h"
#include "tools/assets/palettes.h"
#include "tools/assets/quantize.h"
#include "tools/assets/shading.h"

namespace assets {
namespace {

constexpr int kBevel = 3;  // bevel pixels inside the one-pixel outline

// Which shade a pixel of a closed side takes, by side and depth (0 = outline).
int SideShade(int side, int depth) {
  if (depth == 0) return kOutline;
  switch (side) {
    case kTopClosed: return depth == 1 ? kHighlight : kLight;
    case kLeftClosed: return kLight;
    case kRightClosed: return depth == 1 ? kDark : kShadow;
    default: return kDark;  // bottom
  }
}

}  // namespace

IndexCanvas DrawBlockTile(int colour, int mask) {
  IndexCanvas tile(kTileSize, kTileSize);
  const int last = kTileSize - 1;
  for (int y = 0; y < kTileSize; ++y) {
    for (int x = 0; x < kTileSize; ++x) {
      // Distance to each closed side; open sides run on into the next block.
      struct Side {
        int bit, distance;
      } sides[4] = {{kTopClosed, y}, {kLeftClosed, x}, {kRightClosed, last - x}, {kBottomClosed, last - y}};
      int best = -1, bestDistance = kTileSize;
      for (int i = 0; i < 4; ++i) {
        if (!(mask & sides[i].bit)) continue;
        // On a corner's diagonal the lit sides (top, left) win over the dark ones.
        if (sides[i].distance < bestDistance) {
          best = i;
          bestDistance = sides[i].distance;
        }
      }
      int shade = kFace;
      if (best >= 0 && bestDistance <= kBevel) shade = SideShade(sides[best].bit, bestDistance);
      tile.At(x, y) = static_cast<uint8_t>(BlockIndex(colour, shade));
    }
  }
  // Round the outer corners where two closed sides meet: the corner pixel
  // shows the empty well.
  const int corners[4][3] = {{kTopClosed | kLeftClosed, 0, 0},
                             {kTopClosed | kRightClosed, last, 0},
                             {kBottomClosed | kLeftClosed, 0, last},
                             {kBottomClosed | kRightClosed, last, last}};
  for (const auto& corner : corners) {
    if ((mask & corner[0]) == corner[0]) tile.At(corner[1], corner[2]) = kWellFirst + 0;
  }
  // A glint on the top left corner of a shape.
  if ((mask & (kTopClosed | kLeftClosed)) == (kTopClosed | kLeftClosed)) {
    tile.At(5, 5) = static_cast<uint8_t>(BlockIndex(colour, kHighlight));
    tile.At(6, 5) = static_cast<uint8_t>(BlockIndex(colour, kLight));
    tile.At(5, 6) = static_cast<uint8_t>(BlockIndex(colour, kLight));
  }
  return tile;
}

IndexCanvas DrawEmptyTile() {
  IndexCanvas tile(kTileSize, kTileSize, kWellFirst + 1);
  // A faint recessed grid: dark on the top and left, a little light on the
  // bottom and right, so the cells read without drawing attention.
  for (int i = 0; i < kTileSize; ++i) {
    tile.At(i, 0) = kWellFirst + 0;
    tile.At(0, i) = kWellFirst + 0;
    tile.At(i, kTileSize - 1) = kWellFirst + 2;
    tile.At(kTileSize - 1, i) = kWellFirst + 2;
  }
  tile.At(0, kTileSize - 1) = kWellFirst + 0;
  tile.At(kTileSize - 1, 0) = kWellFirst + 0;
  return tile;
}

IndexCanvas DrawSideBar() {
  // A steel rod: lit a little left of its middle.
  const int shades[kSideBarWidth] = {5, 14, 11, 3};
  IndexCanvas bar(kSideBarWidth, kSideBarHeight);
  for (int y = 0; y < kSideBarHeight; ++y) {
    for (int x = 0; x < kSideBarWidth; ++x) bar.At(x, y) = static_cast<uint8_t>(kSteelFirst + shades[x]);
  }
  return bar;
}

IndexCanvas DrawBottomBar() {
  const int shades[kBottomBarHeight] = {14, 11, 6, 2};
  IndexCanvas bar(kBottomBarWidth, kBottomBarHeight);
  for (int y = 0; y < kBottomBarHeight; ++y) {
    for (int x = 0; x < kBottomBarWidth; ++x) bar.At(x, y) = static_cast<uint8_t>(kSteelFirst + shades[y]);
  }
  // The ends meet the side rods: shade them like the rods.
  const int rod[kSideBarWidth] = {5, 14, 11, 3};
  for (int y = 0; y < kBottomBarHeight - 1; ++y) {
    for (int x = 0; x < kSideBarWidth; ++x) {
      int shade = std::min(rod[x], 14 - 4 * y);
      bar.At(x, y) = static_cast<uint8_t>(kSteelFirst + std::max(shade, 2));
      bar.At(kBottomBarWidth - kSideBarWidth + x, y) = static_cast<uint8_t>(kSteelFirst + std::max(shade, 2));
    }
  }
  return bar;
}

IndexCanvas DrawGameOverPanel(Palette& palette) {
  const int scale = 4, w = kPanelWidth, h = kPanelHeight;
  RgbCanvas art(w, h);
  // The plate: a rounded rectangle with a bevelled steel rim.
  IndexCanvas plate(w * scale, h * scale);
  auto roundedBox = [&](IndexCanvas& mask, float x0, float y0, float x1, float y1, float r) {
    FillBox(mask, (x0 + r) * scale, y0 * scale, (x1 - r) * scale, y1 * scale);
    FillBox(mask, x0 * scale, (y0 + r) * scale, x1 * scale, (y1 - r) * scale);
    FillCircle(mask, (x0 + r) * scale, (y0 + r) * scale, r * scale);
    FillCircle(mask, (x1 - r) * scale, (y0 + r) * scale, r * scale);
    FillCircle(mask, (x0 + r) * scale, (y1 - r) * scale, r * scale);
    FillCircle(mask, (x1 - r) * scale, (y1 - r) * scale, r * scale);
  };
  roundedBox(plate, 0, 0, w, h, 14);
  Layer rim = PaintBevelled(plate, scale, 5.0f, false, [](const Surfel& s) {
    return Chrome(s, 0.1f, Rgb8(236, 240, 255), Rgb8(70, 76, 100), Rgb8(150, 156, 176), Rgb8(255, 255, 255));
  });
  Composite(art, rim, 0, 0);
  // The glass: sunk into the plate, dark red shading to black.
  IndexCanvas glass(w * scale, h * scale);
  roundedBox(glass, 8, 8, w - 8, h - 8, 8);
  Layer pane = PaintBevelled(glass, scale, 3.0f, false, [](const Surfel& s) {
    float t = s.y / kPanelHeight;
    Colour base = Mix(Rgb8(64, 8, 16), Rgb8(10, 2, 8), std::pow(t, 0.7f));
    // Sunk, so its edge is lit from below right.
    Surfel in = s;
    in.nx = -s.nx;
    in.ny = -s.ny;
    Colour c = Shade(base, in, 0.55f, 0.0f, 1.0f);
    // A soft reflection across the upper part.
    float sheen = 0.10f * std::max(0.0f, 1.0f - std::fabs(s.y - 30.0f - 0.25f * s.x) / 14.0f);
    return Add(c, Colour{sheen, sheen, sheen * 1.1f});
  });
  Composite(art, pane, 0, 0);
  // The words, in fiery metal with a dark rim.
  TextStyle style;
  style.pixelWidth = 2.4f;
  style.pixelHeight = 3.0f;
  style.gap = 1.5f;
  style.round = 0.9f;
  style.pad = 4;
  style.scale = scale;
  const char* words[2] = {"GAME", "OVER"};
  for (int line = 0; line < 2; ++line) {
    TextMask text = LayOutText(words[line], style);
    IndexCanvas body = Grow(text.fine, 0.7f * scale);
    int x = (w - text.width) / 2, y = 26 + line * 44 - style.pad;
    IndexCanvas rimMask = Grow(body, 2.0f * scale);
    Layer dark = PaintBevelled(rimMask, scale, 1.0f, false, [](const Surfel&) { return Rgb8(16, 2, 4); });
    Composite(art, dark, x, y);
    const float top = static_cast<float>(style.pad), bottom = style.pad + 10 * style.pixelHeight;
    Layer letters = PaintBevelled(body, scale, 1.6f, false, [top, bottom](const Surfel& s) {
      float level = 0.9f - 1.9f * (s.y - top) / (bottom - top);
      return Chrome(s, level, Rgb8(255, 250, 200), Rgb8(140, 16, 8), Rgb8(255, 176, 40), Rgb8(255, 255, 230));
    });
    Composite(art, letters, x, y);
  }
  // Everything the plate does not cover stays see-through.
  IndexCanvas cover = CoverageMask(rim, 0.5f);
  IndexCanvas panel(w, h);
  IndexCanvas rimOnly(w, h);
  IndexCanvas glassCover = CoverageMask(pane, 0.01f);
  for (size_t i = 0; i < rimOnly.pixels.size(); ++i) rimOnly.pixels[i] = cover.pixels[i] && !glassCover.pixels[i];
  // The rim takes the steel ramp; glass and letters get colours of their own.
  ChoosePaletteColours({{&art, &glassCover, 1.0f}}, palette, kPanelFirst, kPanelCount);
  MapToPalette(art, &rimOnly, palette, kSteelFirst, kSteelCount, 0.0f, panel);
  MapToPalette(art, &glassCover, palette, kPanelFirst, kPanelCount, 0.35f, panel);
  for (size_t i = 0; i < panel.pixels.size(); ++i) {
    if (!cover.pixels[i]) panel.pixels[i] = 0;
  }
  return panel;
}

IndexCanvas DrawBlockSheet(Palette& palette) {
  IndexCanvas sheet(kSheetWidth, kSheetHeight);
  for (int colour = 1; colour <= 7; ++colour) {
    for (int variant = 0; variant < 17; ++variant) {
      // Variant 16 is never drawn; it shows the free-standing block.
      sheet.Paste(DrawBlockTile(colour, variant == 16 ? 15 : variant), variant * kTileSize, (colour - 1) * kTileSize);
    }
  }
  sheet.Paste(DrawEmptyTile(), kEmptyTileX, kEmptyTileY);
  sheet.Paste(DrawSideBar(), kSideBarX, 0);
  sheet.Paste(DrawBottomBar(), kBottomBarX, 0);
  sheet.Paste(DrawGameOverPanel(palette), kPanelX, kPanelY);
  return sheet;
}

}  // namespace assets
