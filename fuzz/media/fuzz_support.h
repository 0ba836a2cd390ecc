// The loaders read files by name from the current directory, so each input
// is written into a temporary directory of the fuzzer's own and the loaders
// run there. The directory is entered only while an input runs: libFuzzer
// keeps reading and writing its corpus by the paths it was given.
#pragma once

#include <cstddef>
#include <cstdint>

// Makes the directory (once) and sets the game's screen size.
void PrepareFuzzDirectory();

// Enters the directory for the lifetime of the object and writes the input
// under `name` there.
class FuzzInputFile {
 public:
  FuzzInputFile(const char* name, const uint8_t* data, size_t size);
  ~FuzzInputFile();
  FuzzInputFile(const FuzzInputFile&) = delete;
  FuzzInputFile& operator=(const FuzzInputFile&) = delete;
};
