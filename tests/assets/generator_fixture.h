// The data files that the build generated (into the build's data/ folder),
// as the tests read them: by path, through the game's own readers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gfx/surface.h"

namespace assets_test {

// The path of a generated data file.
std::string DataPath(const std::string& name);
// Its bytes (read once); fails the test when it cannot be read.
const std::vector<uint8_t>& DataBytes(const std::string& name);
// The music as the standard MIDI file the build converted.
const std::vector<uint8_t>& MusicMidi();

// A picture loaded through the game's picture loader.
struct Picture {
  Surface* surface = nullptr;
  uint8_t palette[768] = {};
  Picture() = default;
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;
  ~Picture() { ReleaseSurface(surface); }
  uint8_t At(int x, int y) const { return surface->Row(y)[x]; }
};
// Loads a generated picture; fails the test when the loader refuses it.
void LoadPicture(const std::string& name, Picture& out);

}  // namespace assets_test
