// Writing pictures in the game's PIX format, for the converters and the
// asset generator.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The PIX run-length code of `count` pixels: runs of one value and
// literal stretches, the shortest the coder finds.
std::vector<uint8_t> EncodePixRle(const uint8_t* pixels, size_t count);

// A whole PIX file: header, length, pixel data (packed, or raw when packing
// does not make it smaller), then the 768-byte palette of 6-bit values.
std::vector<uint8_t> EncodePixFile(int width, int height, const uint8_t* pixels, const uint8_t palette[768]);
