// HINTER.PIX: the play background, under the wells of both kinds of match,
// the texts beside them, the hiscore table and the result screen.
#pragma once

#include "tools/assets/canvas.h"

namespace assets {

// Paints the background and fills entries 128..255 of the game palette
// (the fixed entries must already be set).
IndexCanvas DrawPlayBackground(Palette& palette);

}  // namespace assets
