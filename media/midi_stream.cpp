#include "media/midi_stream.h"

#include <memory>

#include "media/mixer.h"
#include "platform/audio.h"

struct MidiStream {
  bool open = false;
  MidiStreamCallback callback = nullptr;
  platform::MidiSynth* synth = nullptr;
  MidiSequencer sequencer;
};

namespace {

MidiStream theStream;
platform::MidiSynth* chosenSynth = nullptr;
// The backend's synth, made on the first open and kept: loading a SoundFont
// takes a moment, and the music may be switched on and off many times.
// Deliberately never freed, so that no teardown at process end races the
// audio thread.
platform::MidiSynth* ownSynth = nullptr;
int ownSynthRate = 0;

bool IsOpenStream(MidiStream* stream) { return stream == &theStream && theStream.open; }

void ReportDone(MidiHeader* header) { theStream.callback(kMomDone, header); }

platform::MidiSynth* SynthFor(int rate) {
  if (chosenSynth) return chosenSynth;
  if (!ownSynth || ownSynthRate != rate) {
    // No stream is open, so the audio thread does not touch the synth now.
    std::unique_ptr<platform::MidiSynth> made = platform::CreateMidiSynth(rate);
    if (!made) return nullptr;
    delete ownSynth;
    ownSynth = made.release();
    ownSynthRate = rate;
  }
  return ownSynth;
}

}  // namespace

MidiStream* MidiStreamOpen(MidiStreamCallback callback) {
  if (!callback || theStream.open) return nullptr;
  if (!OpenMixer()) return nullptr;
  platform::MidiSynth* synth = SynthFor(MixerRate());
  if (!synth) return nullptr;
  platform::audio::DeviceLock hold;
  synth->Reset();
  theStream.synth = synth;
  theStream.callback = callback;
  InitSequencer(theStream.sequencer, MixerRate());
  theStream.open = true;
  return &theStream;
}

bool MidiStreamSetTimeDivision(MidiStream* stream, uint32_t timeDivision) {
  platform::audio::DeviceLock hold;
  if (!IsOpenStream(stream)) return false;
  return SetSequencerTimeDivision(stream->sequencer, timeDivision);
}

bool MidiStreamOut(MidiStream* stream, MidiHeader* header) {
  platform::audio::DeviceLock hold;
  if (!IsOpenStream(stream) || !header) return false;
  if ((header->flags & kMidiHeaderInQueue) || header->bytesRecorded > header->bufferLength) return false;
  if (!header->data && header->bytesRecorded != 0) return false;
  QueueSequencerBuffer(stream->sequencer, header);
  return true;
}

bool MidiStreamRestart(MidiStream* stream) {
  platform::audio::DeviceLock hold;
  if (!IsOpenStream(stream)) return false;
  StartSequencer(stream->sequencer);
  return true;
}

bool MidiStreamReset(MidiStream* stream) {
  platform::audio::DeviceLock hold;
  if (!IsOpenStream(stream)) return false;
  for (uint32_t channel = 0; channel < 16; ++channel) {
    stream->synth->ShortMessage((0xB0 | channel) | 64u << 8);   // sustain pedal up
    stream->synth->ShortMessage((0xB0 | channel) | 123u << 8);  // all notes off
  }
  // Buffers that the callback queues again land in the emptied queue and
  // stay there; each one taken here comes back exactly once.
  MidiHeader* header = TakeSequencerQueue(stream->sequencer);
  while (header) {
    MidiHeader* next = header->next;
    header->next = nullptr;
    header->flags = (header->flags & ~kMidiHeaderInQueue) | kMidiHeaderDone;
    ReportDone(header);
    header = next;
  }
  return true;
}

bool MidiStreamClose(MidiStream* stream) {
  platform::audio::DeviceLock hold;
  if (!IsOpenStream(stream) || stream->sequencer.head) return false;
  stream->open = false;
  stream->callback = nullptr;
  return true;
}

bool RenderMidiStream(float* frames, int frameCount) {
  if (!theStream.open) return false;
  RenderSequencer(theStream.sequencer, *theStream.synth, frames, frameCount, ReportDone);
  return true;
}

void UseMidiSynth(platform::MidiSynth* synth) {
  platform::audio::DeviceLock hold;
  chosenSynth = synth;
}
