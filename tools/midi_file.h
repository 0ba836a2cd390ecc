// Standard MIDI files: reading format 0 and 1 files into one list of timed
// channel and tempo events, and writing format 1 files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One event of a song: a channel message or a tempo change, at an absolute
// tick. System exclusive messages and the other meta events are dropped.
struct MidiEvent {
  uint32_t tick = 0;
  bool isTempo = false;
  uint32_t tempo = 0;       // microseconds per quarter note, when isTempo
  uint8_t status = 0;       // channel message: 0x80..0xEF
  uint8_t data1 = 0;
  uint8_t data2 = 0;        // 0 for messages of one data byte
};

struct MidiSong {
  uint16_t format = 0;
  uint16_t division = 0;    // ticks per quarter note, or the SMPTE form
  std::vector<MidiEvent> events;  // every track's events merged in tick order
  uint32_t endTick = 0;     // where the last track ends (its end-of-track event)
};

// Bytes in a channel message with status `status` (0x80..0xEF): 2 or 3.
int ChannelMessageLength(uint8_t status);

// Reads a format 0 or 1 file. Events of one tick keep the order of their
// tracks (lower tracks first) and, within a track, the file's order.
// False, with a reason, for anything that is not such a file.
bool ParseMidiFile(const uint8_t* data, size_t size, MidiSong& song, std::string& error);

// A track to be written: events at absolute ticks (any order; events of one
// tick are written in the order given), ending at `endTick`.
struct MidiTrackOut {
  std::string name;
  std::vector<MidiEvent> events;
  uint32_t endTick = 0;
};

// A format 1 file of the tracks, with `division` ticks per quarter note.
std::vector<uint8_t> EncodeMidiFile(uint16_t division, const std::vector<MidiTrackOut>& tracks);
