#include "media/midi_sequencer.h"

#include <algorithm>

#include "media/byte_order.h"

namespace {

// Work limits of one render call. A sane file never comes near them; a
// hostile one (thousands of events on one frame, a loop of no length) is
// slowed or stopped instead of hanging the audio thread.
constexpr int kMaxEventsPerRender = 4096;
constexpr int kMaxBuffersDoneAtOneFrame = 64;

constexpr uint32_t kEventShortMessage = 0x00;
constexpr uint32_t kEventTempo = 0x01;
constexpr uint32_t kEventLong = 0x80;
constexpr uint32_t kEventCallbackFlag = 0x40;
constexpr uint32_t kEventLongMessage = 0x80;
constexpr uint32_t kEventHeaderBytes = 12;

void UpdateTickLength(MidiSequencer& s) {
  // Ticks per quarter note: frames per tick = tempo * rate / (1e6 * ticks).
  // The denominator does not depend on the tempo, so the fraction carried
  // from one event to the next stays valid across tempo changes.
  if (!s.smpte) s.tickNumerator = static_cast<uint64_t>(s.tempo) * static_cast<uint64_t>(s.rate);
}

bool HasWholeEvent(const MidiSequencer& s) {
  return s.head && static_cast<uint64_t>(s.offset) + kEventHeaderBytes <= s.head->bytesRecorded;
}

void FinishBuffer(MidiSequencer& s, SequencerBufferDone done) {
  MidiHeader* header = s.head;
  s.head = header->next;
  if (!s.head) s.tail = nullptr;
  header->next = nullptr;
  header->flags = (header->flags & ~kMidiHeaderInQueue) | kMidiHeaderDone;
  s.offset = 0;
  s.eventPending = false;

  if (s.lastEventFrame == s.lastDoneFrame) {
    if (++s.buffersDoneAtOneFrame > kMaxBuffersDoneAtOneFrame) s.stalled = true;
  } else {
    s.lastDoneFrame = s.lastEventFrame;
    s.buffersDoneAtOneFrame = 0;
  }
  // The callback may queue the buffer again; the time runs on from the last
  // event, so a looping piece has no gap.
  done(header);
  if (!s.head) s.idle = true;
}

// Finds the next event and its frame; finishes buffers that hold no more
// events on the way. False when there is nothing to play.
bool PrepareNextEvent(MidiSequencer& s, SequencerBufferDone done, int& work) {
  if (work <= 0) return false;
  while (!s.eventPending) {
    if (!s.head || s.stalled || work <= 0) return false;
    if (!HasWholeEvent(s)) {
      --work;
      FinishBuffer(s, done);
      continue;
    }
    uint32_t delta = ReadLe32(s.head->data + s.offset);
    unsigned __int128 total =
        static_cast<unsigned __int128>(delta) * s.tickNumerator + s.lastEventRemainder;
    s.eventFrame = s.lastEventFrame + static_cast<int64_t>(total / s.tickDenominator);
    s.eventRemainder = static_cast<uint64_t>(total % s.tickDenominator);
    s.eventPending = true;
  }
  return true;
}

void PlayEvent(MidiSequencer& s, platform::MidiSynth& synth, SequencerBufferDone done) {
  const uint8_t* event = s.head->data + s.offset;
  uint32_t word = ReadLe32(event + 8);
  uint32_t type = (word >> 24) & ~kEventCallbackFlag;
  uint64_t next = static_cast<uint64_t>(s.offset) + kEventHeaderBytes;
  if (type & kEventLong) {
    uint64_t length = word & 0xFFFFFF;
    uint64_t padded = (length + 3) & ~uint64_t{3};
    if (next + padded > s.head->bytesRecorded) {
      next = s.head->bytesRecorded;  // a cut-off parameter block ends the buffer
    } else {
      if (type == kEventLongMessage) synth.LongMessage(event + kEventHeaderBytes, static_cast<size_t>(length));
      next += padded;
    }
  } else if (type == kEventShortMessage) {
    synth.ShortMessage(word & 0xFFFFFF);
  } else if (type == kEventTempo) {
    // A tempo of 0 would put every later event on one instant; keep the old.
    if ((word & 0xFFFFFF) != 0) {
      s.tempo = word & 0xFFFFFF;
      UpdateTickLength(s);
    }
  }
  // No-ops and unknown short events only take their time.
  s.offset = static_cast<uint32_t>(next);
  s.lastEventFrame = s.eventFrame;
  s.lastEventRemainder = s.eventRemainder;
  s.eventPending = false;
  if (!HasWholeEvent(s)) FinishBuffer(s, done);
}

}  // namespace

