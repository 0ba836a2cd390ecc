#include "media/mds.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "media/byte_order.h"
#include "media/data_file.h"
#include "media/file_error.h"
#include "media/midi_stream.h"
#include "platform/audio.h"
#include "platform/platform.h"

namespace {

constexpr uint32_t kSlotHeaderBytes = 8;   // start tick, byte count
constexpr uint32_t kEventBytes = 12;       // delta, stream id, event word
constexpr uint32_t kLongEventFlag = 0x80000000u;

bool IsTag(const uint8_t* p, const char* tag) { return std::memcmp(p, tag, 4) == 0; }

bool HasLiveTag(const MdsHandle* handle) { return handle && std::memcmp(handle->tag, "MDSI", 4) == 0; }

// Inserts stream id 0 into every event of a buffer stored without stream
// ids. Returns the bytes written, or -1 when the buffer is malformed or
// would not fit in `room` bytes.
int64_t ExpandBuffer(const uint8_t* source, uint32_t length, uint8_t* target, uint64_t room) {
  if (length % 4 != 0) return -1;
  uint64_t read = 0, written = 0;
  while (read < length) {
    if (room - written < kEventBytes) return -1;
    std::memcpy(target + written, source + read, 4);  // delta time
    read += 4;
    written += 4;
    if (read >= length) return -1;
    WriteLe32(target + written, 0);  // stream id
    written += 4;
    uint32_t word = ReadLe32(source + read);
    uint64_t parameters = (word & kLongEventFlag) ? ((word & 0xFFFFFFu) + 3) & ~uint64_t{3} : 0;
    std::memcpy(target + written, source + read, 4);  // event word
    read += 4;
    written += 4;
    if (parameters != 0) {
      if (parameters > length - read || parameters > room - written) return -1;
      std::memcpy(target + written, source + read, parameters);
      read += parameters;
      written += parameters;
    }
  }
  return static_cast<int64_t>(written);
}

void FreeBuffers(MdsHandle& handle) {
  delete[] handle.buffers;
  delete[] handle.bufferData;
  handle.buffers = nullptr;
  handle.bufferData = nullptr;
}

// The checks of the file and the filling of the slots. `n` is the count of
// bytes left from `p` on; every read is bounded by it.
int ParseImage(const uint8_t* p, uint64_t n, MdsHandle& handle) {
  if (n < 12 || !IsTag(p, "RIFF") || !IsTag(p + 8, "MIDS")) return kMdsInvalidFile;
  uint32_t riffSize = ReadLe32(p + 4);
  p += 8;
  n -= 8;
  if (n < riffSize) return kMdsInvalidFile;

  p += 4;  // "MIDS"
  n -= 4;
  if (n < 8 || !IsTag(p, "fmt ")) return kMdsInvalidFile;
  uint32_t formatLength = ReadLe32(p + 4);
  if (formatLength > n || formatLength < 12) return kMdsInvalidFile;
  p += 8;
  n -= 8;
  // The chunk's length was checked against the bytes left with its header;
  // its body must fit in what is left after it.
  if (formatLength > n) return kMdsInvalidFile;
  handle.timeFormat = ReadLe32(p);
  handle.maxBufferSize = ReadLe32(p + 4);
  handle.flags = ReadLe32(p + 8);
  p += formatLength;
  n -= formatLength;

  if (n < 8 || !IsTag(p, "data")) return kMdsInvalidFile;
  uint32_t dataLength = ReadLe32(p + 4);
  if (dataLength > n || dataLength < 4) return kMdsInvalidFile;
  if (n < 12) return kMdsInvalidFile;
  uint32_t bufferCount = ReadLe32(p + 8);
  p += 12;
  n -= 12;

  // Every slot needs its 8 header bytes, so a count beyond that can only
  // fail further on; saying so now spares an allocation of any size.
  if (bufferCount > n / kSlotHeaderBytes) return kMdsInvalidFile;
  const uint32_t maxBuffer = handle.maxBufferSize;
  const bool expand = (handle.flags & kMdsNoStreamIds) != 0;
  // The event bytes of all slots: no slot holds more than M bytes, and an
  // expanded buffer at most half as much again as the file holds for it.
  uint64_t capacity = std::min<uint64_t>(static_cast<uint64_t>(bufferCount) * maxBuffer, n + n / 2);
  handle.buffers = new (std::nothrow) MidiHeader[bufferCount == 0 ? 1 : bufferCount]();
  handle.bufferData = new (std::nothrow) uint8_t[capacity == 0 ? 1 : capacity];
  if (!handle.buffers || !handle.bufferData) {
    FreeBuffers(handle);
    return kMdsOutOfMemory;
  }
  handle.bufferCount = bufferCount;

  uint64_t used = 0;
  for (uint32_t i = 0; i < bufferCount; ++i) {
    MidiHeader& slot = handle.buffers[i];
    slot.data = handle.bufferData + used;
    slot.bufferLength = maxBuffer;
    slot.user = &handle;
    if (n < kSlotHeaderBytes) {
      FreeBuffers(handle);
      return kMdsInvalidFile;
    }
    uint32_t length = ReadLe32(p + 4);  // the start tick before it is not used
    p += kSlotHeaderBytes;
    n -= kSlotHeaderBytes;
    if (length > maxBuffer || length > n) {
      FreeBuffers(handle);
      return kMdsInvalidFile;
    }
    uint64_t room = std::min<uint64_t>(maxBuffer, capacity - used);
    if (expand) {
      int64_t written = ExpandBuffer(p, length, slot.data, room);
      if (written < 0) {
        FreeBuffers(handle);
        return kMdsInvalidFile;
      }
      slot.bytesRecorded = static_cast<uint32_t>(written);
    } else {
      std::memcpy(slot.data, p, length);
      slot.bytesRecorded = length;
    }
    used += slot.bytesRecorded;
    p += length;
    n -= length;
  }
  return kMdsDone;
}

}  // namespace

