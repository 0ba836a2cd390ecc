#include "gfx/blit.h"

#include <algorithm>
#include <new>

#include "gfx/display.h"

namespace {

// A lost surface is restored and the copy tried again; a busy blitter is
// tried again at once. The old game retried without end; a surface that
// cannot come back would hang it, so the tries are bounded.
constexpr int kDrawTries = 100;

template <typename Call, typename Restore>
void Retry(Call call, Restore restore) {
  for (int tries = 0; tries < kDrawTries; ++tries) {
    DrawResult result = call();
    if (result == DrawResult::SurfaceLost) {
      restore();
    } else if (result != DrawResult::WasStillDrawing) {
      return;  // done, or failed for good: the frame lacks this piece
    }
  }
}

void RestoreIf(Surface* surface) {
  if (surface) surface->Restore();
}

// The clipping of the positioned copies: the picture of size w x h at
// (x, y) is cut to the screen on every side. Returns false when nothing of
// it is on the screen.
bool ClipToScreen(int32_t& x, int32_t& y, Rect& source) {
  const int64_t w = source.Width(), h = source.Height();
  if (w <= 0 || h <= 0) return false;
  if (x >= screenWidth || y >= screenHeight || x + w <= 0 || y + h <= 0) return false;
  if (x < 0) {
    source.left -= x;
    x = 0;
  }
  if (y < 0) {
    source.top -= y;
    y = 0;
  }
  // The right and bottom cuts are measured from the clamped position, so a
  // picture cut on both sides of an axis fills the screen to its edge.
  source.right = static_cast<int32_t>(std::min<int64_t>(source.right, source.left + (screenWidth - x)));
  source.bottom = static_cast<int32_t>(std::min<int64_t>(source.bottom, source.top + (screenHeight - y)));
  return source.left < source.right && source.top < source.bottom;
}

void DrawImageWith(const Image* image, Surface* dest, int32_t x, int32_t y, bool keyed) {
  if (!image || !image->surface || !dest) return;
  Rect source{0, 0, image->width, image->height};
  if (!ClipToScreen(x, y, source)) return;
  Retry([&] { return BlitFast(dest, x, y, image->surface, source, keyed); },
        [&] {
          RestoreIf(dest);
          RestoreIf(image->surface);
        });
}

void DrawSurfaceRectWith(Surface* dest, int32_t x, int32_t y, const Rect& rect, Surface* source, bool keyed) {
  if (!dest || !source) return;
  Rect clipped = rect;
  if (!ClipToScreen(x, y, clipped)) return;
  if (keyed) {
    Retry([&] { return BlitFast(dest, x, y, source, clipped, true); }, [&] { RestoreIf(source); });
  } else {
    Retry([&] { return BlitFast(dest, x, y, source, clipped, false); },
          [&] {
            RestoreIf(source);
            RestoreIf(dest);
          });
  }
}

}  // namespace

Image::Image(Surface* source, int32_t x0, int32_t y0, int32_t x1, int32_t y1) : width(x1 - x0), height(y1 - y0) {
  surface = CreateSurface(width, height);
  if (!surface) return;
  // One try, as the start-up loader does: a failed copy leaves index 0.
  BlitFast(surface, 0, 0, source, Rect{x0, y0, x1, y1}, false);
  surface->SetColourKey(0);
}

Image::~Image() { ReleaseSurface(surface); }

Image* ImageFromSurface(Surface* source, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  return new (std::nothrow) Image(source, x0, y0, x1, y1);
}

void DrawImage(const Image* image, Surface* dest, int32_t x, int32_t y) { DrawImageWith(image, dest, x, y, false); }

void DrawImageKeyed(const Image* image, Surface* dest, int32_t x, int32_t y) {
  DrawImageWith(image, dest, x, y, true);
}

void DrawSurfaceRect(Surface* dest, int32_t x, int32_t y, const Rect& rect, Surface* source) {
  DrawSurfaceRectWith(dest, x, y, rect, source, false);
}

void DrawSurfaceRectKeyed(Surface* dest, int32_t x, int32_t y, const Rect& rect, Surface* source) {
  DrawSurfaceRectWith(dest, x, y, rect, source, true);
}

void DrawSurfaceRectScaled(Surface* dest, int32_t x, int32_t y, int32_t w, int32_t h, const Rect& rect,
                           Surface* source) {
  if (!dest || !source) return;
  if (x > screenWidth || y > screenHeight || int64_t{x} + w < 0 || int64_t{y} + h < 0) return;
  Rect d{x, y, static_cast<int32_t>(std::min<int64_t>(int64_t{x} + w, INT32_MAX)),
         static_cast<int32_t>(std::min<int64_t>(int64_t{y} + h, INT32_MAX))};
  Rect s = rect;
  // Whatever the scale, as many pixels are cut from the source as from the
  // destination.
  if (x < 0) {
    d.left = 0;
    s.left -= x;
  }
  if (y < 0) {
    d.top = 0;
    s.top -= y;
  }
  if (d.right > screenWidth) {
    s.right -= d.right - screenWidth;
    d.right = screenWidth;
  }
  if (d.bottom > screenHeight) {
    s.bottom -= d.bottom - screenHeight;
    d.bottom = screenHeight;
  }
  Retry([&] { return BlitStretch(dest, d, source, s, false); }, [&] { RestoreIf(source); });
}

void CopyScreen(Surface* dest, Surface* source) {
  if (!dest || !source) return;
  Rect all{0, 0, screenWidth, screenHeight};
  Retry([&] { return BlitFast(dest, 0, 0, source, all, false); }, [&] { RestoreIf(source); });
}

void FillBox(Surface* dest, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint8_t colour) {
  if (!dest) return;
  // Clamped on every side, also for a box that sticks out on both sides.
  x0 = std::max(x0, 0);
  y0 = std::max(y0, 0);
  x1 = std::min(x1, screenWidth);
  y1 = std::min(y1, screenHeight);
  Rect area{x0, y0, x1, y1};
  Retry([&] { return BlitFill(dest, area, colour); }, [&] { RestoreIf(dest); });
}

void ClearBackBuffer(uint8_t colour) { FillBox(backBuffer, 0, 0, screenWidth, screenHeight, colour); }

void SetColourKey(Surface* surface, uint8_t key) {
  if (surface) surface->SetColourKey(key);
}
