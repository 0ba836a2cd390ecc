// The display path's hot spots: turning a frame of indices into window
// pixels, drawing a tile, restoring the background.
#include <benchmark/benchmark.h>

#include <vector>

#include "gfx/blit.h"
#include "gfx/display.h"
#include "platform/backend.h"
#include "platform/headless/headless_backend.h"

namespace {

void EnsureDisplay() {
  static bool ready = [] {
    platform::headless::StartForTests();
    return InitDisplay("Stakkorx", 8, 640, 480, 640, 480) == 1;
  }();
  if (!ready) std::abort();
}

void PaletteConversionOfAFullFrame(benchmark::State& state) {
  std::vector<uint8_t> frame(640 * 480);
  for (size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<uint8_t>(i * 7);
  uint8_t entries[256 * 4];
  for (int i = 0; i < 256 * 4; ++i) entries[i] = static_cast<uint8_t>(i);
  uint32_t palette[256];
  platform::detail::WidenPalette(entries, palette);
  std::vector<uint32_t> out(640 * 480);
  for (auto _ : state) {
    platform::detail::ConvertFrame(frame.data(), 640, palette, out.data(), 640);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(PaletteConversionOfAFullFrame);

void OpaqueTileCopy(benchmark::State& state) {
  EnsureDisplay();
  Surface* sheet = CreateSurface(40, 40);
  Image tile(sheet, 0, 0, 20, 20);
  int x = 0;
  for (auto _ : state) {
    DrawImage(&tile, backBuffer, 220 + x, 8);
    x = (x + 20) % 200;
  }
  ReleaseSurface(sheet);
}
BENCHMARK(OpaqueTileCopy);

void CopyScreenOfABackground(benchmark::State& state) {
  EnsureDisplay();
  Surface* background = CreateSurface(640, 480);
  for (auto _ : state) {
    CopyScreen(backBuffer, background);
    benchmark::DoNotOptimize(backBuffer->Pixels());
  }
  ReleaseSurface(background);
}
BENCHMARK(CopyScreenOfABackground);

}  // namespace
