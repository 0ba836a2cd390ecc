// The settings file reader and writer on any bytes: reading never fails,
// writing keeps every line it does not own, and what is written reads back
// to the same settings and writes the same text again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/settings.h"

namespace {

bool Same(const Settings& a, const Settings& b) {
  if (std::memcmp(a.keys, b.keys, sizeof a.keys) != 0) return false;
  for (int k = 0; k < kPadActionCount; ++k) {
    for (int i = 0; i < kPadInputsPerAction; ++i) {
      if (!(a.pad[k][i] == b.pad[k][i])) return false;
    }
  }
  return a.integerScaling == b.integerScaling && a.fullscreen == b.fullscreen && a.musicVolume == b.musicVolume &&
         a.effectsVolume == b.effectsVolume && a.soundFont == b.soundFont;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> problems;
  const Settings read = ParseSettings(text, &problems);
  if (read.musicVolume < 0 || read.musicVolume > 100 || read.effectsVolume < 0 || read.effectsVolume > 100) std::abort();
  const std::string written = RenderSettings(text, read);
  // A value with a line break in it cannot come from one line of text, so
  // what was read always reads back the same.
  if (!Same(ParseSettings(written, nullptr), read)) std::abort();
  if (RenderSettings(written, read) != written) std::abort();
  return 0;
}
