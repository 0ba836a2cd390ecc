// The picture readers, one per format. Each is handed the bytes of one data
// file (a loose file, or an archive member from its first byte to its last)
// and the size of the screen, and fills `picture`; false when the bytes are
// not a whole picture that it reads, and then nothing of `picture` is to be
// used.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// One palette index per pixel, rows back to back from the top, and the
// 768-byte palette of 6-bit red, green, blue.
struct Picture {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> pixels;
  uint8_t palette[768] = {};
};

using PictureBytes = std::span<const uint8_t>;

// The screen the pictures are shown on. Full-screen formats (PIC, PIX
// without a header) have its size; the TGA, PCX, PI1 and BMP readers decode
// into a buffer of its size.
struct ScreenSize {
  int32_t width = 0;
  int32_t height = 0;
};

// The largest picture side the game reads (and the largest surface it makes).
constexpr int kMaxPictureSide = 4096;

// Expands the PIX run-length code: a control byte 0x80..0xFF repeats the next
// byte (control - 0x80) times, 0x00..0x7F copies that many bytes. Returns the
// bytes written, or -1 when a token reaches past the packed data or the
// output would not fit into `destSize`.
ptrdiff_t DecodePixRle(const uint8_t* packed, size_t packedLength, uint8_t* dest, size_t destSize);

// The game's own PIX pictures, with their header or without (full screen).
bool ReadPixPicture(PictureBytes file, const ScreenSize& screen, Picture& picture);
// A raw screen dump: the screen's width x height pixels, then the palette.
bool ReadPicPicture(PictureBytes file, const ScreenSize& screen, Picture& picture);
// Uncompressed 24-bit TGA; the palette is built from the colours met.
bool ReadTgaPicture(PictureBytes file, const ScreenSize& screen, Picture& picture);
// Uncompressed 8-bit BMP; rows beyond the screen's height or width are left 0
// or cut.
bool ReadBmpPicture(PictureBytes file, const ScreenSize& screen, Picture& picture);
// 8-bit single-plane PCX with the 256-colour palette at its end.
bool ReadPcxPicture(PictureBytes file, const ScreenSize& screen, Picture& picture);
// Low-resolution PI1: 320 x 200 in 16 colours.
bool ReadPi1Picture(PictureBytes file, const ScreenSize& screen, Picture& picture);

// The TGA, PCX and PI1 readers decode into a buffer of the screen's size,
// so their pictures may hold no more pixels than the screen.
bool FitsScreenBuffer(int64_t width, int64_t height, const ScreenSize& screen);
// A picture side the game can make a surface for: 1 to kMaxPictureSide.
bool IsPictureSide(int64_t side);
