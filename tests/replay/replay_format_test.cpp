// The replay file: what is written reads back the same, and a file with any
// byte changed, cut short or grown is refused with a reason.
#include "game/replay_format.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// A replay of `steps` random frames: keys held for a few steps at a time,
// now and then an in-game event, both players when there are two.
Replay RandomReplay(int players, uint32_t steps, uint32_t seedValue, std::vector<InputFrame>* frames = nullptr) {
  Replay r;
  r.playerCount = static_cast<uint8_t>(players);
  r.blobStyle = static_cast<uint8_t>(seedValue & 1);
  r.matchSeed = seedValue * 7919u;
  r.date = 1700000000 + seedValue;
  r.layouts = static_cast<uint8_t>(players == 2 ? 2 : 1);
  r.startLatches = players == 2 ? 0x3C : 0x0F;
  r.musicOff = seedValue % 3 == 0;
  std::mt19937 random(seedValue);
  InputFrame held;
  for (uint32_t step = 1; step <= steps; ++step) {
    if (random() % 5 == 0) held.actions[0] = static_cast<uint8_t>(random() % 16);
    if (players == 2 && random() % 4 == 0) held.actions[1] = static_cast<uint8_t>(random() % 16);
    InputFrame frame = held;
    if (random() % 97 == 0) {
      frame.events =
          static_cast<uint8_t>(random() % 64) & static_cast<uint8_t>(players == 2 ? ~kEventLayout1 : ~kEventLayout2);
    }
    AppendFrame(r, frame);
    if (step % r.checkpointInterval == 0) r.checkpoints.push_back(static_cast<uint16_t>(random()));
    if (frames) frames->push_back(frame);
  }
  for (int p = 0; p < players; ++p) r.finals[p] = ReplayFinal{100 - p * 101, 1234 + p, 56, 7};
  r.finalHash = 0x0123456789ABCDEFull ^ seedValue;
  return r;
}

std::vector<uint8_t> Sealed(std::vector<uint8_t> bytes) {
  const uint32_t crc = Crc32(bytes.data(), bytes.size() - 4);
  for (int i = 0; i < 4; ++i) bytes[bytes.size() - 4 + i] = static_cast<uint8_t>(crc >> (8 * i));
  return bytes;
}

std::optional<std::string> Decode(const std::vector<uint8_t>& bytes) {
  Replay out;
  return DecodeReplay(bytes.data(), bytes.size(), out);
}

TEST(ReplayFormat, WhatIsWrittenReadsBackFrameForFrame) {
  for (int players = 1; players <= 2; ++players) {
    std::vector<InputFrame> frames;
    const Replay r = RandomReplay(players, 3000, 40u + static_cast<uint32_t>(players), &frames);
    const std::vector<uint8_t> bytes = EncodeReplay(r);
    Replay back;
    ASSERT_EQ(DecodeReplay(bytes.data(), bytes.size(), back), std::nullopt);
    EXPECT_EQ(back.playerCount, r.playerCount);
    EXPECT_EQ(back.blobStyle, r.blobStyle);
    EXPECT_EQ(back.matchSeed, r.matchSeed);
    EXPECT_EQ(back.date, r.date);
    EXPECT_EQ(back.layouts, r.layouts);
    EXPECT_EQ(back.startLatches, r.startLatches);
    EXPECT_EQ(back.musicOff, r.musicOff);
    EXPECT_EQ(back.stepCount, 3000u);
    EXPECT_EQ(back.checkpoints, r.checkpoints);
    EXPECT_EQ(back.finals[players - 1].points, 1234 + players - 1);
    EXPECT_EQ(back.finals[1].state, players == 2 ? -1 : 0);
    EXPECT_EQ(back.finalHash, r.finalHash);
    FrameCursor cursor(back);
    for (size_t k = 0; k < frames.size(); ++k) {
      ASSERT_FALSE(cursor.Done());
      ASSERT_EQ(cursor.Next(), frames[k]) << "step " << k + 1;
    }
    EXPECT_TRUE(cursor.Done());
    EXPECT_EQ(EncodeReplay(back), bytes);
  }
}

TEST(ReplayFormat, RunsOfEveryLengthKeepTheirLength) {
  // Around the one-byte limit of 15 and the varint's 7-bit steps.
  for (uint32_t length : {1u, 14u, 15u, 16u, 127u, 128u, 16383u, 16384u, 300000u}) {
    Replay r;
    InputFrame held;
    held.actions[0] = kActionBitLeft | kActionBitDrop;
    for (uint32_t k = 0; k < length; ++k) AppendFrame(r, held);
    AppendFrame(r, InputFrame{});
    r.checkpoints.resize(r.stepCount / r.checkpointInterval);
    const std::vector<uint8_t> bytes = EncodeReplay(r);
    Replay back;
    ASSERT_EQ(DecodeReplay(bytes.data(), bytes.size(), back), std::nullopt) << length;
    ASSERT_EQ(back.actionRuns[0].size(), 2u);
    EXPECT_EQ(back.actionRuns[0][0].count, length);
    EXPECT_EQ(back.actionRuns[0][0].actions, kActionBitLeft | kActionBitDrop);
  }
}

