#include "media/midi_programs.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr uint32_t kEventHeaderBytes = 12;
constexpr uint32_t kEventLong = 0x80;
constexpr uint32_t kEventCallbackFlag = 0x40;
constexpr int kDrumChannel = 9;
// A buffer chain longer than this is cut: the music of a game is a few
// hundred buffers, a hostile chain must not run the scan forever.
constexpr int kMaxBuffers = 1 << 16;

uint32_t ReadU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace

std::vector<platform::SynthProgram> ProgramsOfBuffers(const MidiHeader* head) {
  std::vector<platform::SynthProgram> programs;
  int bank[16] = {};
  int buffers = 0;
  for (const MidiHeader* header = head; header && buffers < kMaxBuffers; header = header->next, ++buffers) {
    if (!header->data) continue;
    const uint64_t size = std::min(header->bytesRecorded, header->bufferLength);
    uint64_t at = 0;
    while (at + kEventHeaderBytes <= size) {
      const uint32_t word = ReadU32(header->data + at + 8);
      const uint32_t type = (word >> 24) & ~kEventCallbackFlag;
      at += kEventHeaderBytes;
      if (type & kEventLong) {
        at += ((word & 0xFFFFFF) + 3ull) & ~3ull;
        continue;
      }
      if (type != 0) continue;  // tempo and no-op
      const int status = static_cast<int>(word & 0xFF), channel = status & 0x0F;
      const int data1 = static_cast<int>((word >> 8) & 0x7F), data2 = static_cast<int>((word >> 16) & 0x7F);
      if ((status & 0xF0) == 0xB0 && data1 == 0) bank[channel] = data2;
      if ((status & 0xF0) != 0xC0) continue;
      const platform::SynthProgram program{channel == kDrumChannel ? 128 : bank[channel], data1};
      if (std::find(programs.begin(), programs.end(), program) == programs.end()) programs.push_back(program);
    }
  }
  return programs;
}
