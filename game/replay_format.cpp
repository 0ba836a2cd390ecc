#include "game/replay_format.h"

#include <cstdio>
#include <cstring>
#include <limits>

namespace {

constexpr char kMagic[4] = {'S', 'K', 'R', 'P'};
constexpr size_t kHeaderBytes = 31;
constexpr size_t kFinalBytes = 16;
constexpr size_t kTrailerBytes = 8 + 4;  // final hash, CRC
constexpr uint8_t kFlagMusicOff = 1;
// A run's byte holds its length in the high four bits when it is 1 to 15.
constexpr uint32_t kShortRun = 15;
constexpr uint8_t kFlagQuit = 2;
// Milliseconds a step takes at the game's pace (the gate is "more than 25").
constexpr uint32_t kStepMs = 26;

class Writer {
 public:
  void U8(uint8_t v) { bytes.push_back(v); }
  void U16(uint16_t v) { Le(v, 2); }
  void U32(uint32_t v) { Le(v, 4); }
  void U64(uint64_t v) { Le(v, 8); }
  void Varint(uint64_t v) {
    while (v >= 0x80) {
      bytes.push_back(static_cast<uint8_t>(v | 0x80));
      v >>= 7;
    }
    bytes.push_back(static_cast<uint8_t>(v));
  }
  std::vector<uint8_t> bytes;

 private:
  void Le(uint64_t v, int count) {
    for (int i = 0; i < count; ++i) bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
};

// Reads from [at, end); every read first checks that its bytes are there.
class Reader {
 public:
  Reader(const uint8_t* bytes, size_t end) : bytes_(bytes), end_(end) {}
  size_t Left() const { return end_ - at_; }
  size_t At() const { return at_; }
  bool U8(uint8_t& v) {
    uint64_t w;
    if (!Le(1, w)) return false;
    v = static_cast<uint8_t>(w);
    return true;
  }
  bool U16(uint16_t& v) {
    uint64_t w;
    if (!Le(2, w)) return false;
    v = static_cast<uint16_t>(w);
    return true;
  }
  bool U32(uint32_t& v) {
    uint64_t w;
    if (!Le(4, w)) return false;
    v = static_cast<uint32_t>(w);
    return true;
  }
  bool U64(uint64_t& v) { return Le(8, v); }
  // At most 5 bytes: 35 bits, enough for a count of 2^32 - 1 and a flag.
  // Longer encodings and ones with needless zero bytes are refused, so each
  // value has exactly one form.
  bool Varint(uint64_t& v) {
    v = 0;
    for (int i = 0; i < 5; ++i) {
      uint8_t b;
      if (!U8(b)) return false;
      v |= static_cast<uint64_t>(b & 0x7F) << (7 * i);
      if (!(b & 0x80)) return b != 0 || i == 0;
    }
    return false;
  }

 private:
  bool Le(int count, uint64_t& v) {
    if (Left() < static_cast<size_t>(count)) return false;
    v = 0;
    for (int i = 0; i < count; ++i) v |= static_cast<uint64_t>(bytes_[at_ + i]) << (8 * i);
    at_ += static_cast<size_t>(count);
    return true;
  }
  const uint8_t* bytes_;
  size_t end_;
  size_t at_ = 0;
};

struct CrcTable {
  uint32_t entries[256];
  constexpr CrcTable() : entries() {
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      entries[n] = c;
    }
  }
};
constexpr CrcTable kCrcTable;

std::string Text(const char* format, unsigned long long a, unsigned long long b = 0) {
  char text[160];
  std::snprintf(text, sizeof text, format, a, b);
  return text;
}

// One player's runs, until the step count is reached.
std::optional<std::string> DecodeRuns(Reader& in, uint32_t stepCount, int player, std::vector<ActionRun>& runs) {
  uint64_t steps = 0;
  while (steps < stepCount) {
    auto cut = [&] { return Text("player %llu's steps are cut short after step %llu", player + 1, steps); };
    uint8_t head;
    if (!in.U8(head)) return cut();
    uint64_t count = head >> 4;
    if (count == 0) {
      if (!in.Varint(count)) return cut();
      // Each run has one form: short ones never take the long one.
      if (count <= kShortRun) {
        return Text("player %llu's run after step %llu is written the long way", player + 1, steps);
      }
    }
    if (count > stepCount - steps) {
      return Text("a run of %llu steps after step %llu does not fit the step count", count, steps);
    }
    runs.push_back(ActionRun{static_cast<uint8_t>(head & kAllActions), static_cast<uint32_t>(count)});
    steps += count;
  }
  return std::nullopt;
}

// The steps with in-game events: their number, then each one's distance
// from the one before (from step 0 for the first) and its events.
std::optional<std::string> DecodeEvents(Reader& in, Replay& out) {
  uint64_t count;
  if (!in.Varint(count)) return std::string("its events are cut short");
  if (count > in.Left() / 2) return Text("it claims %llu event steps in %llu bytes", count, in.Left());
  uint64_t step = 0;
  for (uint64_t k = 0; k < count; ++k) {
    uint64_t gap;
    StepEvents e;
    if (!in.Varint(gap) || !in.U8(e.events)) return std::string("its events are cut short");
    if (gap == 0 || gap > out.stepCount - step) return Text("event %llu falls outside the steps", k + 1);
    step += gap;
    e.step = static_cast<uint32_t>(step);
    if (e.events == 0 || (e.events & ~kAllEvents)) return Text("step %llu has unknown events", step);
    if ((e.events & kEventLayout1) && (e.events & kEventLayout2)) return Text("step %llu switches both layouts", step);
    if (out.playerCount == 1 && (e.events & kEventLayout2)) {
      return Text("step %llu switches a second player's layout in a one-player match", step);
    }
    out.events.push_back(e);
  }
  return std::nullopt;
}

}  // namespace

