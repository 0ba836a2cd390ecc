#include "app/menu.h"

#include "app/options_screen.h"
#include "app/shell.h"
#include "game/match_flags.h"
#include "gfx/blit.h"
#include "gfx/display.h"
#include "gfx/palette.h"
#include "gfx/image_loader.h"
#include "platform/keys.h"

int32_t menuPulse = 0;

namespace {

constexpr int kEntryCount = 4;
constexpr int kPlayersEntry = 2;
constexpr int kQuitEntry = 3;
constexpr int32_t kStripLeft = 160, kStripWidth = 320, kStripHeight = 60;
// Opens the options (named in the menu picture's legend); no screen of the
// old game took it.
constexpr int kOptionsKey = 'O';

// The highlight's width changes every few milliseconds; a frame of it is
// drawn about as often as a screen shows one.
constexpr uint32_t kHighlightFrameMs = 16;

int32_t StripTop(int32_t entry) { return 48 + 98 * entry; }

void ShowPicture(Surface* picture) {
  CopyScreen(backBuffer, picture);
  PresentFrame();
}

void Redraw(Surface* picture) {
  ShowPicture(picture);
  CopyScreen(backBuffer, picture);
}

// The highlight pulses with the time the menu is shown: each pass adds the
// milliseconds it stood for (one, when passes come every millisecond).
void DrawHighlight(int32_t selection, Surface* picture) {
  menuPulse += static_cast<int32_t>(platform::PassMilliseconds());
  const int32_t w = HighlightWidth(menuPulse);
  const int32_t x = screenWidth / 2 - w / 2, y = StripTop(selection);
  const Rect strip{kStripLeft, y, kStripLeft + kStripWidth, y + kStripHeight};
  DrawSurfaceRectScaled(backBuffer, x, y, w, kStripHeight, strip, picture);
  PresentRect(x, y, Rect{x, y, x + w, y + kStripHeight});
}

}  // namespace

int32_t HighlightWidth(int32_t pulse) {
  int32_t degree = (pulse / 4) % 180;
  if (degree < 0) degree += 180;  // the count wraps after months of menu
  return 260 + ((sineTable[degree] * 160) >> 16);
}

void RunMenu() {
  uint8_t palette[kPaletteBytes];
  ClearPalette(palette);
  Surface* menu1 = nullptr;
  Surface* menu2 = nullptr;
  LoadImageFile("MENU1.PIX", &menu1, palette);
  LoadImageFile("MENU2.PIX", &menu2, nullptr);
  ClearBackBuffer(0);
  PresentFrame();
  SetPalette(palette);
  auto picture = [&] { return playerCount == 2 ? menu2 : menu1; };
  ShowPicture(picture());
  int32_t selection = 0;

  for (;;) {
    // A pad's A (or Start) chooses, its D-pad or stick moves.
    const bool chosen = KeyDown(VK_SPACE) || KeyDown(VK_RETURN) || KeyDown(VK_GAMEPAD_A) || KeyDown(VK_GAMEPAD_MENU);
    if (chosen && selection != kPlayersEntry) break;
    if (quitRequested || KeyDown(VK_ESCAPE)) break;
    if (HandleWaitingMessage()) {
      platform::Wait();
      continue;
    }
    if (!appActive) {
      platform::WaitMessage();
      platform::Wait();
      continue;
    }
    if (KeyDown(VK_UP) || KeyDown(VK_GAMEPAD_DPAD_UP)) {
      selection = selection == 0 ? kEntryCount - 1 : selection - 1;
      Redraw(picture());
      WaitKeysUp({VK_UP, VK_GAMEPAD_DPAD_UP});
    } else if (KeyDown(VK_DOWN) || KeyDown(VK_GAMEPAD_DPAD_DOWN)) {
      selection = (selection + 1) % kEntryCount;
      Redraw(picture());
      WaitKeysUp({VK_DOWN, VK_GAMEPAD_DPAD_DOWN});
    } else if (chosen) {
      playerCount = playerCount == 2 ? 1 : 2;
      Redraw(picture());
      WaitKeysUp({VK_SPACE, VK_RETURN, VK_GAMEPAD_A, VK_GAMEPAD_MENU});
    } else if (KeyDown(kOptionsKey) || KeyDown(VK_GAMEPAD_Y)) {
      RunOptionsScreen();
      if (quitRequested) break;
      SetPalette(palette);
      Redraw(picture());
      WaitKeysUp({kOptionsKey, VK_GAMEPAD_Y});
    }
    DrawHighlight(selection, picture());
    platform::WakeAt(timeGetTime() + kHighlightFrameMs);
    platform::Wait();
  }

  ReleaseSurface(menu1);
  ReleaseSurface(menu2);
  const bool escape = KeyDown(VK_ESCAPE);
  if (selection == 0 && !escape) {
    blobStyle = 0;
  } else if (selection == 1 && !escape) {
    blobStyle = 1;
  } else if (escape || selection == kQuitEntry) {
    quitRequested = 1;
    WaitKeysUp({VK_ESCAPE});
  }
}
