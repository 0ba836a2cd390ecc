// Drawing into surfaces: pictures cut into images of their own, copies that
// are clipped to the screen (opaque, keyed with index 0, stretched), the
// whole-screen copy and filled boxes.
#pragma once

#include <cstdint>

#include "gfx/surface.h"

// A picture cut out of a larger one (a tile, a border piece, a panel). It
// owns its surface, which carries the colour key 0.
class Image {
 public:
  // Copies the rectangle (x0, y0)-(x1, y1) of `source` into a new surface.
  Image(Surface* source, int32_t x0, int32_t y0, int32_t x1, int32_t y1);
  virtual ~Image();
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;

  Surface* surface = nullptr;
  int32_t width = 0;
  int32_t height = 0;
};

// A new image cut from `source`, or null when memory runs out.
Image* ImageFromSurface(Surface* source, int32_t x0, int32_t y0, int32_t x1, int32_t y1);

void DrawImage(const Image* image, Surface* dest, int32_t x, int32_t y);
void DrawImageKeyed(const Image* image, Surface* dest, int32_t x, int32_t y);
void DrawSurfaceRect(Surface* dest, int32_t x, int32_t y, const Rect& rect, Surface* source);
void DrawSurfaceRectKeyed(Surface* dest, int32_t x, int32_t y, const Rect& rect, Surface* source);
void DrawSurfaceRectScaled(Surface* dest, int32_t x, int32_t y, int32_t w, int32_t h, const Rect& rect,
                           Surface* source);
// The rectangle (0, 0, screenWidth, screenHeight) of `source` to (0, 0) of `dest`.
void CopyScreen(Surface* dest, Surface* source);
void FillBox(Surface* dest, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint8_t colour);
void ClearBackBuffer(uint8_t colour);
void SetColourKey(Surface* surface, uint8_t key);
