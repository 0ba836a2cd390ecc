// MdsOpen's parser on any bytes, then the loaded buffers played in a loop by
// the stream player's sequencer for a few seconds of sound.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "media/mds.h"
#include "media/midi_sequencer.h"
#include "platform/midi_synth.h"

namespace {

class SilentSynth final : public platform::MidiSynth {
 public:
  void ShortMessage(uint32_t) override {}
  void LongMessage(const uint8_t* bytes, size_t length) override {
    // Touch the block so that a bad bound shows.
    volatile uint8_t sum = 0;
    for (size_t i = 0; i < length; ++i) sum = static_cast<uint8_t>(sum + bytes[i]);
  }
  void Reset() override {}
  void Render(float*, int) override {}
};

MidiSequencer sequencer;
void Requeue(MidiHeader* header) { QueueSequencerBuffer(sequencer, header); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MdsHandle* handle = nullptr;
  if (MdsOpenImage(data, size, &handle) != kMdsDone) return 0;
  InitSequencer(sequencer, 8000);
  if (SetSequencerTimeDivision(sequencer, handle->timeFormat)) {
    for (uint32_t i = 0; i < handle->bufferCount; ++i) QueueSequencerBuffer(sequencer, &handle->buffers[i]);
    StartSequencer(sequencer);
    SilentSynth synth;
    static float scratch[1024 * 2];
    for (int block = 0; block < 24; ++block) RenderSequencer(sequencer, synth, scratch, 1024, Requeue);
    TakeSequencerQueue(sequencer);
  }
  MdsClose(handle);
  return 0;
}
