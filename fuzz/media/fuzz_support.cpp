#include "fuzz/media/fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "gfx/display.h"
#include "platform/platform.h"

namespace {

std::filesystem::path fuzzDirectory;
std::filesystem::path callerDirectory;

}  // namespace

void PrepareFuzzDirectory() {
  screenWidth = platform::kScreenWidth;
  screenHeight = platform::kScreenHeight;
  if (!fuzzDirectory.empty()) return;
  std::string pattern = (std::filesystem::temp_directory_path() / "stakkor-fuzz-XXXXXX").string();
  if (!mkdtemp(pattern.data())) std::abort();
  fuzzDirectory = pattern;
  std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(fuzzDirectory, ignored);
  });
}

FuzzInputFile::FuzzInputFile(const char* name, const uint8_t* data, size_t size) {
  PrepareFuzzDirectory();
  callerDirectory = std::filesystem::current_path();
  std::filesystem::current_path(fuzzDirectory);
  // A new file each time: rewriting a truncated one makes the file system
  // flush it on close, which slows a run down a hundredfold.
  std::remove(name);
  std::FILE* file = std::fopen(name, "wb");
  if (!file) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
  std::fclose(file);
}

FuzzInputFile::~FuzzInputFile() { std::filesystem::current_path(callerDirectory); }
