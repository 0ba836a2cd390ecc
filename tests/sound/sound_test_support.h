// Builders of WAV and MDS files, a synth that writes down what it hears, and
// a scratch directory to run in.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/midi_synth.h"

using Bytes = std::vector<uint8_t>;

void PutU16(Bytes& out, uint16_t v);
void PutU32(Bytes& out, uint32_t v);
void PutTag(Bytes& out, const char* tag);
void PutBytes(Bytes& out, const Bytes& more);

// ---- WAV ----

// A chunk with its header and, for an odd length, the pad byte.
Bytes Chunk(const char* tag, const Bytes& body);
// A "fmt " body of `size` bytes (14, 16 or more) for PCM.
Bytes PcmFormat(uint16_t channels, uint32_t rate, uint16_t bits, uint32_t size = 16);
// "RIFF" <size> "WAVE" and the chunks; the RIFF size is the true one plus
// `riffSizeExtra`.
Bytes RiffWave(const std::vector<Bytes>& chunks, int64_t riffSizeExtra = 0);
// A whole PCM WAV file of `frames` frames, samples counting up from 1.
Bytes SimpleWave(uint16_t channels, uint32_t rate, uint16_t bits, uint32_t frames);

// ---- MDS ----

struct StreamEvent {
  StreamEvent(uint32_t d, uint32_t w, Bytes p = {}) : delta(d), word(w), parameters(std::move(p)) {}
  uint32_t delta;
  uint32_t word;     // type in the top byte
  Bytes parameters;  // for long events: the block, unpadded
};

constexpr uint32_t NoteOn(int channel, int note, int velocity = 100) {
  return static_cast<uint32_t>(0x90 | channel) | static_cast<uint32_t>(note) << 8 |
         static_cast<uint32_t>(velocity) << 16;
}
constexpr uint32_t Tempo(uint32_t microsecondsPerQuarter) { return 0x01000000u | microsecondsPerQuarter; }
constexpr uint32_t kNop = 0x02000000u;

// The events of one buffer, with or without the stream-id word; a long
// event's word gets the parameter length and its block is padded.
Bytes StreamEvents(const std::vector<StreamEvent>& events, bool withStreamIds = true);

struct MdsLayout {
  uint32_t timeFormat = 480;
  uint32_t maxBufferSize = 1024;
  uint32_t flags = 0;
  uint32_t formatLength = 12;   // extra bytes are zero
  int64_t riffSizeExtra = 0;    // added to the true RIFF size
  int64_t dataLengthExtra = 0;  // added to the true data length
  int64_t bufferCountExtra = 0; // added to the count of buffers given
};
Bytes MdsFile(const std::vector<Bytes>& buffers, const MdsLayout& layout = {});

// ---- files ----

// A fresh empty directory made the current one for the life of the object.
class ScratchDirectory {
 public:
  ScratchDirectory();
  ~ScratchDirectory();
  std::filesystem::path path() const { return path_; }
  void Write(const std::string& name, const Bytes& bytes) const;

 private:
  std::filesystem::path path_;
  std::filesystem::path previous_;
};

std::vector<std::string> ReadLines(const std::filesystem::path& path);

// ---- a synth that listens ----

struct HeardMessage {
  int64_t frame;  // frames rendered since the last Reset when it came
  uint32_t message;
};

class RecordingSynth final : public platform::MidiSynth {
 public:
  void ShortMessage(uint32_t message) override { messages.push_back({frames, message}); }
  void LongMessage(const uint8_t* bytes, size_t length) override {
    longMessages.emplace_back(frames, Bytes(bytes, bytes + length));
  }
  // Marks the reset among the messages and starts counting frames anew.
  void Reset() override {
    ++resets;
    frames = 0;
    messages.push_back({0, kResetMark});
  }
  void Render(float* out, int frameCount) override {
    for (int i = 0; i < frameCount * 2; ++i) out[i] = 0.0f;
    frames += frameCount;
  }

  static constexpr uint32_t kResetMark = 0xFFFFFFFFu;

  // The note-on messages since the last reset: notes and frames, in order.
  std::vector<std::pair<int, int64_t>> NotesOn() const;
  // The messages since the last reset.
  std::vector<HeardMessage> SinceReset() const;
  // How many "all notes off" messages came, one per channel, since the last
  // reset but `resetsBack` (0 = the last one).
  int AllNotesOffAfterReset(int resetsBack) const;

  int64_t frames = 0;
  int resets = 0;
  std::vector<HeardMessage> messages;
  std::vector<std::pair<int64_t, Bytes>> longMessages;
};
