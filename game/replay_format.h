// A recorded match: how it started, the input frame of every step (in runs
// of equal frames), checkpoints along the way and how it ended; and the
// file that holds it. docs/REPLAY.md describes the bytes. The reader takes
// untrusted input: every read is checked against the bytes there are, and a
// file with any byte changed is refused with a reason.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "game/input_frame.h"

constexpr uint16_t kReplayFormatVersion = 1;
// Raised whenever a change of the rules makes recorded matches play
// differently; a replay names the version that recorded it.
constexpr uint16_t kGameVersion = 1;
// Steps between two checkpoints of a recording.
constexpr uint16_t kCheckpointInterval = 16;
// A replay file larger than this is not read.
constexpr size_t kMaxReplayFileBytes = 4u << 20;
// The most steps a replay holds: 16.7 million, over 120 hours of play, so a
// hostile file cannot keep a check busy for long.
constexpr uint32_t kMaxReplaySteps = 1u << 24;

// Steps in a row in which a player's keys hold the same actions (kAction*
// bits).
struct ActionRun {
  uint8_t actions = 0;
  uint32_t count = 0;
};

// A step in which in-game keys acted (kEvent* bits); steps count from 1.
struct StepEvents {
  uint32_t step = 0;
  uint8_t events = 0;
};

// A player's record when the match ended.
struct ReplayFinal {
  int32_t state = 0;
  int32_t points = 0;
  int32_t rows = 0;
  int32_t level = 0;
};

struct Replay {
  uint16_t gameVersion = kGameVersion;
  int64_t date = 0;  // seconds since 1970-01-01 UTC when the match ended; 0 = unknown
  uint32_t matchSeed = 0;
  uint8_t playerCount = 1;
  uint8_t blobStyle = 0;
  uint8_t layouts = 0;                                // bit p: player p + 1 started on layout 1
  uint8_t startLatches = 0;                           // bit 4p + a: player p + 1's latch of action a was armed
  bool musicOff = false;                              // the music was off when the match started
  bool quit = false;                                  // the program was to end before the match was over
  uint16_t checkpointInterval = kCheckpointInterval;  // 1 or more
  uint32_t stepCount = 0;
  std::vector<ActionRun> actionRuns[2];  // each player's own; player 2's empty in a one-player match
  std::vector<StepEvents> events;        // in step order
  // ShortHash of the match state after step k * checkpointInterval, k = 1, 2, ...
  std::vector<uint16_t> checkpoints;
  ReplayFinal finals[2];   // players beyond playerCount stay zero
  uint64_t finalHash = 0;  // MatchStateHash after the last step
};

// Adds the frame of the next step.
void AppendFrame(Replay& replay, const InputFrame& frame);

// The frames of a replay, one step after the other.
class FrameCursor {
 public:
  explicit FrameCursor(const Replay& replay) : replay_(replay) {}
  bool Done() const { return position_ >= replay_.stepCount; }
  // The next step's frame; call only while !Done().
  InputFrame Next();
  // Steps taken so far.
  uint32_t Position() const { return position_; }

 private:
  const Replay& replay_;
  size_t run_[2] = {};
  uint32_t used_[2] = {};
  size_t event_ = 0;
  uint32_t position_ = 0;
};

std::vector<uint8_t> EncodeReplay(const Replay& replay);

// Reads a whole replay file. nullopt when the bytes are an undamaged replay
// this game can play; otherwise what is wrong with them, and `out` is
// unspecified.
std::optional<std::string> DecodeReplay(const uint8_t* bytes, size_t size, Replay& out);

// CRC-32 (the polynomial of zip and PNG).
uint32_t Crc32(const uint8_t* bytes, size_t size);

// The time a number of steps takes at the game's pace of one step every
// 26 ms, as "m:ss.t".
std::string StepTime(uint32_t steps);
