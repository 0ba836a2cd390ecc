#include "gfx/surface.h"

#include <cstring>
#include <new>

namespace {

bool surfaceCreationFails = false;

bool ValidIn(const Rect& r, const Surface& s) {
  return r.left >= 0 && r.top >= 0 && r.left < r.right && r.top < r.bottom && r.right <= s.Width() &&
         r.bottom <= s.Height();
}

// Copies one row. Tiles and glyphs are narrow: two overlapping fixed-size
// moves beat a call into the library's general copy for them.
inline void CopyRow(uint8_t* to, const uint8_t* from, size_t width) {
  if (width >= 16 && width <= 32) {
    std::memcpy(to, from, 16);
    std::memcpy(to + width - 16, from + width - 16, 16);
  } else if (width >= 8 && width < 16) {
    std::memcpy(to, from, 8);
    std::memcpy(to + width - 8, from + width - 8, 8);
  } else {
    std::memcpy(to, from, width);
  }
}

DrawResult CheckBoth(Surface* dst, Surface* src) {
  DrawResult r = dst->Check();
  if (r != DrawResult::Ok) return r;
  return src->Check();
}

}  // namespace

Surface::Surface(int width, int height, std::unique_ptr<uint8_t[]> pixels)
    : width_(width), height_(height), pixels_(std::move(pixels)) {}

Surface* CreateSurface(int width, int height) {
  if (surfaceCreationFails) return nullptr;
  if (width <= 0 || height <= 0 || width > kMaxSurfaceSide || height > kMaxSurfaceSide) return nullptr;
  std::unique_ptr<uint8_t[]> pixels(new (std::nothrow) uint8_t[static_cast<size_t>(width) * height]());
  if (!pixels) return nullptr;
  return new (std::nothrow) Surface(width, height, std::move(pixels));
}

void ReleaseSurface(Surface*& surface) {
  delete surface;
  surface = nullptr;
}

void SetSurfaceCreationFailsForTests(bool fails) { surfaceCreationFails = fails; }

DrawResult BlitFast(Surface* dst, int32_t x, int32_t y, Surface* src, const Rect& source, bool keyed) {
  if (!dst || !src) return DrawResult::Failed;
  if (DrawResult r = CheckBoth(dst, src); r != DrawResult::Ok) return r;
  if (!ValidIn(source, *src)) return DrawResult::Failed;
  // In 64 bits: a position far outside the screen must fail, not wrap.
  const int64_t right = int64_t{x} + source.Width(), bottom = int64_t{y} + source.Height();
  if (x < 0 || y < 0 || right > dst->Width() || bottom > dst->Height()) return DrawResult::Failed;
  const int32_t width = source.Width();
  const bool skip = keyed && src->HasColourKey();
  const uint8_t key = src->ColourKey();
  const uint8_t* from = src->Row(source.top) + source.left;
  uint8_t* to = dst->Row(y) + x;
  const int32_t height = source.Height();
  if (!skip && src != dst) {
    for (int32_t row = 0; row < height; ++row, from += src->Pitch(), to += dst->Pitch()) {
      CopyRow(to, from, static_cast<size_t>(width));
    }
  } else if (!skip) {
    // Within one surface the rectangles may overlap: keep the order safe.
    for (int32_t row = 0; row < height; ++row) {
      int32_t r = y > source.top ? height - 1 - row : row;
      std::memmove(dst->Row(y + r) + x, src->Row(source.top + r) + source.left, static_cast<size_t>(width));
    }
  } else {
    for (int32_t row = 0; row < height; ++row, from += src->Pitch(), to += dst->Pitch()) {
      for (int32_t i = 0; i < width; ++i) {
        if (from[i] != key) to[i] = from[i];
      }
    }
  }
  return DrawResult::Ok;
}

DrawResult BlitStretch(Surface* dst, const Rect& dest, Surface* src, const Rect& source, bool keyed) {
  if (!dst || !src) return DrawResult::Failed;
  if (DrawResult r = CheckBoth(dst, src); r != DrawResult::Ok) return r;
  if (!ValidIn(source, *src) || !ValidIn(dest, *dst)) return DrawResult::Failed;
  if (dest.Width() == source.Width() && dest.Height() == source.Height()) {
    return BlitFast(dst, dest.left, dest.top, src, source, keyed);
  }
  const bool skip = keyed && src->HasColourKey();
  const uint8_t key = src->ColourKey();
  // The nearest source pixel of destination pixel d is d * s / D, rounded
  // down; it is stepped to without a division per pixel (the menu
  // stretches its highlight every frame).
  const int64_t dw = dest.Width(), dh = dest.Height(), sw = source.Width(), sh = source.Height();
  int64_t sy = 0, ry = 0;  // source row of dy, and the remainder of dy * sh / dh
  for (int64_t dy = 0; dy < dh; ++dy) {
    const uint8_t* from = src->Row(static_cast<int>(source.top + sy)) + source.left;
    uint8_t* to = dst->Row(static_cast<int>(dest.top + dy)) + dest.left;
    int64_t sx = 0, rx = 0;
    for (int64_t dx = 0; dx < dw; ++dx) {
      const uint8_t pixel = from[sx];
      if (!skip || pixel != key) to[dx] = pixel;
      for (rx += sw; rx >= dw; rx -= dw) ++sx;
    }
    for (ry += sh; ry >= dh; ry -= dh) ++sy;
  }
  return DrawResult::Ok;
}

DrawResult BlitFill(Surface* dst, const Rect& area, uint8_t colour) {
  if (!dst) return DrawResult::Failed;
  if (DrawResult r = dst->Check(); r != DrawResult::Ok) return r;
  if (!ValidIn(area, *dst)) return DrawResult::Failed;
  for (int32_t y = area.top; y < area.bottom; ++y) {
    std::memset(dst->Row(y) + area.left, colour, static_cast<size_t>(area.Width()));
  }
  return DrawResult::Ok;
}
