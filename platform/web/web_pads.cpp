// The browser's gamepads sampled through Emscripten's Gamepad API calls,
// and the mapping database, which the browser has no use for.
#include <emscripten/html5.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/platform.h"
#include "platform/web/web_pads.h"

namespace platform::web {

PadSampling SampleBrowserPads(BrowserPads& pads) {
  if (emscripten_sample_gamepad_data() != EMSCRIPTEN_RESULT_SUCCESS) return PadSampling::NoGamepadApi;
  BrowserPadSample samples[kMaxPads * 2];
  int count = 0;
  const int listed = emscripten_get_num_gamepads();
  for (int k = 0; k < listed && count < kMaxPads * 2; ++k) {
    EmscriptenGamepadEvent state;
    if (emscripten_get_gamepad_status(k, &state) != EMSCRIPTEN_RESULT_SUCCESS || !state.connected) continue;
    BrowserPadSample& sample = samples[count++];
    sample = BrowserPadSample{};
    sample.index = state.index;
    sample.standard = std::strcmp(state.mapping, "standard") == 0;
    for (int b = 0; b < kStandardButtonCount && b < state.numButtons; ++b) sample.pressed[b] = state.digitalButton[b];
    if (state.numAxes >= 2) {
      sample.leftX = state.axis[0];
      sample.leftY = state.axis[1];
    }
  }
  return pads.Update(samples, count) ? PadSampling::Changed : PadSampling::Unchanged;
}

}  // namespace platform::web

namespace platform {

// The browser maps its pads itself; a mapping file is read, so that a
// broken one is noticed as natively, and otherwise left alone.
bool AddPadMappingsFromFile(const std::string& path) {
  std::vector<uint8_t> bytes;
  return ReadWholeFile(path, bytes, 4u << 20);
}

}  // namespace platform
