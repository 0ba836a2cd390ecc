// The display: the game's window with its 640 x 480 screen of palette
// indices, the back buffer every frame is composed in, presenting, the
// warning box, the shared sine table and the keyboard poll.
#pragma once

#include <cstdint>

#include "gfx/surface.h"

// Stands for the display device while it is set up.
struct DisplayDevice {};
// The palette object attached to the screen (see gfx/palette.h).
struct DisplayPalette {
  uint8_t entries[256 * 4];
};

extern int mainWindow;  // 1 while the window is open
extern DisplayDevice* directDraw;
extern Surface* primarySurface;
extern Surface* backBuffer;
extern DisplayPalette* displayPalette;
extern int32_t screenWidth;
extern int32_t screenHeight;
extern int32_t modeWidth;
extern int32_t modeHeight;
extern int32_t bitsPerPixel;
// sin(i * 3.14 / 180) * 65536 truncated, i = 0..450: degrees in 16.16 fixed
// point, made with 3.14 as the game always had it (sineTable[180] is 104).
extern int32_t sineTable[451];

// Opens the window and the screen. 1 when ready; 0 after a failure has been
// shown in a "Direct Draw" message box.
int InitDisplay(const char* title, int32_t bits, int32_t width, int32_t height, int32_t modeW, int32_t modeH);
void ShutdownDisplay();

// Copies the whole back buffer to the screen.
void PresentFrame();
// Copies one rectangle of the back buffer to (x, y) of the screen.
void PresentRect(int32_t x, int32_t y, const Rect& rect);

// A warning box over the display, with the pointer shown while it is open.
void ShowDisplayError(const char* text, const char* caption);

// 1 when the key (a virtual-key code) is held down now, else 0.
int KeyDown(int virtualKey);

// The warning texts of the display set-up, by the device's result codes.
// Null where the result lets start-up go on.
const char* CooperativeLevelMessage(uint32_t result);
const char* DisplayModeMessage(uint32_t result);