void InitSequencer(MidiSequencer& sequencer, int rate) {
  sequencer = MidiSequencer{};
  sequencer.rate = rate;
  SetSequencerTimeDivision(sequencer, 96);  // until the stream sets its own
}

bool SetSequencerTimeDivision(MidiSequencer& s, uint32_t timeDivision) {
  uint32_t division = timeDivision & 0xFFFF;
  if (division & 0x8000) {
    int framesPerSecond = -static_cast<int8_t>(division >> 8);
    uint32_t ticksPerFrame = division & 0xFF;
    if (framesPerSecond <= 0 || ticksPerFrame == 0) return false;
    s.smpte = true;
    // 29 stands for 30 drop-frame: 29.97 frames per second.
    uint64_t numeratorScale = framesPerSecond == 29 ? 1001 : 1;
    uint64_t fps = framesPerSecond == 29 ? 30000 : static_cast<uint64_t>(framesPerSecond);
    s.tickNumerator = static_cast<uint64_t>(s.rate) * numeratorScale;
    s.tickDenominator = fps * ticksPerFrame;
  } else {
    if (division == 0) return false;
    s.smpte = false;
    s.tickDenominator = 1000000ull * division;
    UpdateTickLength(s);
  }
  s.lastEventRemainder = 0;
  s.eventPending = false;
  return true;
}

void QueueSequencerBuffer(MidiSequencer& s, MidiHeader* header) {
  header->next = nullptr;
  header->flags = (header->flags & ~kMidiHeaderDone) | kMidiHeaderInQueue;
  if (!s.head && s.idle) {
    s.lastEventFrame = s.now;
    s.lastEventRemainder = 0;
    s.idle = false;
  }
  if (s.tail) {
    s.tail->next = header;
  } else {
    s.head = header;
  }
  s.tail = header;
}

void StartSequencer(MidiSequencer& s) {
  if (s.playing) return;
  s.playing = true;
  // The stream's time begins now: a first event at tick 0 sounds at once.
  s.lastEventFrame = s.now;
  s.lastEventRemainder = 0;
  s.eventPending = false;
}

MidiHeader* TakeSequencerQueue(MidiSequencer& s) {
  MidiHeader* list = s.head;
  s.head = s.tail = nullptr;
  s.offset = 0;
  s.eventPending = false;
  s.idle = true;
  s.stalled = false;
  s.buffersDoneAtOneFrame = 0;
  s.lastDoneFrame = -1;
  return list;
}

void RenderSequencer(MidiSequencer& s, platform::MidiSynth& synth, float* frames, int frameCount,
                     SequencerBufferDone done) {
  int work = kMaxEventsPerRender;
  int rendered = 0;
  while (rendered < frameCount) {
    const int64_t blockEnd = s.now + (frameCount - rendered);
    int64_t until = blockEnd;
    bool playEvent = false;
    if (s.playing && PrepareNextEvent(s, done, work) && s.eventFrame < blockEnd) {
      until = std::max(s.eventFrame, s.now);
      playEvent = true;
    }
    if (until > s.now) {
      int count = static_cast<int>(until - s.now);
      synth.Render(frames + static_cast<ptrdiff_t>(rendered) * 2, count);
      rendered += count;
      s.now = until;
    }
    if (playEvent) {
      --work;
      PlayEvent(s, synth, done);
    }
  }
}
