#include "gfx/font.h"

#include "gfx/image_loader.h"

namespace {

constexpr uint8_t kFirstGlyph = 32;   // the space is cell 0
constexpr uint8_t kLastGlyph = 127;

// Each glyph is one keyed or opaque copy, tried once: a glyph whose cell is
// not wholly inside the destination (or whose source is not wholly inside
// the font picture) is not drawn, and the text goes on with the next.
void DrawText(const BitmapFont* font, Surface* dest, int32_t x, int32_t y, const char* text, bool keyed) {
  if (!font || !font->surface || !dest || !text || font->glyphsPerRow <= 0) return;
  for (int64_t i = 0; text[i] != '\0'; ++i) {
    const uint8_t c = static_cast<uint8_t>(text[i]);
    if (c < kFirstGlyph || c > kLastGlyph) continue;  // an empty cell
    const int64_t cell = c - kFirstGlyph;
    const int64_t column = cell % font->glyphsPerRow, row = cell / font->glyphsPerRow;
    const int64_t sourceLeft = column * font->cellWidth, sourceTop = font->gridTop + row * font->cellHeight;
    const int64_t destLeft = x + i * font->advance;
    const int64_t limits[] = {sourceLeft, sourceTop, sourceLeft + font->cellWidth, sourceTop + font->cellHeight,
                              destLeft,   destLeft + font->advance, int64_t{y} + font->drawHeight};
    bool representable = true;
    for (int64_t v : limits) representable = representable && v >= INT32_MIN && v <= INT32_MAX;
    if (!representable) continue;  // far outside every surface
    const Rect source{static_cast<int32_t>(sourceLeft), static_cast<int32_t>(sourceTop),
                      static_cast<int32_t>(sourceLeft + font->cellWidth),
                      static_cast<int32_t>(sourceTop + font->cellHeight)};
    const Rect target{static_cast<int32_t>(destLeft), y, static_cast<int32_t>(destLeft + font->advance),
                      static_cast<int32_t>(y + int64_t{font->drawHeight})};
    BlitStretch(dest, target, font->surface, source, keyed);
  }
}

}  // namespace

BitmapFont* FontInit(BitmapFont* font, const char* fileName, int32_t gridTop, uint8_t firstChar, int32_t cellWidth,
                     int32_t cellHeight) {
  if (!font) return font;
  font->gridTop = gridTop;
  font->firstCharOffset = firstChar == 0 ? 0 : static_cast<uint8_t>(firstChar - kFirstGlyph);
  font->cellWidth = cellWidth;
  font->advance = cellWidth;
  font->cellHeight = cellHeight;
  font->drawHeight = cellHeight;
  font->surface = nullptr;
  font->glyphsPerRow = 0;
  LoadImageFile(fileName, &font->surface, nullptr);
  // Without its picture the font draws nothing.
  if (font->surface) {
    if (cellWidth > 0) font->glyphsPerRow = font->surface->Width() / cellWidth;
    font->surface->SetColourKey(0);
  }
  return font;
}

void FontRelease(BitmapFont* font) {
  if (font) ReleaseSurface(font->surface);
}

void PrintText(const BitmapFont* font, Surface* dest, int32_t x, int32_t y, const char* text) {
  DrawText(font, dest, x, y, text, true);
}

void PrintTextOpaque(const BitmapFont* font, Surface* dest, int32_t x, int32_t y, const char* text) {
  DrawText(font, dest, x, y, text, false);
}