int MdsOpenImage(const uint8_t* bytes, size_t size, MdsHandle** handle) {
  *handle = nullptr;
  MdsHandle* made = new (std::nothrow) MdsHandle{};
  if (!made) return kMdsOutOfMemory;
  std::memcpy(made->tag, "MDSI", 4);
  int result = bytes ? ParseImage(bytes, size, *made) : kMdsInvalidFile;
  if (result != kMdsDone) {
    delete made;
    return result;
  }
  *handle = made;
  return kMdsDone;
}

int MdsOpen(const char* fileName, MdsHandle** handle) {
  *handle = nullptr;
  std::vector<uint8_t> image;
  if (!fileName || !platform::ReadWholeFile(FindGameFile(fileName), image, kMaxMdsFileBytes)) {
    ShowFileError(fileName ? fileName : "", "Error loading file");
    return kMdsCannotOpen;
  }
  return MdsOpenImage(image.data(), image.size(), handle);
}

int MdsPlay(MdsHandle* handle, int loop) {
  if (!HasLiveTag(handle)) return kMdsNotAHandle;
  if (handle->stream) return kMdsWrongState;
  handle->stream = MidiStreamOpen(MdsBufferDone);
  if (!handle->stream) return kMdsDeviceRefused;
  auto refuse = [handle] {
    MdsStop(handle);
    return kMdsDeviceRefused;
  };
  if (!MidiStreamSetTimeDivision(handle->stream, handle->timeFormat)) return refuse();
  for (uint32_t i = 0; i < handle->bufferCount; ++i) {
    if (!MidiStreamOut(handle->stream, &handle->buffers[i])) return refuse();
  }
  handle->state.fetch_and(~kMdsLooping);
  if (loop == 1) handle->state.fetch_or(kMdsLooping);
  if (!MidiStreamRestart(handle->stream)) return refuse();
  return kMdsDone;
}

void MdsBufferDone(uint32_t message, MidiHeader* header) {
  if (message != kMomDone || !header || !header->user) return;
  MdsHandle* handle = header->user;
  uint32_t state = handle->state.load();
  if (state & kMdsStopping) return;
  // The headless audio log: one line per buffer played to its end.
  char line[48];
  std::snprintf(line, sizeof line, "music-buffer %u", static_cast<unsigned>(header - handle->buffers));
  platform::audio::LogEvent(line);
  if (state & kMdsLooping) MidiStreamOut(handle->stream, header);
}

int MdsStop(MdsHandle* handle) {
  if (!HasLiveTag(handle)) return kMdsNotAHandle;
  if (!handle->stream) return kMdsWrongState;
  // The stopping bit goes up before the reset, so the buffers that the reset
  // hands back are not queued again.
  handle->state.fetch_or(kMdsStopping);
  if (!MidiStreamReset(handle->stream)) {
    handle->state.fetch_and(~kMdsStopping);
    return kMdsDeviceRefused;
  }
  MidiStreamClose(handle->stream);
  handle->stream = nullptr;
  handle->state.store(0);
  return kMdsDone;
}

int MdsClose(MdsHandle* handle) {
  if (!HasLiveTag(handle)) return kMdsNotAHandle;
  if (handle->stream) MdsStop(handle);
  FreeBuffers(*handle);
  std::memcpy(handle->tag, "data", 4);
  delete handle;
  return kMdsDone;
}
