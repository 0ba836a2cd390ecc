// PNG pictures for screenshots and the picture converters.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// A picture of 8-bit colour: 3 bytes a pixel, rows from the top.
struct RgbPicture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;
};

// A picture of palette indices with a palette of 8-bit components.
struct IndexedPicture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;    // width * height indices
  std::vector<uint8_t> palette;   // red, green, blue per entry; up to 256 entries
};

// A picture of 8-bit colour with coverage: 4 bytes a pixel (red, green,
// blue, alpha), rows from the top.
struct RgbaPicture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;
};

bool WritePngRgb(const std::string& path, const RgbPicture& picture);
bool WritePngRgba(const std::string& path, const RgbaPicture& picture);
bool WritePngIndexed(const std::string& path, const IndexedPicture& picture);

// Any PNG, turned into 8-bit RGB.
bool ReadPngRgb(const std::string& path, RgbPicture& picture);
// Only PNGs that are stored with a palette of at most 256 colours.
bool ReadPngIndexed(const std::string& path, IndexedPicture& picture, std::string& error);

}  // namespace platform
