// Pictures of the game's screens composed from the generated files the way
// the game draws them, for looking at the art: the play screens, the title,
// the menu with each entry lit, the hiscore table, the result screen and the
// closing logo, written as PNG files.
#pragma once

#include <string>

#include "tools/assets/canvas.h"

namespace assets {

struct Artwork {
  IndexCanvas font1, font2;
  IndexCanvas background, sheet;
  IndexCanvas logo, title, closingLogo, menu1, menu2;
  Palette gamePalette, titlePalette, closingPalette, menuPalette;
};

// Draws `text` the way the game's fonts do: cells of 16 x 14, squeezed or
// stretched to `advance` pixels, keyed (index 0 see-through) or opaque.
void PrintPreviewText(const IndexCanvas& font, IndexCanvas& dest, int x, int y, const std::string& text, int advance,
                      bool opaque);

// Writes the preview PNGs into `directory`; false when one could not be written.
bool WritePreviews(const Artwork& art, const std::string& directory);

}  // namespace assets
