#include "media/image_loader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "gfx/display.h"
#include "media/data_file.h"
#include "media/picture_readers.h"

namespace {

// No picture the game can show comes near this; larger files are not read.
constexpr uint32_t kMaxPictureFileSize = 64u << 20;

using PictureReader = bool (*)(PictureBytes, Picture&);

// The reader is chosen by the first of these texts found anywhere in the
// capitalised name, in this order; ".GIF" has no reader.
struct ReaderChoice {
  const char* text;
  PictureReader reader;
};
constexpr ReaderChoice kReaderChoices[] = {
    {".TGA", ReadTgaPicture}, {".PI1", ReadPi1Picture}, {".BMP", ReadBmpPicture}, {".PCX", ReadPcxPicture},
    {".PIC", ReadPicPicture}, {".GIF", nullptr},         {".PIX", ReadPixPicture},
};

PictureReader ChooseReader(const char* fileName) {
  std::string capitalised(fileName);
  for (char& c : capitalised) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  for (const ReaderChoice& choice : kReaderChoices) {
    if (capitalised.find(choice.text) != std::string::npos) return choice.reader;
  }
  return nullptr;
}

// The data of the file just opened: dataFileSize bytes from where the stream
// stands. False when it is too large or shorter than it said.
bool ReadData(std::FILE* stream, std::vector<uint8_t>& bytes) {
  const uint32_t size = dataFileSize;
  if (size > kMaxPictureFileSize) return false;
  bytes.resize(size);
  return size == 0 || std::fread(bytes.data(), 1, size, stream) == size;
}

// Row by row into the surface's top left; a surface smaller than the picture
// takes what fits. A lost surface cannot be written and keeps what it held.
void CopyIntoSurface(const Picture& picture, Surface& surface) {
  if (surface.IsLost()) return;
  const int width = std::min(picture.width, surface.Width());
  const int height = std::min(picture.height, surface.Height());
  for (int y = 0; y < height; ++y) {
    std::memcpy(surface.Row(y), picture.pixels.data() + static_cast<size_t>(y) * picture.width,
                static_cast<size_t>(width));
  }
}

}  // namespace

bool IsPictureSide(int64_t side) { return side >= 1 && side <= kMaxSurfaceSide; }

bool FitsScreenBuffer(int64_t width, int64_t height) {
  return screenWidth > 0 && screenHeight > 0 && width * height <= int64_t{screenWidth} * screenHeight;
}

int8_t LoadImageFile(const char* fileName, Surface** slot, uint8_t* palette) {
  if (!fileName || !slot) return 0;
  std::FILE* stream = OpenDataFile(fileName);
  if (!stream) return 0;
  const PictureReader reader = ChooseReader(fileName);
  std::vector<uint8_t> bytes;
  const bool haveData = reader && ReadData(stream, bytes);
  std::fclose(stream);
  if (!haveData) return 0;

  // Readers that leave palette entries alone leave the caller's as they were.
  Picture picture;
  if (palette) std::memcpy(picture.palette, palette, sizeof picture.palette);
  if (!reader(PictureBytes(bytes), picture)) return 0;

  if (!*slot) {
    *slot = CreateSurface(picture.width, picture.height);
    if (!*slot) return -2;
  }
  if (palette) std::memcpy(palette, picture.palette, sizeof picture.palette);
  CopyIntoSurface(picture, **slot);
  return 1;
}
