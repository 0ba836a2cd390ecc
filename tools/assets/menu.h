// MENU1.PIX and MENU2.PIX: the menu for one and for two players, both in the
// palette of MENU1.PIX. Entry i is the strip x 160..480, y 48 + 98i ..
// 108 + 98i; the game stretches the chosen strip sideways to 260..419 pixels.
#pragma once

#include "tools/assets/canvas.h"

namespace assets {

struct MenuPictures {
  IndexCanvas onePlayer;
  IndexCanvas twoPlayers;
  Palette palette;
};

MenuPictures DrawMenuPictures();

}  // namespace assets
