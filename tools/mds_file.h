// MIDI stream files (RIFF form "MIDS"), the game's music format: a song's
// events as ready-made stream buffers that the player queues in a loop.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/midi_file.h"

// Event kinds in the top byte of a stream event word.
constexpr uint8_t kStreamShortMessage = 0x00;
constexpr uint8_t kStreamTempo = 0x01;
constexpr uint8_t kStreamNop = 0x02;

// One stream event: ticks since the event before it, and its event word
// (kind in the top byte, the message or value in the low 24 bits).
struct StreamEvent {
  uint32_t delta = 0;
  uint32_t word = 0;
};

// The largest buffer the converter writes.
constexpr uint32_t kMdsBufferBytes = 4096;

// The song's events as stream events. The last one ends exactly at the
// song's end (a no-op carries the remaining ticks when no event falls
// there), so playing the events again right after loops without a seam.
std::vector<StreamEvent> StreamEventsFromSong(const MidiSong& song);

// The MDS file: time format `timeFormat`, the events cut into buffers of at
// most `maxBufferBytes` (as the player expands them, 12 bytes an event).
// Without stream ids, each event is stored as delta and word only, and
// flag bit 0 says so.
std::vector<uint8_t> EncodeMds(uint32_t timeFormat, const std::vector<StreamEvent>& events, uint32_t maxBufferBytes,
                               bool withStreamIds);

// A whole standard MIDI file converted: the game's music file, or false with
// the reason the MIDI file could not be read.
bool ConvertMidiToMds(const uint8_t* midi, size_t size, bool withStreamIds, std::vector<uint8_t>& mds,
                      std::string& error);

// What an MDS file holds, read back (for checks and inspection).
struct MdsContents {
  uint32_t timeFormat = 0;
  uint32_t maxBufferBytes = 0;
  uint32_t flags = 0;
  struct Buffer {
    uint32_t startTick = 0;
    std::vector<StreamEvent> events;
  };
  std::vector<Buffer> buffers;
};
// Reads an MDS file whose events are short messages, tempo changes and
// no-ops; false, with a reason, for anything else.
bool DecodeMds(const uint8_t* data, size_t size, MdsContents& contents, std::string& error);
