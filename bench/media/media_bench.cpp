// Loading a full-screen packed picture and finding a member in an archive.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "gfx/display.h"
#include "media/archive_writer.h"
#include "media/data_file.h"
#include "gfx/image_loader.h"
#include "media/picture_readers.h"
#include "media/pix_writer.h"

namespace {

// A title-like picture: bands of colour with dithered edges and a noisy strip,
// so the code has runs and literals to deal with.
std::vector<uint8_t> ScreenPicture() {
  std::vector<uint8_t> pixels(640 * 480);
  uint32_t noise = 12345;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      noise = noise * 1103515245 + 12345;
      uint8_t value = static_cast<uint8_t>(16 + (x / 40 + y / 30) % 32);
      if ((x % 40) < 3 || (y >= 200 && y < 260)) value = static_cast<uint8_t>((noise >> 16) & 0xFF);
      pixels[static_cast<size_t>(y) * 640 + x] = value;
    }
  }
  return pixels;
}

// The files live in a temporary directory made once for the whole run.
void EnterBenchDirectory() {
  static bool done = false;
  if (done) return;
  done = true;
  screenWidth = 640;
  screenHeight = 480;
  static std::string directory = (std::filesystem::temp_directory_path() / "stakkor-bench-XXXXXX").string();
  if (!mkdtemp(directory.data())) std::abort();
  std::filesystem::current_path(directory);
  std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(directory, ignored);
  });

  const std::vector<uint8_t> pixels = ScreenPicture();
  std::vector<uint8_t> palette(768, 7);
  const std::vector<uint8_t> pix = EncodePixFile(640, 480, pixels.data(), palette.data());
  std::FILE* f = std::fopen("TITELS.PIX", "wb");
  std::fwrite(pix.data(), 1, pix.size(), f);
  std::fclose(f);

  std::vector<ArchiveMember> members;
  const std::vector<uint8_t> small(2000, 1);  // the lookup does not read the data
  for (int i = 0; i < 64; ++i) members.push_back(ArchiveMember{"MEMBER" + std::to_string(i) + ".PIX", small});
  const std::vector<uint8_t> archive = EncodeArchive(members);
  f = std::fopen("DATA.ONE", "wb");
  std::fwrite(archive.data(), 1, archive.size(), f);
  std::fclose(f);
}

void BM_DecodePixRle(benchmark::State& state) {
  const std::vector<uint8_t> pixels = ScreenPicture();
  const std::vector<uint8_t> packed = EncodePixRle(pixels.data(), pixels.size());
  std::vector<uint8_t> out(pixels.size());
  for (auto _ : state) {
    benchmark::DoNotOptimize(DecodePixRle(packed.data(), packed.size(), out.data(), out.size()));
  }
  state.counters["packed_bytes"] = static_cast<double>(packed.size());
}
BENCHMARK(BM_DecodePixRle)->Unit(benchmark::kMicrosecond);

// The whole load of a full-screen packed PIX from disk into a surface.
void BM_LoadFullScreenPix(benchmark::State& state) {
  EnterBenchDirectory();
  Surface* surface = CreateSurface(640, 480);
  uint8_t palette[768];
  for (auto _ : state) {
    if (LoadImageFile("TITELS.PIX", &surface, palette) != 1) state.SkipWithError("not loaded");
  }
  ReleaseSurface(surface);
}
BENCHMARK(BM_LoadFullScreenPix)->Unit(benchmark::kMicrosecond);

// The last of 64 members, through the game's lookup: loose file, ONLY.ONE,
// then DATA.ONE read entry by entry.
void BM_FindLastOf64Members(benchmark::State& state) {
  EnterBenchDirectory();
  for (auto _ : state) {
    std::FILE* f = OpenDataFile("member63.pix");
    if (!f) state.SkipWithError("not found");
    std::fclose(f);
  }
}
BENCHMARK(BM_FindLastOf64Members)->Unit(benchmark::kMicrosecond);

}  // namespace
