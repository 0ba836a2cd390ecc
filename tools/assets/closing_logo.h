// KVLOGO.PIX: the maker's logo shown when the game closes.
#pragma once

#include "tools/assets/canvas.h"

namespace assets {

struct ClosingLogo {
  IndexCanvas picture;  // 640 x 480
  Palette palette;
};

ClosingLogo DrawClosingLogo();

}  // namespace assets
