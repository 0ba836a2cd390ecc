#include "app/title.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/shell.h"
#include "game/match_flags.h"
#include "game/play_assets.h"
#include "gfx/blit.h"
#include "gfx/display.h"
#include "gfx/font.h"
#include "gfx/palette.h"
#include "media/data_file.h"
#include "gfx/image_loader.h"
#include "platform/keys.h"

uint8_t* scrollText = nullptr;
int32_t scrollLength = 0;
int32_t scrollPos = 0;
int32_t scrollStep = 0;
int32_t slideY = 0;

namespace {

constexpr int32_t kLogoHeight = 200;
constexpr int32_t kLogoRestY = 100;  // the slide stops once the logo passes this
// A scroller text longer than this is cut: it is meant to be read in a
// few minutes, not to fill the memory.
constexpr uint32_t kMaxScrollBytes = 1 << 20;

// A step of the title's animations comes when more than 25 ms have passed;
// the wait after the pass sleeps until the next one is due.
bool StepDue(uint32_t& lastStep) {
  const bool due = timeGetTime() - lastStep > 25;
  if (due) lastStep = timeGetTime();
  platform::WakeAt(lastStep + 26);
  return due;
}

bool AnyKeyDown(std::initializer_list<int> keys) {
  for (int key : keys) {
    if (KeyDown(key)) return true;
  }
  return false;
}

void SlideLogo(Surface* title, Surface* logo) {
  uint32_t lastStep = timeGetTime();
  while (slideY < kLogoRestY &&
         !AnyKeyDown({VK_SPACE, VK_ESCAPE, VK_RETURN, '1', '2', 'B', VK_GAMEPAD_A, VK_GAMEPAD_MENU}) && !quitRequested) {
    PumpStep([&] {
      if (!StepDue(lastStep)) return;
      slideY += 8;
      // The title picture above and under the logo, then the logo itself.
      DrawSurfaceRect(backBuffer, 0, 0, Rect{0, 0, screenWidth, slideY + kLogoHeight}, title);
      DrawSurfaceRectKeyed(backBuffer, 0, slideY, Rect{0, 0, 640, kLogoHeight}, logo);
      PresentRect(0, 0, Rect{0, 0, screenWidth, slideY + kLogoHeight});
    });
  }
}

void ScrollerStep() {
  const int32_t h = font2 ? font2->drawHeight : 14;
  const int32_t a = font2 && font2->advance > 0 ? font2->advance : 16;
  if (slideY > screenHeight - h) slideY -= 1;  // the line rises from the bottom edge
  const int32_t count = screenWidth / a + 2;
  char line[1024];
  MakeScrollLine(line, count < 1023 ? count : 1023);
  PrintTextOpaque(font1, backBuffer, 8, slideY, line);
  if (slideY == screenHeight - h) {
    scrollStep += 2;
    if (scrollStep > a) {
      scrollStep = 0;
      scrollPos += 1;
      if (scrollPos > scrollLength) scrollPos = 0;
    }
  }
  PresentRect(2, slideY, Rect{2, slideY, screenWidth - 4, screenHeight});
}

void RunScroller() {
  // The window was closed after shutdown had begun: nothing can be shown
  // and no key can come, so the run ends.
  if (!mainWindow) return;
  quitRequested = 0;
  LoadScrollText();
  scrollPos = 0;
  scrollStep = 0;
  slideY = screenHeight;
  uint32_t lastStep = timeGetTime();
  while (!AnyKeyDown({VK_SPACE, VK_ESCAPE, VK_RETURN, VK_GAMEPAD_A, VK_GAMEPAD_MENU}) && !quitRequested) {
    // Unlike the other screens the scroller keeps polling while the game
    // is in the background instead of waiting for a message.
    if (!HandleWaitingMessage() && appActive && StepDue(lastStep)) {
      ScrollerStep();
    }
    platform::Wait();
  }
  // Closing the window during the title does not end the run, as it never
  // did; once the screen itself is gone it does.
  if (mainWindow) quitRequested = 0;
  std::free(scrollText);
  scrollText = nullptr;
  scrollLength = 0;
}

}  // namespace

