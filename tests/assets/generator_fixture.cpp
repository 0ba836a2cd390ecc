#include "tests/assets/generator_fixture.h"

#include <gtest/gtest.h>

#include "gfx/display.h"
#include "platform/platform.h"

namespace assets_test {

const assets::GeneratedData& Generated() {
  static const assets::GeneratedData data = [] {
    assets::GeneratedData d = assets::GenerateAll();
    for (const assets::DataFile& file : d.files) {
      platform::WriteFileAtomically(GeneratedPath(file.name), file.bytes.data(), file.bytes.size());
    }
    return d;
  }();
  return data;
}

const std::vector<uint8_t>& FileBytes(const std::string& name) {
  static const std::vector<uint8_t> none;
  for (const assets::DataFile& file : Generated().files) {
    if (file.name == name) return file.bytes;
  }
  ADD_FAILURE() << name << " was not generated";
  return none;
}

std::string GeneratedPath(const std::string& name) { return name; }

void EnsureDisplay() {
  static const bool ready = InitDisplay("Stakkorx", 8, 640, 480, 640, 480) == 1;
  ASSERT_TRUE(ready);
}

}  // namespace assets_test
