#include "gfx/display.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "gfx/blit.h"
#include "platform/platform.h"

int mainWindow = 0;
DisplayDevice* directDraw = nullptr;
Surface* primarySurface = nullptr;
Surface* backBuffer = nullptr;
DisplayPalette* displayPalette = nullptr;
int32_t screenWidth = 0;
int32_t screenHeight = 0;
int32_t modeWidth = 0;
int32_t modeHeight = 0;
int32_t bitsPerPixel = 0;
int32_t sineTable[451];

namespace {

constexpr char kCaption[] = "Direct Draw";
// How often a copy to the screen is tried before the frame is given up; the
// old game tried forever and could hang on a rectangle the screen refuses.
constexpr int kPresentTries = 100;

// Result codes of the display device, as the old game's messages name them.
constexpr uint32_t DDERR_GENERIC = 0x80004005;
constexpr uint32_t DDERR_UNSUPPORTED = 0x80004001;
constexpr uint32_t DDERR_UNSUPPORTEDMODE = 0x8876024E;

void BuildSineTable() {
  for (int i = 0; i <= 450; ++i) {
    double radians = (i * 3.14) * (1.0 / 180.0);
    sineTable[i] = static_cast<int32_t>(std::sin(radians) * 65536.0);
  }
}

int Fail(const char* message) {
  platform::ShowPointer(true);
  ShowDisplayError(message, kCaption);
  return 0;
}

// The part of the screen that copying `rect` of the back buffer to (x, y)
// would change: the bounds of the pixels that differ. Empty when the copy
// changes nothing, so that a screen presented again as it is costs no
// refresh of the window.
Rect ChangedPart(int32_t x, int32_t y, const Rect& rect) {
  const bool inside = rect.left >= 0 && rect.top >= 0 && rect.right <= backBuffer->Width() &&
                      rect.bottom <= backBuffer->Height() && x >= 0 && y >= 0 &&
                      x + rect.Width() <= primarySurface->Width() && y + rect.Height() <= primarySurface->Height();
  if (!inside || rect.Width() <= 0 || rect.Height() <= 0) return Rect{x, y, x + rect.Width(), y + rect.Height()};
  Rect changed{x + rect.Width(), y + rect.Height(), x, y};  // inverted: nothing yet
  const size_t width = static_cast<size_t>(rect.Width());
  for (int32_t row = 0; row < rect.Height(); ++row) {
    const uint8_t* from = backBuffer->Row(rect.top + row) + rect.left;
    const uint8_t* to = primarySurface->Row(y + row) + x;
    if (std::memcmp(from, to, width) == 0) continue;
    int32_t first = 0, last = rect.Width() - 1;
    while (from[first] == to[first]) ++first;
    while (from[last] == to[last]) --last;
    changed.left = std::min(changed.left, x + first);
    changed.right = std::max(changed.right, x + last + 1);
    changed.top = std::min(changed.top, y + row);
    changed.bottom = std::max(changed.bottom, y + row + 1);
  }
  return changed;
}

// Copies `rect` of the back buffer to (x, y) of the logical screen,
// restoring lost surfaces, until it succeeds.
void CopyToScreen(int32_t x, int32_t y, const Rect& rect) {
  if (!primarySurface || !backBuffer) return;
  const int32_t offsetX = (modeWidth - screenWidth) / 2, offsetY = (modeHeight - screenHeight) / 2;
  const Rect changed = ChangedPart(x + offsetX, y + offsetY, rect);
  for (int tries = 0; tries < kPresentTries; ++tries) {
    DrawResult result = BlitFast(primarySurface, x + offsetX, y + offsetY, backBuffer, rect, false);
    if (result == DrawResult::Ok) {
      if (changed.Width() > 0 && changed.Height() > 0) {
        platform::MarkScreenChanged(changed.left, changed.top, changed.Width(), changed.Height());
      }
      return;
    }
    if (result == DrawResult::SurfaceLost) {
      primarySurface->Restore();
      backBuffer->Restore();
    }
  }
}

}  // namespace

