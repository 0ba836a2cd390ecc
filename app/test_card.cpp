#include "app/test_card.h"

#include "app/shell.h"
#include "gfx/blit.h"
#include "gfx/display.h"
#include "gfx/palette.h"
#include "platform/keys.h"

namespace {

// A palette with eight ramps of 32 steps: grey, red, green, blue, yellow,
// cyan, magenta, orange.
void MakeCardPalette(uint8_t* palette) {
  const int ramps[8][3] = {{1, 1, 1}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 0}, {0, 1, 1}, {1, 0, 1}, {2, 1, 0}};
  for (int i = 0; i < 256; ++i) {
    int ramp = i / 32, step = i % 32;
    int level = step * 63 / 31;
    for (int c = 0; c < 3; ++c) {
      int weight = ramps[ramp][c];
      palette[3 * i + c] = static_cast<uint8_t>(weight == 2 ? level : weight == 1 ? level : 0);
    }
    if (ramp == 7) palette[3 * i + 1] = static_cast<uint8_t>(level / 2);
  }
}

// A 64 x 64 picture: a ring of colours around a see-through middle.
Surface* MakeTarget() {
  Surface* target = CreateSurface(64, 64);
  if (!target) return nullptr;
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      int dx = x - 32, dy = y - 32, r2 = dx * dx + dy * dy;
      uint8_t colour = 0;
      if (r2 < 30 * 30) colour = static_cast<uint8_t>(32 + (r2 / 64) % 32 + 32 * ((x / 8 + y / 8) % 6));
      if (r2 < 12 * 12) colour = 0;
      target->Row(y)[x] = colour;
    }
  }
  target->SetColourKey(0);
  return target;
}

void DrawCard(Surface* target) {
  ClearBackBuffer(0);
  // All 256 colours, 16 x 16 swatches of 24 x 18 pixels in the middle.
  for (int i = 0; i < 256; ++i) {
    int x = 128 + (i % 16) * 24, y = 96 + (i / 16) * 18;
    FillBox(backBuffer, x, y, x + 22, y + 16, static_cast<uint8_t>(i));
  }
  // A chequered frame and diagonal stripes from fills alone.
  for (int i = 0; i < 40; ++i) {
    FillBox(backBuffer, i * 16, 0, i * 16 + 16, 8, static_cast<uint8_t>(i % 2 ? 31 : 0));
    FillBox(backBuffer, i * 16, 472, i * 16 + 16, 480, static_cast<uint8_t>(i % 2 ? 0 : 31));
  }
  for (int i = 0; i < 24; ++i) {
    FillBox(backBuffer, 136 + i * 16, 400 + (i % 4) * 4, 148 + i * 16, 440, static_cast<uint8_t>(64 + i));
  }
  if (!target) return;
  Image image(target, 0, 0, 64, 64);
  // Cut at each edge and at each corner: half of every target is off-screen.
  DrawImageKeyed(&image, backBuffer, -32, 208);
  DrawImageKeyed(&image, backBuffer, 608, 208);
  DrawImageKeyed(&image, backBuffer, 288, -32);
  DrawImageKeyed(&image, backBuffer, 288, 448);
  DrawImage(&image, backBuffer, -32, -32);
  DrawImage(&image, backBuffer, 608, -32);
  DrawImage(&image, backBuffer, -32, 448);
  DrawImage(&image, backBuffer, 608, 448);
  // Stretched to twice its width, cut on the left.
  DrawSurfaceRectScaled(backBuffer, -40, 390, 128, 64, Rect{0, 0, 64, 64}, target);
}

}  // namespace

void RunTestCard() {
  uint8_t palette[kPaletteBytes];
  uint8_t black[kPaletteBytes];
  MakeCardPalette(palette);
  ClearPalette(black);
  SetPalette(black);
  Surface* target = MakeTarget();
  DrawCard(target);
  ReleaseSurface(target);
  PresentFrame();
  FadeIn(palette);
  bool done = false;
  while (!done && !quitRequested) {
    PumpStep([&] { done = KeyDown(VK_ESCAPE); });
  }
  FadeOut(palette);
}
