// The PIX run-length decoder on its own: the first two bytes give the room
// for the output, the rest is packed data.
#include <cstdint>
#include <vector>

#include "media/picture_readers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const size_t room = data[0] | (data[1] << 8);
  std::vector<uint8_t> out(room);
  const ptrdiff_t written = DecodePixRle(data + 2, size - 2, out.data(), out.size());
  if (written < -1 || written > static_cast<ptrdiff_t>(room)) __builtin_trap();
  return 0;
}
