#include "media/wave_loader.h"

#include <cstdio>
#include <new>

#include "media/data_file.h"
#include "media/file_error.h"

bool LoadWaveFile(const char* fileName, std::vector<uint8_t>& image, WaveInfo& info) {
  image.clear();
  info = WaveInfo{};
  std::FILE* file = OpenDataFile(fileName);
  if (!file) {
    ShowFileError(fileName, "Error reading file");
    return false;
  }
  // An effect larger than this is no effect of the game's; it stays silent.
  if (dataFileSize > kMaxWaveFileBytes) {
    std::fclose(file);
    return false;
  }
  try {
    image.resize(dataFileSize);
  } catch (const std::bad_alloc&) {
    std::fclose(file);
    return false;
  }
  // A file shorter than its directory says is parsed as far as it goes.
  image.resize(std::fread(image.data(), 1, image.size(), file));
  std::fclose(file);
  if (!ParseWaveImage(image.data(), image.size(), &info.format, &info.data, &info.dataSize, &info.formatSize)) {
    image.clear();
    return false;
  }
  return true;
}
