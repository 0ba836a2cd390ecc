#include "tools/midi_file.h"

#include <algorithm>

namespace {

uint32_t Read32(const uint8_t* p) {
  return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
         (static_cast<uint32_t>(p[2]) << 8) | p[3];
}
uint16_t Read16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }

// Reads a variable-length number of at most four bytes; false past `end`.
bool ReadVarLen(const uint8_t*& p, const uint8_t* end, uint32_t& value) {
  value = 0;
  for (int i = 0; i < 4; ++i) {
    if (p >= end) return false;
    uint8_t b = *p++;
    value = (value << 7) | (b & 0x7F);
    if (!(b & 0x80)) return true;
  }
  return false;
}

struct TrackEvent {
  MidiEvent event;
  size_t track;
  size_t order;
};

bool ParseTrack(const uint8_t* p, const uint8_t* end, size_t track, std::vector<TrackEvent>& out, uint32_t& endTick,
                std::string& error) {
  uint64_t tick = 0;
  uint8_t running = 0;
  size_t order = 0;
  while (p < end) {
    uint32_t delta;
    if (!ReadVarLen(p, end, delta)) {
      error = "a delta time runs past the end of its track";
      return false;
    }
    tick += delta;
    if (tick > 0xFFFFFFFFu) {
      error = "the song is longer than 2^32 ticks";
      return false;
    }
    if (p >= end) {
      error = "a track ends inside an event";
      return false;
    }
    uint8_t status = *p;
    if (status == 0xFF) {
      // A meta event: only the tempo and the end of the track matter.
      if (end - p < 2) {
        error = "a meta event runs past the end of its track";
        return false;
      }
      uint8_t type = p[1];
      p += 2;
      uint32_t length;
      if (!ReadVarLen(p, end, length) || length > static_cast<uint32_t>(end - p)) {
        error = "a meta event runs past the end of its track";
        return false;
      }
      if (type == 0x51 && length == 3) {
        MidiEvent e;
        e.tick = static_cast<uint32_t>(tick);
        e.isTempo = true;
        e.tempo = (static_cast<uint32_t>(p[0]) << 16) | (static_cast<uint32_t>(p[1]) << 8) | p[2];
        out.push_back({e, track, order++});
      }
      p += length;
      if (type == 0x2F) break;
      continue;
    }
    if (status == 0xF0 || status == 0xF7) {
      // System exclusive: skipped. It also cancels running status.
      ++p;
      uint32_t length;
      if (!ReadVarLen(p, end, length) || length > static_cast<uint32_t>(end - p)) {
        error = "a system exclusive message runs past the end of its track";
        return false;
      }
      p += length;
      running = 0;
      continue;
    }
    if (status & 0x80) {
      if (status > 0xEF) {
        error = "a system common message inside a track";
        return false;
      }
      running = status;
      ++p;
    } else if (!running) {
      error = "a data byte without a status";
      return false;
    }
    const int length = ChannelMessageLength(running);
    if (end - p < length - 1) {
      error = "a channel message runs past the end of its track";
      return false;
    }
    MidiEvent e;
    e.tick = static_cast<uint32_t>(tick);
    e.status = running;
    e.data1 = p[0] & 0x7F;
    e.data2 = length == 3 ? (p[1] & 0x7F) : 0;
    p += length - 1;
    out.push_back({e, track, order++});
  }
  endTick = static_cast<uint32_t>(tick);
  return true;
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}
void PutVarLen(std::vector<uint8_t>& out, uint32_t v) {
  uint8_t bytes[5];
  int n = 0;
  bytes[n++] = v & 0x7F;
  while (v >>= 7) bytes[n++] = static_cast<uint8_t>((v & 0x7F) | 0x80);
  while (n) out.push_back(bytes[--n]);
}
void PutTag(std::vector<uint8_t>& out, const char* tag) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

}  // namespace

int ChannelMessageLength(uint8_t status) {
  const uint8_t kind = status & 0xF0;
  return (kind == 0xC0 || kind == 0xD0) ? 2 : 3;
}

