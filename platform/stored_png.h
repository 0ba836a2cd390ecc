// PNG files made without a compression library: the image data goes into
// stored (uncompressed) deflate blocks. The files are larger than compressed
// ones and every PNG reader takes them; builds without libpng write their
// screenshots this way.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

enum class PngColour : uint8_t { Rgb = 2, Palette = 3 };

// A whole PNG file of 8-bit samples: `height` rows of `rowBytes` bytes from
// `rows`, 3 bytes a pixel for Rgb and 1 for Palette; `palette` holds red,
// green, blue per entry (Palette only). Empty for sizes a PNG cannot hold.
std::vector<uint8_t> EncodeStoredPng(int width, int height, PngColour colour, const uint8_t* rows, int rowBytes,
                                     const std::vector<uint8_t>& palette = {});

}  // namespace platform
