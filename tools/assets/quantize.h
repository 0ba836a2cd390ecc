// Turning true-colour pictures into palette pictures: choosing a set of
// palette colours for them (median cut, refined by a few k-means passes) and
// mapping every pixel to its nearest colour, with error diffusion when wanted.
#pragma once

#include <vector>

#include "tools/assets/canvas.h"

namespace assets {

// A picture that takes part in choosing colours; `mask`, when given, marks
// the pixels that count (nonzero) and those that are left out (0).
struct ColourSource {
  const RgbCanvas* picture = nullptr;
  const IndexCanvas* mask = nullptr;
  float weight = 1.0f;
};

// Chooses `count` colours for the sources and stores them at palette entries
// first .. first + count - 1.
void ChoosePaletteColours(const std::vector<ColourSource>& sources, Palette& palette, int first, int count);

// Maps `picture` onto the palette entries first .. first + count - 1 and
// writes the indices into `out` (same size) where `mask` is nonzero (or
// everywhere without a mask). `dither` 0 picks the nearest colour; up to 1
// spreads that much of each pixel's error onto its neighbours.
void MapToPalette(const RgbCanvas& picture, const IndexCanvas* mask, const Palette& palette, int first, int count,
                  float dither, IndexCanvas& out);

// The nearest of entries first .. first + count - 1 to `c`.
int NearestEntry(const Palette& palette, int first, int count, Colour c);

}  // namespace assets