const char* CooperativeLevelMessage(uint32_t result) {
  switch (result) {
    case 0x88760245: return "SetCooperativeLevel failed!\nAlready set EXCLUSIVEMODE!";
    case 0x8876023B: return "SetCooperativeLevel failed!\nAlready set HWND!";
    case 0x8876023A: return "SetCooperativeLevel failed!\nHWND subclassed!";
    case 0x88760082: return "SetCooperativeLevel failed!\nInvalid object!";
    case 0x80070057: return "SetCooperativeLevel failed!\nInvalid params!";
    case 0x8007000E: return "SetCooperativeLevel failed!\nOut of memory!";
    default: return nullptr;
  }
}

const char* DisplayModeMessage(uint32_t result) {
  switch (result) {
    case 0: return nullptr;
    case DDERR_GENERIC: return "SetDisplayMode failed!\n1";
    case 0x88760078: return "SetDisplayMode failed!\n2";
    case 0x88760082: return "SetDisplayMode failed!\n3";
    case 0x80070057: return "SetDisplayMode failed!\n4";
    case 0x887600A0: return "SetDisplayMode failed!\n5";
    case 0x887600E1: return "SetDisplayMode failed!\n6";
    case 0x887601AE: return "SetDisplayMode failed!\n7";
    case DDERR_UNSUPPORTED: return "SetDisplayMode failed!\n8";
    case DDERR_UNSUPPORTEDMODE: return "SetDisplayMode failed!\n9";
    case 0x8876021C: return "SetDisplayMode failed!\n10";
    default: return "SetDisplayMode failed!";
  }
}

int InitDisplay(const char* title, int32_t bits, int32_t width, int32_t height, int32_t modeW, int32_t modeH) {
  BuildSineTable();
  screenWidth = width;
  screenHeight = height;
  modeWidth = modeW;
  modeHeight = modeH;
  bitsPerPixel = bits;

  // The screen of this machine is always the 640 x 480 palette screen;
  // anything else is a mode the device does not have.
  if (bits != 8 || modeW != platform::kScreenWidth || modeH != platform::kScreenHeight || width > modeW ||
      height > modeH || width <= 0 || height <= 0) {
    return Fail(DisplayModeMessage(DDERR_UNSUPPORTEDMODE));
  }
  primarySurface = CreateSurface(modeW, modeH);
  backBuffer = CreateSurface(modeW, modeH);
  if (!primarySurface || !backBuffer) {
    ReleaseSurface(primarySurface);
    ReleaseSurface(backBuffer);
    return Fail(DisplayModeMessage(DDERR_GENERIC));
  }
  switch (platform::OpenScreen(title, primarySurface->Pixels(), primarySurface->Pitch())) {
    case platform::ScreenError::None: break;
    case platform::ScreenError::VideoInit: return Fail("Cannot be initialized!");
    case platform::ScreenError::Window: return Fail(DisplayModeMessage(DDERR_UNSUPPORTEDMODE));
    case platform::ScreenError::Renderer: return Fail(DisplayModeMessage(DDERR_UNSUPPORTED));
  }
  static DisplayDevice device;
  directDraw = &device;
  mainWindow = 1;
  platform::ShowPointer(false);
  ClearBackBuffer(0);
  PresentFrame();
  return 1;
}

void ShutdownDisplay() {
  if (mainWindow) platform::CloseScreen();
  mainWindow = 0;
  ReleaseSurface(backBuffer);
  ReleaseSurface(primarySurface);
  delete displayPalette;
  displayPalette = nullptr;
  directDraw = nullptr;
}

void PresentFrame() { CopyToScreen(0, 0, Rect{0, 0, screenWidth, screenHeight}); }

void PresentRect(int32_t x, int32_t y, const Rect& rect) { CopyToScreen(x, y, rect); }

void ShowDisplayError(const char* text, const char* caption) {
  platform::ShowPointer(true);
  platform::ShowMessageBox(text, caption, platform::BoxButtons::Ok);
  platform::ShowPointer(false);
}

int KeyDown(int virtualKey) { return platform::IsKeyHeld(virtualKey) ? 1 : 0; }