TEST(ReplayFormat, AnyOneByteChangedAnywhereIsRefusedWithAReason) {
  const std::vector<uint8_t> bytes = EncodeReplay(RandomReplay(2, 400, 9));
  for (size_t at = 0; at < bytes.size(); ++at) {
    for (uint8_t flip : {0x01, 0x80, 0xFF}) {
      std::vector<uint8_t> damaged = bytes;
      damaged[at] ^= flip;
      const auto error = Decode(damaged);
      ASSERT_TRUE(error.has_value()) << "byte " << at << " ^ " << int{flip};
      EXPECT_FALSE(error->empty());
    }
  }
}

TEST(ReplayFormat, AFileCutShortOrGrownIsRefused) {
  const std::vector<uint8_t> bytes = EncodeReplay(RandomReplay(1, 200, 3));
  for (size_t size = 0; size < bytes.size(); ++size) {
    EXPECT_TRUE(Decode(std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(size)))) << size;
  }
  std::vector<uint8_t> grown = bytes;
  grown.push_back(0);
  EXPECT_TRUE(Decode(grown));
  // Grown behind a checksum that matches again: the reader still counts.
  grown = bytes;
  grown.insert(grown.end() - 4, uint8_t{0});
  EXPECT_NE(Decode(Sealed(grown)).value_or("").find("more than its contents"), std::string::npos);
}

TEST(ReplayFormat, FieldsThatCannotBeAreNamedEvenBehindAMatchingChecksum) {
  Replay r = RandomReplay(1, 40, 5);
  const std::vector<uint8_t> good = EncodeReplay(r);
  auto with = [&](size_t at, uint8_t value) {
    std::vector<uint8_t> bytes = good;
    bytes[at] = value;
    return Decode(Sealed(bytes)).value_or("");
  };
  EXPECT_NE(with(0, 'X').find("not a replay"), std::string::npos);
  EXPECT_NE(with(4, 2).find("format version 2"), std::string::npos);
  EXPECT_NE(with(20, 3).find("3 players"), std::string::npos);
  EXPECT_NE(with(21, 2).find("piece style 2"), std::string::npos);
  EXPECT_NE(with(22, 2).find("layouts"), std::string::npos);
  EXPECT_NE(with(23, 0x10).find("latches"), std::string::npos);
  EXPECT_NE(with(24, 4).find("unknown flags"), std::string::npos);
  {
    std::vector<uint8_t> bytes = good;
    bytes[25] = bytes[26] = 0;  // checkpoint interval 0
    EXPECT_NE(Decode(Sealed(bytes)).value_or("").find("checkpoint interval"), std::string::npos);
  }
  {
    std::vector<uint8_t> bytes = good;
    bytes[30] = 0x02;  // 2^25 steps
    EXPECT_NE(Decode(Sealed(bytes)).value_or("").find("more than"), std::string::npos);
  }
}

TEST(ReplayFormat, ARunHasOneFormOnly) {
  Replay r;
  for (int k = 0; k < 5; ++k) AppendFrame(r, InputFrame{{kActionBitTurn, 0}, 0});
  std::vector<uint8_t> bytes = EncodeReplay(r);
  ASSERT_EQ(bytes[31], 0x50 | kActionBitTurn);
  // The same run of 5 in the long form: length 0, then the varint 5.
  bytes[31] = kActionBitTurn;
  bytes.insert(bytes.begin() + 32, uint8_t{5});
  EXPECT_NE(Decode(Sealed(bytes)).value_or("").find("the long way"), std::string::npos);
}

TEST(ReplayFormat, EventsMustBeKnownAndFitThePlayers) {
  Replay r;
  r.playerCount = 1;
  InputFrame frame;
  frame.events = kEventPause;
  AppendFrame(r, frame);
  r.events.back().events = kEventLayout2;
  EXPECT_NE(Decode(EncodeReplay(r)).value_or("").find("second player's layout"), std::string::npos);
  r.events.back().events = 0x40;
  EXPECT_NE(Decode(EncodeReplay(r)).value_or("").find("unknown events"), std::string::npos);
  r.playerCount = 2;
  r.actionRuns[1] = {ActionRun{0, 1}};
  r.events.back().events = kEventLayout1 | kEventLayout2;
  EXPECT_NE(Decode(EncodeReplay(r)).value_or("").find("both layouts"), std::string::npos);
  r.events.back().events = kEventEscape;
  r.events.back().step = 2;  // past the one step there is
  EXPECT_NE(Decode(EncodeReplay(r)).value_or("").find("outside the steps"), std::string::npos);
  r.events.back().step = 1;
  EXPECT_EQ(Decode(EncodeReplay(r)), std::nullopt);
}

TEST(ReplayFormat, ARunThatDoesNotFitTheStepCountIsRefused) {
  Replay r;
  for (int k = 0; k < 5; ++k) AppendFrame(r, InputFrame{});
  r.actionRuns[0][0].count = 6;
  EXPECT_NE(Decode(EncodeReplay(r)).value_or("").find("does not fit"), std::string::npos);
  r.actionRuns[0][0].count = 4;  // one step short: what follows is read as steps
  EXPECT_TRUE(Decode(EncodeReplay(r)).has_value());
}

TEST(ReplayFormat, StepTimesAreAt26MillisecondsAStep) {
  EXPECT_EQ(StepTime(0), "0:00.0");
  EXPECT_EQ(StepTime(1), "0:00.0");
  EXPECT_EQ(StepTime(2308), "1:00.0");
  EXPECT_EQ(StepTime(23077), "10:00.0");
}

TEST(ReplayFormat, TheChecksumIsTheCommonCrc32) {
  const uint8_t text[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
  EXPECT_EQ(Crc32(text, sizeof text), 0xCBF43926u);
}

}  // namespace
