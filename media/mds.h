// MDS music files (RIFF form "MIDS"): ready-made buffers of MIDI stream
// events, loaded into memory whole and played in a loop on the MIDI stream
// device.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "media/midi_sequencer.h"

struct MidiStream;

// Result codes of the MDS operations.
enum MdsResult : int {
  kMdsDone = 0,
  kMdsOutOfMemory = 1,
  kMdsCannotOpen = 2,
  kMdsInvalidFile = 3,
  kMdsDeviceRefused = 5,
  kMdsNotAHandle = 6,
  kMdsWrongState = 7,
};

// State bits of a handle.
constexpr uint32_t kMdsStopping = 1;
constexpr uint32_t kMdsLooping = 2;

// Flag bit 0 of the file: events are stored without their stream ids.
constexpr uint32_t kMdsNoStreamIds = 1;

// The loaded music. The state bits are read by the audio thread.
struct MdsHandle {
  char tag[4];                 // "MDSI" while live, "data" once closed
  uint32_t timeFormat;         // the stream's time division, as the file has it
  uint32_t maxBufferSize;      // M: the most event bytes of one buffer
  uint32_t flags;
  MidiHeader* buffers;         // B slots in file order
  uint8_t* bufferData;         // the event bytes of all slots
  MidiStream* stream;          // the open stream, or null
  std::atomic<uint32_t> state;
  uint32_t bufferCount;        // B
};

// Largest music file read; a bigger one counts as one that can't be read.
constexpr size_t kMaxMdsFileBytes = 16u << 20;

// Reads and checks the file (by its name, in the current directory) and
// builds the handle. A missing file shows "Error loading file" with its name.
int MdsOpen(const char* fileName, MdsHandle** handle);
// The checks and the loading of MdsOpen on a file image in memory.
int MdsOpenImage(const uint8_t* bytes, size_t size, MdsHandle** handle);
// Opens the stream device, queues every buffer and starts playing; with
// `loop` = 1 the piece repeats without end.
int MdsPlay(MdsHandle* handle, int loop);
// Stops the device and closes the stream; the music stays loaded.
int MdsStop(MdsHandle* handle);
// Stops if needed and frees the handle.
int MdsClose(MdsHandle* handle);
// The stream device's callback for a buffer that came back: queues it again
// while the music loops and is not being stopped. Runs on the audio thread.
void MdsBufferDone(uint32_t message, MidiHeader* header);
