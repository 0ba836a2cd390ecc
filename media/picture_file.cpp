#include "media/picture_file.h"

#include <cstdio>
#include <string>
#include <vector>

#include "media/data_file.h"

namespace {

// No picture the game can show comes near this; larger files are not read.
constexpr uint32_t kMaxPictureFileSize = 64u << 20;

using PictureReader = bool (*)(PictureBytes, const ScreenSize&, Picture&);

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

}  // namespace

bool IsPictureSide(int64_t side) { return side >= 1 && side <= kMaxPictureSide; }

bool FitsScreenBuffer(int64_t width, int64_t height, const ScreenSize& screen) {
  return screen.width > 0 && screen.height > 0 && width * height <= int64_t{screen.width} * screen.height;
}

bool ReadPictureFile(const char* fileName, const ScreenSize& screen, Picture& picture) {
  if (!fileName) return false;
  std::FILE* stream = OpenDataFile(fileName);
  if (!stream) return false;
  const PictureReader reader = ChooseReader(fileName);
  std::vector<uint8_t> bytes;
  const bool haveData = reader && ReadData(stream, bytes);
  std::fclose(stream);
  return haveData && reader(PictureBytes(bytes), screen, picture);
}