void MakeScrollLine(char* line, int32_t count) {
  int32_t i = 0;
  for (; i < count && scrollPos + i < scrollLength; ++i) line[i] = static_cast<char>(scrollText[scrollPos + i]);
  // The rest of the line is blank, so the end of the text does not leave
  // the characters of the step before standing to its right.
  for (; i < count; ++i) line[i] = ' ';
  line[count] = '\0';
}

void LoadScrollText() {
  std::free(scrollText);
  scrollText = nullptr;
  scrollLength = 0;
  std::FILE* file = OpenDataFile("SCROLL.TXT");
  if (!file) return;
  uint32_t size = dataFileSize < kMaxScrollBytes ? dataFileSize : kMaxScrollBytes;
  scrollText = static_cast<uint8_t*>(std::malloc(size > 0 ? size : 1));
  if (scrollText) {
    for (uint32_t i = 0; i < size; ++i) {
      int c = std::fgetc(file);
      if (c == EOF) break;
      if (c >= 32) scrollText[scrollLength++] = static_cast<uint8_t>(c);
    }
  }
  std::fclose(file);
}

void RunTitleSequence() {
  uint8_t palette[kPaletteBytes];
  ClearPalette(palette);
  SetPalette(palette);
  Surface* logo = nullptr;
  Surface* title = nullptr;
  LoadImageFile("PCBLOKS.PIX", &logo, palette);
  SetColourKey(logo, 0);
  LoadImageFile("TITELS.PIX", &title, nullptr);
  CopyScreen(backBuffer, title);
  PresentFrame();
  slideY = -kLogoHeight;
  FadeIn(palette);
  SlideLogo(title, logo);
  ReleaseSurface(title);
  ReleaseSurface(logo);

  blobStyle = 0;
  if (KeyDown('1')) {
    playerCount = 1;
  } else if (KeyDown('2')) {
    playerCount = 2;
  } else if (KeyDown('B')) {
    blobStyle = 1;
  } else if (KeyDown(VK_ESCAPE)) {
    quitRequested = 1;
  } else {
    RunScroller();
  }
  // A pad's A and Start act as Return at the title.
  WaitKeysUp({VK_RETURN, VK_SPACE, VK_GAMEPAD_A, VK_GAMEPAD_MENU});
}

void ShowClosingLogo() {
  // With the window gone (closed after shutdown had begun) no key can ever
  // come: the logo is skipped and the run ends.
  if (!mainWindow) {
    quitRequested = 1;
    return;
  }
  uint8_t palette[kPaletteBytes];
  ClearPalette(palette);
  SetPalette(palette);
  ClearBackBuffer(0);
  PresentFrame();
  Surface* picture = nullptr;
  LoadImageFile("KVLOGO.PIX", &picture, palette);
  SetPalette(palette);
  if (picture) {
    // One plain copy of the whole picture, cut to what the picture has.
    Rect all{0, 0, picture->Width() < 640 ? picture->Width() : 640, picture->Height() < 480 ? picture->Height() : 480};
    BlitFast(backBuffer, 0, 0, picture, all, false);
  }
  ReleaseSurface(picture);
  PresentFrame();
  WaitKeysUp({VK_SPACE, VK_ESCAPE, VK_RETURN, VK_GAMEPAD_A, VK_GAMEPAD_B, VK_GAMEPAD_MENU});
  quitRequested = 0;  // the logo waits for its key also when the run ends on a quit request
  while (!AnyKeyDown({VK_SPACE, VK_ESCAPE, VK_RETURN, VK_GAMEPAD_A, VK_GAMEPAD_B, VK_GAMEPAD_MENU}) &&
         !quitRequested) {
    PumpStep([] {});
  }
  FadeOut(palette);
  quitRequested = 1;
}
