// The background music: an original piece for General MIDI instruments and
// drums, composed in code and written as a standard MIDI file that loops
// without a seam.
#pragma once

#include <cstdint>
#include <vector>

namespace assets {

std::vector<uint8_t> ComposeMusic();

}  // namespace assets