void AppendFrame(Replay& replay, const InputFrame& frame) {
  ++replay.stepCount;
  for (int p = 0; p < replay.playerCount && p < 2; ++p) {
    std::vector<ActionRun>& runs = replay.actionRuns[p];
    const uint8_t actions = frame.actions[p] & kAllActions;
    if (!runs.empty() && runs.back().actions == actions && runs.back().count < std::numeric_limits<uint32_t>::max()) {
      ++runs.back().count;
    } else {
      runs.push_back(ActionRun{actions, 1});
    }
  }
  if (frame.events & kAllEvents) {
    replay.events.push_back(StepEvents{replay.stepCount, static_cast<uint8_t>(frame.events & kAllEvents)});
  }
}

InputFrame FrameCursor::Next() {
  InputFrame frame;
  ++position_;
  for (int p = 0; p < replay_.playerCount && p < 2; ++p) {
    const std::vector<ActionRun>& runs = replay_.actionRuns[p];
    if (run_[p] >= runs.size()) continue;
    frame.actions[p] = runs[run_[p]].actions;
    if (++used_[p] >= runs[run_[p]].count) {
      ++run_[p];
      used_[p] = 0;
    }
  }
  if (event_ < replay_.events.size() && replay_.events[event_].step == position_) {
    frame.events = replay_.events[event_++].events;
  }
  return frame;
}

std::vector<uint8_t> EncodeReplay(const Replay& r) {
  Writer out;
  for (char c : kMagic) out.U8(static_cast<uint8_t>(c));
  out.U16(kReplayFormatVersion);
  out.U16(r.gameVersion);
  out.U64(static_cast<uint64_t>(r.date));
  out.U32(r.matchSeed);
  out.U8(r.playerCount);
  out.U8(r.blobStyle);
  out.U8(r.layouts);
  out.U8(r.startLatches);
  out.U8(static_cast<uint8_t>((r.musicOff ? kFlagMusicOff : 0) | (r.quit ? kFlagQuit : 0)));
  out.U16(r.checkpointInterval);
  out.U32(r.stepCount);
  for (int p = 0; p < r.playerCount && p < 2; ++p) {
    for (const ActionRun& run : r.actionRuns[p]) {
      // A run of up to 15 steps takes a single byte.
      const uint8_t shortCount = run.count <= kShortRun ? static_cast<uint8_t>(run.count) : 0;
      out.U8(static_cast<uint8_t>(shortCount << 4 | (run.actions & kAllActions)));
      if (!shortCount) out.Varint(run.count);
    }
  }
  out.Varint(r.events.size());
  uint32_t previous = 0;
  for (const StepEvents& e : r.events) {
    out.Varint(e.step - previous);
    out.U8(e.events);
    previous = e.step;
  }
  for (uint16_t c : r.checkpoints) out.U16(c);
  for (int p = 0; p < r.playerCount && p < 2; ++p) {
    for (int32_t v : {r.finals[p].state, r.finals[p].points, r.finals[p].rows, r.finals[p].level}) {
      out.U32(static_cast<uint32_t>(v));
    }
  }
  out.U64(r.finalHash);
  out.U32(Crc32(out.bytes.data(), out.bytes.size()));
  return std::move(out.bytes);
}

