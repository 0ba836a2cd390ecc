// The title sequence's pictures: PCBLOKS.PIX, the logo that slides in, and
// TITELS.PIX, the picture behind it. Both share the title palette.
#pragma once

#include "tools/assets/canvas.h"

namespace assets {

struct TitlePictures {
  IndexCanvas logo;   // 640 x 200, index 0 see-through
  IndexCanvas title;  // 640 x 480, the bottom 14 rows dark for the scroller
  Palette palette;
};

TitlePictures DrawTitlePictures();

// STAKKOR in letters built of the game's blocks, each letter in one block
// colour, merged into one bevelled shape, pushed out in depth and ringed by
// a dark rim; `block` pixels a block, the letters' top at `top`. `cover`
// receives the pixels the logo covers.
RgbCanvas PaintBlockLogo(int canvasWidth, int canvasHeight, float block, float top, IndexCanvas& cover);

}  // namespace assets
