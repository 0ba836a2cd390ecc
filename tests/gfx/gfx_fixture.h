// A display on the headless backend with known pixels in the back buffer.
#pragma once

#include <gtest/gtest.h>

#include "gfx/blit.h"
#include "gfx/display.h"
#include "platform/headless/headless_backend.h"

class DisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::StartForTests();
    ASSERT_EQ(InitDisplay("Stakkorx", 8, 640, 480, 640, 480), 1);
  }
  void TearDown() override { ShutdownDisplay(); }

  static uint8_t At(const Surface* s, int x, int y) { return s->Row(y)[x]; }

  // A w x h surface whose pixel (x, y) is 1 + x + y * w (mod 255, never 0).
  static Surface* Numbered(int w, int h) {
    Surface* s = CreateSurface(w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) s->Row(y)[x] = static_cast<uint8_t>(1 + (x + y * w) % 255);
    return s;
  }
};
