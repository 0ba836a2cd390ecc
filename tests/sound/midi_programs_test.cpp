// The programs found in the music's buffers, loaded with the SoundFont
// before the music plays.
#include <gtest/gtest.h>

#include "media/midi_programs.h"
#include "sound_test_support.h"

namespace {

constexpr uint32_t Short(int status, int data1, int data2 = 0) {
  return static_cast<uint32_t>(status) | static_cast<uint32_t>(data1) << 8 | static_cast<uint32_t>(data2) << 16;
}

TEST(MidiProgramsTest, ProgramChangesWithTheirBanksOnceEachAcrossBuffers) {
  Bytes first = StreamEvents({{0, Short(0xB0, 0, 8)},        // channel 1: bank 8
                              {0, Short(0xC0, 5)},           // program 5 of bank 8
                              {0, Short(0xC9, 0)},           // drums: kit 0 of bank 128
                              {0, 0x80000000u, Bytes{0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}},
                              {0, Short(0xC1, 5)},           // channel 2, bank 0
                              {0, Tempo(400000)}});
  Bytes second = StreamEvents({{0, Short(0xC0, 5)}, {0, Short(0x90, 0xC0)}, {0, Short(0xC3, 33)}});
  MidiHeader b{second.data(), static_cast<uint32_t>(second.size()), static_cast<uint32_t>(second.size())};
  MidiHeader a{first.data(), static_cast<uint32_t>(first.size()), static_cast<uint32_t>(first.size())};
  a.next = &b;
  const std::vector<platform::SynthProgram> programs = ProgramsOfBuffers(&a);
  const std::vector<platform::SynthProgram> expected = {{8, 5}, {128, 0}, {0, 5}, {0, 33}};
  EXPECT_EQ(programs, expected);
}

TEST(MidiProgramsTest, CutOffEventsAndLyingLengthsEndTheScanSafely) {
  Bytes events = StreamEvents({{0, Short(0xC0, 7)}, {0, Short(0xC0, 9)}});
  // A long event claiming more than is there, then bytes that make no event.
  Bytes lying = StreamEvents({{0, Short(0xC0, 11)}});
  lying.insert(lying.end(), {0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x80, 1, 2});
  MidiHeader cut{events.data(), static_cast<uint32_t>(events.size()), static_cast<uint32_t>(events.size() - 1)};
  MidiHeader bad{lying.data(), static_cast<uint32_t>(lying.size()), static_cast<uint32_t>(lying.size() + 100)};
  cut.next = &bad;
  const std::vector<platform::SynthProgram> programs = ProgramsOfBuffers(&cut);
  const std::vector<platform::SynthProgram> expected = {{0, 7}, {0, 11}};
  EXPECT_EQ(programs, expected);
  EXPECT_TRUE(ProgramsOfBuffers(nullptr).empty());
}

}  // namespace
