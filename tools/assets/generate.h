// Everything the generator makes, in memory: the data files by name, the
// music as a standard MIDI file, and the pictures for the previews.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/assets/preview.h"

namespace assets {

struct DataFile {
  std::string name;
  std::vector<uint8_t> bytes;
};

struct GeneratedData {
  std::vector<DataFile> files;   // every file that goes into the game's data, in a fixed order
  std::vector<uint8_t> midi;     // the music, to be turned into MUSIC.MDS
  Artwork art;
};

GeneratedData GenerateAll();

}  // namespace assets