std::optional<std::string> DecodeReplay(const uint8_t* bytes, size_t size, Replay& out) {
  out = Replay{};
  if (size < sizeof kMagic || std::memcmp(bytes, kMagic, sizeof kMagic) != 0) {
    return std::string("not a replay (it does not begin with SKRP)");
  }
  if (size > kMaxReplayFileBytes) return Text("it is larger than %llu bytes", kMaxReplayFileBytes);
  if (size < kHeaderBytes + kFinalBytes + kTrailerBytes) return Text("it is cut short: %llu bytes", size);
  // The checksum first: any byte changed anywhere is found here, before a
  // damaged field can be mistaken for a meaningful one.
  Reader tail(bytes + size - 4, 4);
  uint32_t stored = 0;
  tail.U32(stored);
  if (stored != Crc32(bytes, size - 4)) return std::string("it is damaged: its checksum does not match its bytes");

  Reader in(bytes, size - 4);
  uint8_t skip, flags;
  uint16_t format;
  uint64_t date;
  for (size_t i = 0; i < sizeof kMagic; ++i) in.U8(skip);
  in.U16(format);
  if (format != kReplayFormatVersion) {
    return Text("it has format version %llu; this game reads version %llu", format, kReplayFormatVersion);
  }
  in.U16(out.gameVersion);
  in.U64(date);
  out.date = static_cast<int64_t>(date);
  in.U32(out.matchSeed);
  in.U8(out.playerCount);
  in.U8(out.blobStyle);
  in.U8(out.layouts);
  in.U8(out.startLatches);
  in.U8(flags);
  in.U16(out.checkpointInterval);
  in.U32(out.stepCount);
  if (out.playerCount != 1 && out.playerCount != 2) return Text("it names %llu players", out.playerCount);
  if (out.blobStyle > 1) return Text("it names piece style %llu", out.blobStyle);
  if (out.layouts >> out.playerCount) return Text("it names layouts 0x%llx", out.layouts);
  if (out.playerCount == 1 && (out.startLatches & 0xF0)) return Text("it names latches 0x%llx", out.startLatches);
  if (flags & ~(kFlagMusicOff | kFlagQuit)) return Text("it has unknown flags 0x%llx", flags);
  if (out.checkpointInterval == 0) return std::string("it has no checkpoint interval");
  if (out.stepCount > kMaxReplaySteps) {
    return Text("it claims %llu steps, more than %llu", out.stepCount, kMaxReplaySteps);
  }
  out.musicOff = flags & kFlagMusicOff;
  out.quit = flags & kFlagQuit;

  for (int p = 0; p < out.playerCount; ++p) {
    if (auto error = DecodeRuns(in, out.stepCount, p, out.actionRuns[p])) return error;
  }
  if (auto error = DecodeEvents(in, out)) return error;

  const size_t checkpoints = out.stepCount / out.checkpointInterval;
  if (in.Left() < checkpoints * 2) {
    return Text("its checkpoints are cut short: %llu of %llu", in.Left() / 2, checkpoints);
  }
  out.checkpoints.resize(checkpoints);
  for (uint16_t& c : out.checkpoints) in.U16(c);
  for (int p = 0; p < out.playerCount; ++p) {
    uint32_t v[4];
    for (uint32_t& w : v) {
      if (!in.U32(w)) return std::string("its final state is cut short");
    }
    out.finals[p] = ReplayFinal{static_cast<int32_t>(v[0]), static_cast<int32_t>(v[1]), static_cast<int32_t>(v[2]),
                                static_cast<int32_t>(v[3])};
  }
  if (!in.U64(out.finalHash)) return std::string("its final state is cut short");
  if (in.Left() != 0) return Text("it has %llu bytes more than its contents", in.Left());
  return std::nullopt;
}

uint32_t Crc32(const uint8_t* bytes, size_t size) {
  uint32_t c = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) c = kCrcTable.entries[(c ^ bytes[i]) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

std::string StepTime(uint32_t steps) {
  const uint64_t tenths = static_cast<uint64_t>(steps) * kStepMs / 100;
  char text[48];
  std::snprintf(text, sizeof text, "%llu:%02llu.%llu", static_cast<unsigned long long>(tenths / 600),
                static_cast<unsigned long long>(tenths / 10 % 60), static_cast<unsigned long long>(tenths % 10));
  return text;
}
