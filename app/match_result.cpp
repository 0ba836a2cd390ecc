#include "app/match_result.h"

#include <cstdio>
#include <cstring>

#include "app/shell.h"
#include "game/match_flags.h"
#include "game/play_assets.h"
#include "game/player_state.h"
#include "gfx/blit.h"
#include "gfx/display.h"
#include "gfx/font.h"
#include "platform/keys.h"

namespace {

void DrawBar(int32_t top, int32_t h) {
  for (int k = 0; k < 16; ++k) {
    FillBox(backBuffer, k, top + k, screenWidth - k, top + 2 * h - k, static_cast<uint8_t>(80 + k));
  }
}

void DrawWins(int player, int32_t wins, int32_t y, int32_t a) {
  char line[64];
  std::snprintf(line, sizeof line, english ? "PLAYER %d - %d" : "SPIELER %d - %d", player, wins);
  const int32_t length = static_cast<int32_t>(std::strlen(line));
  PrintText(font1, backBuffer, screenWidth / 2 - (a * length) / 2, y, line);
}

}  // namespace

void ShowMatchResult() {
  const int32_t h = font2 ? font2->drawHeight : 14;
  const int32_t a = font2 ? font2->advance : 16;
  const int32_t third = screenHeight / 3;
  DrawBar(third, h);
  DrawBar(2 * third, h);
  // A player's wins are the other player's losses.
  DrawWins(1, -players[1].losses, third + h / 2, a);
  DrawWins(2, -players[0].losses, 2 * third + h / 2, a);
  PresentFrame();
  // A pad's A, B or Start leaves as Space, Escape or Return do.
  WaitKeysUp({VK_SPACE, VK_ESCAPE, VK_RETURN, VK_GAMEPAD_A, VK_GAMEPAD_B, VK_GAMEPAD_MENU});
  while (!KeyDown(VK_SPACE) && !KeyDown(VK_ESCAPE) && !KeyDown(VK_RETURN) && !KeyDown(VK_GAMEPAD_A) &&
         !KeyDown(VK_GAMEPAD_B) && !KeyDown(VK_GAMEPAD_MENU) && !quitRequested) {
    PumpStep([] {});
  }
  // The key that ends the screen is let go before the menu polls: otherwise
  // the menu would take the same press as its own choice or as Escape.
  WaitKeysUp({VK_SPACE, VK_ESCAPE, VK_RETURN});
}
