// The replay reader on any bytes. Each input is read twice: as it is (the
// checksum turns almost everything away) and with its last four bytes made
// the checksum of the rest, so that the reader's every field and every run
// is reached. What reads as a replay must write back to the same bytes, and
// short ones are played through the rules.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "app/replay_check.h"
#include "game/replay_format.h"
#include "platform/headless/headless_backend.h"

namespace {

void ReadAndPlay(const std::vector<uint8_t>& bytes) {
  Replay replay;
  if (DecodeReplay(bytes.data(), bytes.size(), replay)) return;
  if (EncodeReplay(replay) != bytes) std::abort();
  if (replay.stepCount <= 4000) CheckReplay(replay);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool started = (platform::headless::StartForTests(), true);
  (void)started;
  std::vector<uint8_t> bytes(data, data + size);
  ReadAndPlay(bytes);
  if (size >= 4) {
    const uint32_t crc = Crc32(bytes.data(), size - 4);
    for (int i = 0; i < 4; ++i) bytes[size - 4 + i] = static_cast<uint8_t>(crc >> (8 * i));
    ReadAndPlay(bytes);
  }
  return 0;
}
