// stakkor-tool wavinfo / mdsinfo / mdsrender: the game's sound files, read
// with the game's own code, and the music rendered to a WAV file to listen to.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "media/mds.h"
#include "media/midi_sequencer.h"
#include "media/midi_stream.h"
#include "media/wave_file.h"
#include "media/wave_loader.h"
#include "platform/audio.h"
#include "platform/midi_synth.h"
#include "platform/platform.h"
#include "tools/verb.h"

namespace {

const char* MdsResultText(int result) {
  switch (result) {
    case kMdsDone: return "done";
    case kMdsOutOfMemory: return "out of memory";
    case kMdsCannotOpen: return "the file cannot be opened";
    case kMdsInvalidFile: return "not a valid MDS file";
    case kMdsDeviceRefused: return "the MIDI device refused";
    case kMdsNotAHandle: return "not a live handle";
    case kMdsWrongState: return "wrong state";
  }
  return "unknown";
}

int RunWavInfo(const std::vector<std::string>& args) {
  if (args.size() != 1) return VerbError("wavinfo", "usage: wavinfo FILE");
  std::vector<uint8_t> image;
  if (!platform::ReadWholeFile(args[0], image, kMaxWaveFileBytes)) {
    return VerbError("wavinfo", "cannot read " + args[0]);
  }
  WaveInfo info;
  int result = ParseWaveImage(image.data(), image.size(), &info.format, &info.data, &info.dataSize, &info.formatSize);
  std::printf("%s: %s\n", args[0].c_str(), result ? "a valid WAV image" : "not a valid WAV image (the effect stays silent)");
  if (!result) return 1;
  WaveFormat format;
  ReadWaveFormat(info.format, info.formatSize, format);
  std::printf("format: tag %u%s, %u channel%s, %u Hz, %u bits (fmt chunk %u bytes)\n", format.formatTag,
              format.formatTag == 1 ? " (PCM)" : "", format.channels, format.channels == 1 ? "" : "s",
              format.samplesPerSec, format.bitsPerSample, info.formatSize);
  std::printf("data: %u bytes", info.dataSize);
  unsigned frameBytes = format.channels * format.bitsPerSample / 8u;
  if (frameBytes != 0 && format.samplesPerSec != 0) {
    std::printf(", %.3f s", static_cast<double>(info.dataSize / frameBytes) / format.samplesPerSec);
  }
  std::printf("\n");
  return 0;
}

// A synth that only lets time pass.
class SilentSynth final : public platform::MidiSynth {
 public:
  void ShortMessage(uint32_t) override {}
  void Reset() override {}
  void Render(float*, int) override {}
};

int buffersDone = 0;
void CountDone(MidiHeader*) { ++buffersDone; }

// The length of one pass through the piece, played by the sequencer.
double PieceSeconds(MdsHandle& handle, bool& complete) {
  constexpr int kRate = 48000;
  constexpr int64_t kLongest = int64_t{kRate} * 3600;
  MidiSequencer sequencer;
  InitSequencer(sequencer, kRate);
  complete = false;
  if (!SetSequencerTimeDivision(sequencer, handle.timeFormat)) return 0;
  std::vector<MidiHeader> copies(handle.buffers, handle.buffers + handle.bufferCount);
  for (MidiHeader& header : copies) QueueSequencerBuffer(sequencer, &header);
  StartSequencer(sequencer);
  SilentSynth synth;
  static float scratch[4096 * 2];  // the silent synth writes nothing into it
  buffersDone = 0;
  while (sequencer.head && sequencer.now < kLongest && !sequencer.stalled) {
    RenderSequencer(sequencer, synth, scratch, 4096, CountDone);
  }
  complete = !sequencer.head;
  return static_cast<double>(sequencer.lastEventFrame) / kRate;
}

int RunMdsInfo(const std::vector<std::string>& args) {
  if (args.size() != 1) return VerbError("mdsinfo", "usage: mdsinfo FILE");
  MdsHandle* handle = nullptr;
  int result = MdsOpen(args[0].c_str(), &handle);
  std::printf("%s: MdsOpen result %d (%s)\n", args[0].c_str(), result, MdsResultText(result));
  if (result != kMdsDone) return 1;
  uint32_t division = handle->timeFormat & 0xFFFF;
  if (division & 0x8000) {
    std::printf("time format: 0x%08X, SMPTE %d frames a second, %u ticks a frame\n", handle->timeFormat,
                -static_cast<int8_t>(division >> 8), division & 0xFF);
  } else {
    std::printf("time format: 0x%08X, %u ticks per quarter note\n", handle->timeFormat, division);
  }
  std::printf("buffers: %u\nmaximum buffer size: %u bytes\n", handle->bufferCount, handle->maxBufferSize);
  std::printf("flags: 0x%08X%s\n", handle->flags,
              (handle->flags & kMdsNoStreamIds) ? " (events stored without stream ids)" : "");
  uint64_t events = 0;
  for (uint32_t i = 0; i < handle->bufferCount; ++i) events += handle->buffers[i].bytesRecorded;
  std::printf("event bytes: %llu\n", static_cast<unsigned long long>(events));
  bool complete = false;
  double seconds = PieceSeconds(*handle, complete);
  if (complete) {
    std::printf("one pass: %.3f s\n", seconds);
  } else {
    std::printf("one pass: does not end (time division refused, over an hour, or no time passes)\n");
  }
  MdsClose(handle);
  return 0;
}

void PutU16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}
void PutTag(std::vector<uint8_t>& out, const char* tag) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

