// The sequencer of the MIDI stream device: plays queued buffers of MIDI
// stream events on a synth, at the exact frame each event falls on.
//
// A buffer holds events of 12 bytes and more: delta time in ticks, stream
// id, event word. The event word's top byte is its type (0x00 short message,
// 0x01 tempo, 0x02 no-op; bit 0x40 asks for a callback and is not used; bit
// 0x80 marks a long event whose parameter block of the low 24 bits' length
// follows, padded to a multiple of 4). The low 24 bits of a short message
// are the MIDI message.
#pragma once

#include <cstdint>

#include "platform/midi_synth.h"

struct MdsHandle;

constexpr uint32_t kMidiHeaderDone = 0x1;
constexpr uint32_t kMidiHeaderInQueue = 0x4;

// One buffer of stream events as the stream device takes it.
struct MidiHeader {
  uint8_t* data = nullptr;     // the events
  uint32_t bufferLength = 0;   // room at `data`
  uint32_t bytesRecorded = 0;  // bytes of events the buffer holds
  MdsHandle* user = nullptr;   // the owner, for the done callback
  uint32_t flags = 0;
  MidiHeader* next = nullptr;  // the device's queue
};

constexpr uint32_t kDefaultTempo = 500000;  // microseconds per quarter note

// Called on the audio thread when the sequencer is done with a buffer.
using SequencerBufferDone = void (*)(MidiHeader* header);

struct MidiSequencer {
  int rate = 0;                     // frames per second
  bool playing = false;             // the stream has been started
  MidiHeader* head = nullptr;       // the queue, in playing order
  MidiHeader* tail = nullptr;
  uint32_t offset = 0;              // byte offset of the next event in head
  // Time: one tick lasts numerator / denominator frames.
  bool smpte = false;
  uint64_t tickNumerator = 0;
  uint64_t tickDenominator = 1;
  uint32_t tempo = kDefaultTempo;
  int64_t now = 0;                  // frames rendered since the stream opened
  // The last event played, and the fraction of a frame it fell behind.
  int64_t lastEventFrame = 0;
  uint64_t lastEventRemainder = 0;
  // The next event, once its time is known.
  bool eventPending = false;
  int64_t eventFrame = 0;
  uint64_t eventRemainder = 0;
  // The queue ran dry: the next buffer counts its first delta from now.
  bool idle = true;
  // Guards against files whose loop takes no time at all.
  int64_t lastDoneFrame = -1;
  int buffersDoneAtOneFrame = 0;
  bool stalled = false;
};

void InitSequencer(MidiSequencer& sequencer, int rate);
// Sets the time division: ticks per quarter note (bit 15 clear), or the
// SMPTE form (high byte minus the frames per second, low byte ticks per
// frame). False for a division with no ticks.
bool SetSequencerTimeDivision(MidiSequencer& sequencer, uint32_t timeDivision);
void QueueSequencerBuffer(MidiSequencer& sequencer, MidiHeader* header);
void StartSequencer(MidiSequencer& sequencer);
// Empties the queue and hands back its buffers in order (the caller reports
// them done).
MidiHeader* TakeSequencerQueue(MidiSequencer& sequencer);
// Renders `frameCount` frames of the synth into `frames`, sending each event
// to the synth at its frame.
void RenderSequencer(MidiSequencer& sequencer, platform::MidiSynth& synth, float* frames, int frameCount,
                     SequencerBufferDone done);
