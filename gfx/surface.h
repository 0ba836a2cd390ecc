// Surfaces: rectangular buffers of 8-bit palette indices, and the blitter
// that copies and fills rectangles between them.
//
// The blitter keeps the rules of the display device the game was written
// for: a copy or fill whose rectangles are empty, inverted or not wholly
// inside their surfaces draws nothing and fails; a surface can be lost and
// must be restored; a busy blitter reports "still drawing".
#pragma once

#include <cstdint>
#include <memory>

struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;  // exclusive
  int32_t bottom = 0;  // exclusive
  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
};

enum class DrawResult { Ok, SurfaceLost, WasStillDrawing, Failed };

// The largest surface the game makes: pictures are limited to this size.
constexpr int kMaxSurfaceSide = 4096;

class Surface {
 public:
  Surface(int width, int height, std::unique_ptr<uint8_t[]> pixels);

  int Width() const { return width_; }
  int Height() const { return height_; }
  int Pitch() const { return width_; }
  uint8_t* Pixels() { return pixels_.get(); }
  const uint8_t* Pixels() const { return pixels_.get(); }
  uint8_t* Row(int y) { return pixels_.get() + static_cast<ptrdiff_t>(y) * width_; }
  const uint8_t* Row(int y) const { return pixels_.get() + static_cast<ptrdiff_t>(y) * width_; }

  // The one source colour key of keyed copies (the game always uses 0).
  void SetColourKey(uint8_t key) {
    hasColourKey_ = true;
    colourKey_ = key;
  }
  bool HasColourKey() const { return hasColourKey_; }
  uint8_t ColourKey() const { return colourKey_; }

  bool IsLost() const { return lost_; }
  // Gives a lost surface its memory back; the pixels are not reloaded.
  void Restore() { lost_ = false; }

  // What the display does to surfaces when the game loses the screen; tests
  // use these to check that every drawing operation recovers.
  void MarkLost() { lost_ = true; }
  void ReportStillDrawing(int calls) { busyCalls_ = calls; }

  // The blitter's check at the start of every call on this surface.
  DrawResult Check() {
    if (lost_) return DrawResult::SurfaceLost;
    if (busyCalls_ > 0) {
      --busyCalls_;
      return DrawResult::WasStillDrawing;
    }
    return DrawResult::Ok;
  }

 private:
  int width_;
  int height_;
  std::unique_ptr<uint8_t[]> pixels_;
  bool hasColourKey_ = false;
  uint8_t colourKey_ = 0;
  bool lost_ = false;
  int busyCalls_ = 0;
};

// A new surface of palette index 0, or null when the size is not 1 to
// kMaxSurfaceSide on each side or memory runs out.
Surface* CreateSurface(int width, int height);
// Releases a surface and nulls the pointer; null is ignored.
void ReleaseSurface(Surface*& surface);
// Tests make surface creation fail to check the callers' fallbacks.
void SetSurfaceCreationFailsForTests(bool fails);

// ---- the blitter ----

// Copies `source` of `src` to (x, y) of `dst`, same size; keyed copies skip
// pixels equal to the source's colour key.
DrawResult BlitFast(Surface* dst, int32_t x, int32_t y, Surface* src, const Rect& source, bool keyed);
// Copies `source` onto `dest`, stretching (nearest pixel) when the sizes differ.
DrawResult BlitStretch(Surface* dst, const Rect& dest, Surface* src, const Rect& source, bool keyed);
// Fills `area` of `dst` with one palette index.
DrawResult BlitFill(Surface* dst, const Rect& area, uint8_t colour);