// The music through the game's whole sound path (stream player, mixer,
// limiter) on the headless null device, into a 16-bit stereo WAV file.
int RunMdsRender(const std::vector<std::string>& args) {
  if (args.size() != 3) return VerbError("mdsrender", "usage: mdsrender FILE.MDS OUT.WAV SECONDS");
  char* end = nullptr;
  long seconds = std::strtol(args[2].c_str(), &end, 10);
  if (*end != '\0' || seconds <= 0 || seconds > 3600) return VerbError("mdsrender", "SECONDS: 1 to 3600");
  std::string font = platform::FindSoundFont();
  if (font.empty()) return VerbError("mdsrender", "no SoundFont found (set STAKKOR_SOUNDFONT)");
  std::unique_ptr<platform::MidiSynth> synth = platform::CreateFluidSynth(platform::audio::kPreferredRate, font);
  if (!synth) return VerbError("mdsrender", "FluidSynth cannot load " + font);
  std::printf("SoundFont: %s\n", font.c_str());

  MdsHandle* handle = nullptr;
  int result = MdsOpen(args[0].c_str(), &handle);
  if (result != kMdsDone) {
    return VerbError("mdsrender", "MdsOpen result " + std::to_string(result) + " (" + MdsResultText(result) + ")");
  }
  std::vector<uint8_t> samples;
  platform::audio::SetTap([&](const float* frames, int count) {
    for (int i = 0; i < count * 2; ++i) {
      float v = frames[i] < -1.0f ? -1.0f : frames[i] > 1.0f ? 1.0f : frames[i];
      PutU16(samples, static_cast<uint16_t>(static_cast<int16_t>(v * 32767.0f)));
    }
  });
  UseMidiSynth(synth.get());
  result = MdsPlay(handle, 1);
  if (result == kMdsDone) {
    for (long ms = 0; ms < seconds * 1000; ++ms) platform::Wait();
  }
  MdsClose(handle);
  UseMidiSynth(nullptr);
  platform::audio::SetTap(nullptr);
  platform::audio::Close();
  if (result != kMdsDone) return VerbError("mdsrender", "MdsPlay result " + std::to_string(result));

  const int rate = platform::audio::kPreferredRate;
  std::vector<uint8_t> file;
  PutTag(file, "RIFF");
  PutU32(file, static_cast<uint32_t>(36 + samples.size()));
  PutTag(file, "WAVE");
  PutTag(file, "fmt ");
  PutU32(file, 16);
  PutU16(file, 1);
  PutU16(file, 2);
  PutU32(file, rate);
  PutU32(file, rate * 4);
  PutU16(file, 4);
  PutU16(file, 16);
  PutTag(file, "data");
  PutU32(file, static_cast<uint32_t>(samples.size()));
  file.insert(file.end(), samples.begin(), samples.end());
  if (!platform::WriteFileAtomically(args[1], file.data(), file.size())) {
    return VerbError("mdsrender", "cannot write " + args[1]);
  }
  std::printf("%s: %ld s at %d Hz\n", args[1].c_str(), seconds, rate);
  return 0;
}

VerbRegistration wavInfoVerb{Verb{40, "wavinfo", "wavinfo FILE  checks a WAV effect as the game reads it: format, size, length", RunWavInfo}};
VerbRegistration mdsInfoVerb{
    Verb{41, "mdsinfo", "mdsinfo FILE  checks an MDS music file: result code, time format, buffers, flags", RunMdsInfo}};
VerbRegistration mdsRenderVerb{Verb{
    42, "mdsrender", "mdsrender FILE OUT.WAV SECONDS  plays the music in a loop through FluidSynth into a WAV file",
    RunMdsRender}};

}  // namespace
