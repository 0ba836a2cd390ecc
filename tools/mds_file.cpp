#include "tools/mds_file.h"

#include <algorithm>

namespace {

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(v >> shift));
}
void PutTag(std::vector<uint8_t>& out, const char* tag) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}
uint32_t Read32(const uint8_t* p) {
  return p[0] | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}
bool TagIs(const uint8_t* p, const char* tag) {
  return p[0] == static_cast<uint8_t>(tag[0]) && p[1] == static_cast<uint8_t>(tag[1]) &&
         p[2] == static_cast<uint8_t>(tag[2]) && p[3] == static_cast<uint8_t>(tag[3]);
}

constexpr uint32_t kExpandedEventBytes = 12;  // delta, stream id, word
constexpr uint32_t kNoStreamIdsFlag = 1;

}  // namespace

std::vector<StreamEvent> StreamEventsFromSong(const MidiSong& song) {
  std::vector<StreamEvent> out;
  out.reserve(song.events.size() + 1);
  uint32_t now = 0;
  for (const MidiEvent& e : song.events) {
    StreamEvent s;
    s.delta = e.tick - now;
    now = e.tick;
    if (e.isTempo) {
      s.word = (static_cast<uint32_t>(kStreamTempo) << 24) | (e.tempo & 0xFFFFFF);
    } else {
      s.word = (static_cast<uint32_t>(kStreamShortMessage) << 24) | e.status | (static_cast<uint32_t>(e.data1) << 8) |
               (static_cast<uint32_t>(e.data2) << 16);
    }
    out.push_back(s);
  }
  if (song.endTick > now || out.empty()) {
    out.push_back({song.endTick > now ? song.endTick - now : 0, static_cast<uint32_t>(kStreamNop) << 24});
  }
  return out;
}

std::vector<uint8_t> EncodeMds(uint32_t timeFormat, const std::vector<StreamEvent>& events, uint32_t maxBufferBytes,
                               bool withStreamIds) {
  // Cut into buffers by the size the player expands them to.
  const size_t perBuffer = std::max<size_t>(1, maxBufferBytes / kExpandedEventBytes);
  const uint32_t storedEventBytes = withStreamIds ? 12 : 8;
  std::vector<uint8_t> buffers;
  uint32_t bufferCount = 0;
  uint32_t tick = 0;  // where the buffer's first delta counts from
  for (size_t first = 0; first < events.size(); first += perBuffer) {
    const size_t last = std::min(events.size(), first + perBuffer);
    Put32(buffers, tick);
    Put32(buffers, static_cast<uint32_t>((last - first) * storedEventBytes));
    for (size_t i = first; i < last; ++i) {
      Put32(buffers, events[i].delta);
      if (withStreamIds) Put32(buffers, 0);
      Put32(buffers, events[i].word);
      tick += events[i].delta;
    }
    ++bufferCount;
  }
  const uint32_t formatBytes = 12;
  const uint32_t dataBytes = 4 + static_cast<uint32_t>(buffers.size());
  std::vector<uint8_t> out;
  PutTag(out, "RIFF");
  Put32(out, 4 + 8 + formatBytes + 8 + dataBytes);
  PutTag(out, "MIDS");
  PutTag(out, "fmt ");
  Put32(out, formatBytes);
  Put32(out, timeFormat);
  Put32(out, maxBufferBytes);
  Put32(out, withStreamIds ? 0 : kNoStreamIdsFlag);
  PutTag(out, "data");
  Put32(out, dataBytes);
  Put32(out, bufferCount);
  out.insert(out.end(), buffers.begin(), buffers.end());
  return out;
}

bool ConvertMidiToMds(const uint8_t* midi, size_t size, bool withStreamIds, std::vector<uint8_t>& mds,
                      std::string& error) {
  MidiSong song;
  if (!ParseMidiFile(midi, size, song, error)) return false;
  mds = EncodeMds(song.division, StreamEventsFromSong(song), kMdsBufferBytes, withStreamIds);
  return true;
}

bool DecodeMds(const uint8_t* data, size_t size, MdsContents& contents, std::string& error) {
  contents = MdsContents{};
  if (size < 12 || !TagIs(data, "RIFF") || !TagIs(data + 8, "MIDS")) {
    error = "not a MIDS file";
    return false;
  }
  size_t pos = 12;
  if (size - pos < 8 || !TagIs(data + pos, "fmt ")) {
    error = "no format chunk";
    return false;
  }
  const uint32_t formatBytes = Read32(data + pos + 4);
  if (formatBytes < 12 || formatBytes > size - pos - 8) {
    error = "a damaged format chunk";
    return false;
  }
  contents.timeFormat = Read32(data + pos + 8);
  contents.maxBufferBytes = Read32(data + pos + 12);
  contents.flags = Read32(data + pos + 16);
  pos += 8 + static_cast<size_t>(formatBytes);
  if (size - pos < 12 || !TagIs(data + pos, "data")) {
    error = "no data chunk";
    return false;
  }
  const uint32_t count = Read32(data + pos + 8);
  pos += 12;
  const bool withIds = !(contents.flags & kNoStreamIdsFlag);
  const size_t eventBytes = withIds ? 12 : 8;
  for (uint32_t b = 0; b < count; ++b) {
    if (size - pos < 8) {
      error = "a buffer runs past the end of the file";
      return false;
    }
    MdsContents::Buffer buffer;
    buffer.startTick = Read32(data + pos);
    const uint32_t length = Read32(data + pos + 4);
    pos += 8;
    if (length > size - pos || length > contents.maxBufferBytes || length % eventBytes) {
      error = "a buffer of a wrong size";
      return false;
    }
    for (size_t at = pos; at < pos + length; at += eventBytes) {
      StreamEvent e;
      e.delta = Read32(data + at);
      e.word = Read32(data + at + (withIds ? 8 : 4));
      if (e.word & 0x80000000u) {
        error = "a long event, which this reader does not take";
        return false;
      }
      buffer.events.push_back(e);
    }
    pos += length;
    contents.buffers.push_back(std::move(buffer));
  }
  return true;
}
