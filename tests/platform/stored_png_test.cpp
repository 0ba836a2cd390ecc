// PNGs written without libpng must read back through libpng pixel for pixel,
// including pictures large enough to need several stored blocks.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "platform/png.h"
#include "platform/stored_png.h"

namespace platform {
namespace {

std::string WriteTemp(const std::vector<uint8_t>& bytes) {
  char pattern[] = "/tmp/stakkor-png-XXXXXX";
  const int fd = ::mkstemp(pattern);
  EXPECT_GE(fd, 0);
  ::close(fd);
  std::ofstream(pattern, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return pattern;
}

TEST(StoredPngTest, RgbReadsBackThroughLibpngAcrossBlocks) {
  // 300 x 200: 180200 bytes of rows, three stored blocks. A row pitch wider
  // than the picture must be skipped.
  const int width = 300, height = 200, pitch = width * 3 + 5;
  std::vector<uint8_t> rows(static_cast<size_t>(pitch) * height);
  for (size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<uint8_t>(i * 7 + i / 991);
  const std::string path = WriteTemp(EncodeStoredPng(width, height, PngColour::Rgb, rows.data(), pitch));
  RgbPicture read;
  ASSERT_TRUE(ReadPngRgb(path, read));
  std::remove(path.c_str());
  ASSERT_EQ(read.width, width);
  ASSERT_EQ(read.height, height);
  for (int y = 0; y < height; ++y) {
    ASSERT_TRUE(std::equal(read.rgb.begin() + y * width * 3, read.rgb.begin() + (y + 1) * width * 3,
                           rows.begin() + y * pitch))
        << "row " << y;
  }
}

TEST(StoredPngTest, PaletteReadsBackWithItsColours) {
  const std::vector<uint8_t> palette{0, 0, 0, 255, 0, 0, 0, 255, 0, 10, 20, 30};
  const std::vector<uint8_t> pixels{0, 1, 2, 3, 3, 2, 1, 0, 1, 1};
  const std::string path = WriteTemp(EncodeStoredPng(5, 2, PngColour::Palette, pixels.data(), 5, palette));
  IndexedPicture read;
  std::string error;
  ASSERT_TRUE(ReadPngIndexed(path, read, error)) << error;
  std::remove(path.c_str());
  EXPECT_EQ(read.width, 5);
  EXPECT_EQ(read.height, 2);
  EXPECT_EQ(read.pixels, pixels);
  EXPECT_EQ(read.palette, palette);
}

TEST(StoredPngTest, EmptyPictureSizesAndPalettesAreRefused) {
  const std::vector<uint8_t> pixels(64, 0);
  EXPECT_TRUE(EncodeStoredPng(0, 4, PngColour::Rgb, pixels.data(), 3).empty());
  EXPECT_TRUE(EncodeStoredPng(4, 4, PngColour::Rgb, pixels.data(), 11).empty());  // pitch shorter than a row
  EXPECT_TRUE(EncodeStoredPng(4, 4, PngColour::Palette, pixels.data(), 4).empty());  // no palette
  EXPECT_TRUE(EncodeStoredPng(4, 4, PngColour::Palette, pixels.data(), 4, std::vector<uint8_t>(4, 0)).empty());
  EXPECT_TRUE(EncodeStoredPng(4, 4, PngColour::Rgb, nullptr, 12).empty());
}

}  // namespace
}  // namespace platform
