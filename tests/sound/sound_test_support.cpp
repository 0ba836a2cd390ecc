#include "sound_test_support.h"

#include <atomic>
#include <fstream>
#include <random>

void PutU16(Bytes& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void PutU32(Bytes& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutTag(Bytes& out, const char* tag) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

void PutBytes(Bytes& out, const Bytes& more) { out.insert(out.end(), more.begin(), more.end()); }

Bytes Chunk(const char* tag, const Bytes& body) {
  Bytes out;
  PutTag(out, tag);
  PutU32(out, static_cast<uint32_t>(body.size()));
  PutBytes(out, body);
  if (body.size() % 2) out.push_back(0);
  return out;
}

Bytes PcmFormat(uint16_t channels, uint32_t rate, uint16_t bits, uint32_t size) {
  Bytes body;
  uint16_t block = static_cast<uint16_t>(channels * bits / 8);
  PutU16(body, 1);
  PutU16(body, channels);
  PutU32(body, rate);
  PutU32(body, rate * block);
  PutU16(body, block);
  if (size >= 16) PutU16(body, bits);
  body.resize(size, 0);
  return body;
}

Bytes RiffWave(const std::vector<Bytes>& chunks, int64_t riffSizeExtra) {
  Bytes inner;
  PutTag(inner, "WAVE");
  for (const Bytes& chunk : chunks) PutBytes(inner, chunk);
  Bytes out;
  PutTag(out, "RIFF");
  PutU32(out, static_cast<uint32_t>(static_cast<int64_t>(inner.size()) + riffSizeExtra));
  PutBytes(out, inner);
  return out;
}

Bytes SimpleWave(uint16_t channels, uint32_t rate, uint16_t bits, uint32_t frames) {
  Bytes samples;
  for (uint32_t i = 0; i < frames * channels; ++i) {
    if (bits == 8) {
      samples.push_back(static_cast<uint8_t>(128 + 1 + i % 100));
    } else {
      PutU16(samples, static_cast<uint16_t>(1000 + i % 1000));
    }
  }
  return RiffWave({Chunk("fmt ", PcmFormat(channels, rate, bits)), Chunk("data", samples)});
}

Bytes StreamEvents(const std::vector<StreamEvent>& events, bool withStreamIds) {
  Bytes out;
  for (const StreamEvent& e : events) {
    PutU32(out, e.delta);
    if (withStreamIds) PutU32(out, 0);
    uint32_t word = e.word;
    if (word & 0x80000000u) word = (word & 0xFF000000u) | static_cast<uint32_t>(e.parameters.size());
    PutU32(out, word);
    PutBytes(out, e.parameters);
    while (out.size() % 4) out.push_back(0);
  }
  return out;
}

Bytes MdsFile(const std::vector<Bytes>& buffers, const MdsLayout& layout) {
  Bytes format;
  PutU32(format, layout.timeFormat);
  PutU32(format, layout.maxBufferSize);
  PutU32(format, layout.flags);
  format.resize(layout.formatLength < 12 ? 12 : layout.formatLength, 0);

  Bytes data;
  PutU32(data, static_cast<uint32_t>(static_cast<int64_t>(buffers.size()) + layout.bufferCountExtra));
  uint32_t tick = 0;
  for (const Bytes& buffer : buffers) {
    PutU32(data, tick++);
    PutU32(data, static_cast<uint32_t>(buffer.size()));
    PutBytes(data, buffer);
  }

  Bytes inner;
  PutTag(inner, "MIDS");
  PutTag(inner, "fmt ");
  PutU32(inner, layout.formatLength);
  inner.insert(inner.end(), format.begin(), format.begin() + layout.formatLength);
  PutTag(inner, "data");
  PutU32(inner, static_cast<uint32_t>(static_cast<int64_t>(data.size()) + layout.dataLengthExtra));
  PutBytes(inner, data);

  Bytes out;
  PutTag(out, "RIFF");
  PutU32(out, static_cast<uint32_t>(static_cast<int64_t>(inner.size()) + layout.riffSizeExtra));
  PutBytes(out, inner);
  return out;
}

ScratchDirectory::ScratchDirectory() {
  static std::atomic<int> counter{0};
  previous_ = std::filesystem::current_path();
  path_ = std::filesystem::temp_directory_path() /
          ("stakkor-sound-" + std::to_string(std::random_device{}()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
  std::filesystem::current_path(path_);
}

ScratchDirectory::~ScratchDirectory() {
  std::filesystem::current_path(previous_);
  std::filesystem::remove_all(path_);
}

void ScratchDirectory::Write(const std::string& name, const Bytes& bytes) const {
  std::ofstream file(path_ / name, std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> ReadLines(const std::filesystem::path& path) {
  std::vector<std::string> lines;
  std::ifstream file(path);
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  return lines;
}

std::vector<HeardMessage> RecordingSynth::SinceReset() const {
  std::vector<HeardMessage> since;
  for (const HeardMessage& m : messages) {
    if (m.message == kResetMark) {
      since.clear();
    } else {
      since.push_back(m);
    }
  }
  return since;
}

std::vector<std::pair<int, int64_t>> RecordingSynth::NotesOn() const {
  std::vector<std::pair<int, int64_t>> notes;
  for (const HeardMessage& m : SinceReset()) {
    if ((m.message & 0xF0) == 0x90 && ((m.message >> 16) & 0x7F) != 0) {
      notes.emplace_back(static_cast<int>((m.message >> 8) & 0x7F), m.frame);
    }
  }
  return notes;
}

int RecordingSynth::AllNotesOffAfterReset(int resetsBack) const {
  int marksToPass = resets - resetsBack;
  int count = 0;
  uint32_t channels = 0;
  for (const HeardMessage& m : messages) {
    if (m.message == kResetMark) {
      --marksToPass;
      continue;
    }
    if (marksToPass != 0) continue;
    if ((m.message & 0xF0) == 0xB0 && ((m.message >> 8) & 0x7F) == 123) {
      ++count;
      channels |= 1u << (m.message & 0x0F);
    }
  }
  return channels == 0xFFFF ? count : -count;
}
