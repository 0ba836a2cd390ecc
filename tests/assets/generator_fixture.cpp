#include "tests/assets/generator_fixture.h"

#include <gtest/gtest.h>

#include <map>

#include "gfx/display.h"
#include "gfx/image_loader.h"
#include "platform/platform.h"

namespace assets_test {
namespace {

constexpr size_t kLargestFile = 8u << 20;

const std::vector<uint8_t>& Cached(const std::string& path) {
  static std::map<std::string, std::vector<uint8_t>> files;
  auto found = files.find(path);
  if (found != files.end()) return found->second;
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(platform::ReadWholeFile(path, bytes, kLargestFile)) << "cannot read " << path;
  return files.emplace(path, std::move(bytes)).first->second;
}

}  // namespace

std::string DataPath(const std::string& name) { return std::string(STAKKOR_DATA_DIR) + "/" + name; }

const std::vector<uint8_t>& DataBytes(const std::string& name) { return Cached(DataPath(name)); }

const std::vector<uint8_t>& MusicMidi() { return Cached(STAKKOR_MUSIC_MIDI); }

void LoadPicture(const std::string& name, Picture& out) {
  static const bool display = InitDisplay("Stakkorx", 8, 640, 480, 640, 480) == 1;
  ASSERT_TRUE(display);
  ASSERT_EQ(LoadImageFile(DataPath(name).c_str(), &out.surface, out.palette), 1) << name;
  ASSERT_NE(out.surface, nullptr) << name;
}

}  // namespace assets_test