bool ParseMidiFile(const uint8_t* data, size_t size, MidiSong& song, std::string& error) {
  song = MidiSong{};
  if (size < 14 || Read32(data) != 0x4D546864u) {  // "MThd"
    error = "not a standard MIDI file";
    return false;
  }
  const uint32_t headerLength = Read32(data + 4);
  if (headerLength < 6 || headerLength > size - 8) {
    error = "the file header is damaged";
    return false;
  }
  song.format = Read16(data + 8);
  const uint16_t tracks = Read16(data + 10);
  song.division = Read16(data + 12);
  if (song.format > 1) {
    error = "only format 0 and 1 files can be converted";
    return false;
  }
  if (song.division == 0) {
    error = "the file gives no time division";
    return false;
  }
  std::vector<TrackEvent> all;
  size_t pos = 8 + headerLength;
  size_t found = 0;
  while (found < tracks && size - pos >= 8) {
    const uint32_t chunkLength = Read32(data + pos + 4);
    if (chunkLength > size - pos - 8) {
      error = "a track runs past the end of the file";
      return false;
    }
    if (Read32(data + pos) == 0x4D54726Bu) {  // "MTrk"; other chunks are skipped
      uint32_t endTick = 0;
      const uint8_t* start = data + pos + 8;
      if (!ParseTrack(start, start + chunkLength, found, all, endTick, error)) return false;
      song.endTick = std::max(song.endTick, endTick);
      ++found;
    }
    pos += 8 + static_cast<size_t>(chunkLength);
  }
  if (found == 0) {
    error = "the file has no tracks";
    return false;
  }
  std::stable_sort(all.begin(), all.end(), [](const TrackEvent& a, const TrackEvent& b) {
    if (a.event.tick != b.event.tick) return a.event.tick < b.event.tick;
    if (a.track != b.track) return a.track < b.track;
    return a.order < b.order;
  });
  song.events.reserve(all.size());
  for (const TrackEvent& e : all) song.events.push_back(e.event);
  return true;
}

std::vector<uint8_t> EncodeMidiFile(uint16_t division, const std::vector<MidiTrackOut>& tracks) {
  std::vector<uint8_t> out;
  PutTag(out, "MThd");
  Put32(out, 6);
  out.push_back(0);
  out.push_back(1);  // format 1
  out.push_back(static_cast<uint8_t>(tracks.size() >> 8));
  out.push_back(static_cast<uint8_t>(tracks.size()));
  out.push_back(static_cast<uint8_t>(division >> 8));
  out.push_back(static_cast<uint8_t>(division));
  for (const MidiTrackOut& track : tracks) {
    std::vector<MidiEvent> events = track.events;
    std::stable_sort(events.begin(), events.end(),
                     [](const MidiEvent& a, const MidiEvent& b) { return a.tick < b.tick; });
    std::vector<uint8_t> body;
    if (!track.name.empty()) {
      PutVarLen(body, 0);
      body.push_back(0xFF);
      body.push_back(0x03);
      PutVarLen(body, static_cast<uint32_t>(track.name.size()));
      body.insert(body.end(), track.name.begin(), track.name.end());
    }
    uint32_t now = 0;
    for (const MidiEvent& e : events) {
      PutVarLen(body, e.tick - now);
      now = e.tick;
      if (e.isTempo) {
        body.push_back(0xFF);
        body.push_back(0x51);
        body.push_back(3);
        body.push_back(static_cast<uint8_t>(e.tempo >> 16));
        body.push_back(static_cast<uint8_t>(e.tempo >> 8));
        body.push_back(static_cast<uint8_t>(e.tempo));
      } else {
        body.push_back(e.status);
        body.push_back(e.data1);
        if (ChannelMessageLength(e.status) == 3) body.push_back(e.data2);
      }
    }
    PutVarLen(body, track.endTick > now ? track.endTick - now : 0);
    body.push_back(0xFF);
    body.push_back(0x2F);
    body.push_back(0);
    PutTag(out, "MTrk");
    Put32(out, static_cast<uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
  }
  return out;
}
