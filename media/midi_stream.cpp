#include "media/midi_stream.h"

#include <memory>
#include <string>

#include "media/midi_programs.h"
#include "media/mixer.h"
#include "platform/audio.h"
#include "platform/platform.h"

struct MidiStream {
  bool open = false;
  MidiStreamCallback callback = nullptr;
  // Null while the backend's synth is still loading: the stream then waits,
  // silent, and starts from its first event once the synth is there.
  platform::MidiSynth* synth = nullptr;
  MidiSequencer sequencer;
};

namespace {

MidiStream theStream;
platform::MidiSynth* chosenSynth = nullptr;
// The backend's synth, started by the first stream that plays and kept:
// loading a SoundFont takes a moment, and the music may be switched on and
// off many times. Deliberately never freed, so that no teardown at process
// end races the audio thread or the loading thread.
std::shared_ptr<platform::PendingSynth>* ownSynth = new std::shared_ptr<platform::PendingSynth>;
std::string chosenSoundFont;  // the player's setting; empty: the usual search

bool IsOpenStream(MidiStream* stream) { return stream == &theStream && theStream.open; }

void ReportDone(MidiHeader* header) { theStream.callback(kMomDone, header); }

// Takes the backend's synth for the stream once it is ready. Runs with the
// device lock held.
bool AdoptOwnSynth() {
  if (theStream.synth) return true;
  platform::MidiSynth* ready = *ownSynth ? (*ownSynth)->Synth() : nullptr;
  if (!ready) return false;
  ready->Reset();
  theStream.synth = ready;
  return true;
}

}  // namespace

MidiStream* MidiStreamOpen(MidiStreamCallback callback) {
  if (!callback || theStream.open) return nullptr;
  if (!OpenMixer()) return nullptr;
  platform::MidiSynth* synth = chosenSynth;
  if (!synth) {
    const bool headless = platform::ActiveBackend() == platform::Backend::Headless;
    const std::string font = headless ? std::string() : platform::FindSoundFont(chosenSoundFont);
    if (!headless && font.empty()) return nullptr;
    const std::shared_ptr<platform::PendingSynth>& own = *ownSynth;
    if (own && (own->Rate() != MixerRate() || own->SoundFont() != font)) {
      // Another font or rate: the next start loads anew. No stream is open,
      // so the audio thread holds no part of the old synth; a load still
      // running finishes on its own thread and is dropped there.
      platform::audio::DeviceLock hold;
      ownSynth->reset();
    } else if (own && own->GetState() == platform::PendingSynth::State::Failed) {
      // The same font failed before: failing now is what loading it again
      // would end in, only seconds later.
      return nullptr;
    }
  }
  platform::audio::DeviceLock hold;
  if (synth) synth->Reset();
  theStream.synth = synth;
  theStream.callback = callback;
  InitSequencer(theStream.sequencer, MixerRate());
  theStream.open = true;
  platform::audio::Wake();  // the device plays while a stream is open
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
  {
    platform::audio::DeviceLock hold;
    if (!IsOpenStream(stream)) return false;
  }
  if (!stream->synth && !*ownSynth) {
    // The synth loads now, with the programs of the buffers queued to play.
    std::vector<platform::SynthProgram> programs;
    {
      platform::audio::DeviceLock hold;
      programs = ProgramsOfBuffers(stream->sequencer.head);
    }
    const bool headless = platform::ActiveBackend() == platform::Backend::Headless;
    std::shared_ptr<platform::PendingSynth> started = platform::PendingSynth::Start(
        MixerRate(), headless ? std::string() : platform::FindSoundFont(chosenSoundFont), programs);
    platform::audio::DeviceLock hold;
    *ownSynth = std::move(started);
  }
  platform::audio::DeviceLock hold;
  if (!stream->synth) AdoptOwnSynth();
  StartSequencer(stream->sequencer);
  return true;
}

bool MidiStreamReset(MidiStream* stream) {
  platform::audio::DeviceLock hold;
  if (!IsOpenStream(stream)) return false;
  for (uint32_t channel = 0; stream->synth && channel < 16; ++channel) {
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

bool MidiStreamOpenNow() { return theStream.open; }

bool RenderMidiStream(float* frames, int frameCount) {
  if (!theStream.open || !AdoptOwnSynth()) return false;
  RenderSequencer(theStream.sequencer, *theStream.synth, frames, frameCount, ReportDone);
  return true;
}

void UseMidiSynth(platform::MidiSynth* synth) {
  platform::audio::DeviceLock hold;
  chosenSynth = synth;
}

void SetMusicSoundFont(const std::string& path) { chosenSoundFont = path; }

bool MusicSynthFailed() {
  platform::audio::DeviceLock hold;
  return *ownSynth && ownSynth->get()->GetState() == platform::PendingSynth::State::Failed;
}

bool MusicSynthLoading() {
  platform::audio::DeviceLock hold;
  return *ownSynth && ownSynth->get()->GetState() == platform::PendingSynth::State::Loading;
}
