// The sound effects through the game's WAV parser, the music through the
// game's MDS loader and the scroller text.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <string>

#include "media/mds.h"
#include "media/wave_file.h"
#include "tests/assets/generator_fixture.h"
#include "tools/mds_file.h"
#include "tools/midi_file.h"

namespace {

const char* const kEffects[7] = {"WURF.WAV",  "REIHEN.WAV", "VIERER.WAV", "GAMEOVER.WAV",
                                 "START.WAV", "LACH.WAV",   "TSCHAU.WAV"};

TEST(GeneratedSounds, EffectsAreShortSixteenBitPcmNeitherSilentNorClipped) {
  for (const char* name : kEffects) {
    const std::vector<uint8_t>& image = assets_test::DataBytes(name);
    const uint8_t* format = nullptr;
    const uint8_t* data = nullptr;
    uint32_t size = 0, formatSize = 0;
    ASSERT_EQ(ParseWaveImage(image.data(), image.size(), &format, &data, &size, &formatSize), 1) << name;
    WaveFormat f;
    ASSERT_TRUE(ReadWaveFormat(format, formatSize, f)) << name;
    EXPECT_EQ(f.formatTag, 1) << name;
    EXPECT_EQ(f.channels, 1) << name;
    EXPECT_EQ(f.bitsPerSample, 16) << name;
    EXPECT_EQ(f.samplesPerSec, 22050u) << name;
    ASSERT_EQ(size % 2, 0u);
    const size_t count = size / 2;
    double seconds = static_cast<double>(count) / f.samplesPerSec;
    EXPECT_GT(seconds, 0.15) << name;
    EXPECT_LT(seconds, 2.5) << name;
    double sum = 0;
    int peak = 0;
    for (size_t i = 0; i < count; ++i) {
      int v = static_cast<int16_t>(data[2 * i] | (data[2 * i + 1] << 8));
      peak = std::max(peak, std::abs(v));
      sum += static_cast<double>(v) * v;
    }
    double rms = std::sqrt(sum / count) / 32768.0;
    EXPECT_LT(peak, 29204) << name << " peaks above -1 dBFS";
    EXPECT_GT(peak, 14000) << name << " is too quiet";
    EXPECT_GT(rms, 0.03) << name << " is nearly silent";
  }
}

MidiSong Song() {
  const std::vector<uint8_t>& midi = assets_test::MusicMidi();
  MidiSong song;
  std::string error;
  EXPECT_TRUE(ParseMidiFile(midi.data(), midi.size(), song, error)) << error;
  return song;
}

TEST(GeneratedSounds, MusicIsAOneToTwoMinuteGeneralMidiPieceWithDrumsThatEndsClean) {
  MidiSong song = Song();
  ASSERT_GT(song.division, 0);
  // Its length from the tempo map.
  double seconds = 0;
  uint32_t tempo = 500000, at = 0;
  for (const MidiEvent& e : song.events) {
    if (!e.isTempo) continue;
    seconds += static_cast<double>(e.tick - at) * tempo / 1e6 / song.division;
    at = e.tick;
    tempo = e.tempo;
  }
  seconds += static_cast<double>(song.endTick - at) * tempo / 1e6 / song.division;
  EXPECT_GE(seconds, 60.0);
  EXPECT_LE(seconds, 120.0);
  std::map<int, int> sounding;  // channel * 128 + note -> open notes
  int drumNotes = 0, programs = 0;
  for (const MidiEvent& e : song.events) {
    if (e.isTempo) continue;
    const int kind = e.status & 0xF0, channel = e.status & 0x0F;
    if (kind == 0xC0) ++programs;
    if (kind == 0x90 && e.data2 > 0) {
      ++sounding[channel * 128 + e.data1];
      drumNotes += channel == 9;
    } else if (kind == 0x80 || (kind == 0x90 && e.data2 == 0)) {
      --sounding[channel * 128 + e.data1];
    }
  }
  // No note hangs over the loop point.
  for (const auto& [key, open] : sounding) EXPECT_EQ(open, 0) << "channel " << key / 128 << " note " << key % 128;
  EXPECT_GT(drumNotes, 200);
  EXPECT_GE(programs, 4);
}

TEST(GeneratedSounds, MusicFileLoadsInTheGamesPlayerAndHoldsTheWholeSong) {
  const std::vector<uint8_t>& mds = assets_test::DataBytes("MUSIC.MDS");
  MdsHandle* handle = nullptr;
  ASSERT_EQ(MdsOpenImage(mds.data(), mds.size(), &handle), kMdsDone);
  EXPECT_GT(handle->bufferCount, 1u);
  EXPECT_EQ(handle->timeFormat, Song().division);
  EXPECT_EQ(MdsClose(handle), kMdsDone);

  MdsContents contents;
  std::string error;
  ASSERT_TRUE(DecodeMds(mds.data(), mds.size(), contents, error)) << error;
  std::vector<StreamEvent> events;
  uint32_t ticks = 0;
  for (const MdsContents::Buffer& buffer : contents.buffers) {
    EXPECT_EQ(buffer.startTick, ticks);
    for (const StreamEvent& e : buffer.events) {
      events.push_back(e);
      ticks += e.delta;
    }
  }
  MidiSong song = Song();
  // The last buffer ends exactly where the piece loops.
  EXPECT_EQ(ticks, song.endTick);
  std::vector<StreamEvent> expected = StreamEventsFromSong(song);
  ASSERT_EQ(events.size(), expected.size());
  for (size_t i = 0; i < events.size(); ++i) {
    ASSERT_EQ(events[i].delta, expected[i].delta) << i;
    ASSERT_EQ(events[i].word, expected[i].word) << i;
  }
}

TEST(GeneratedSounds, BothFormsOfTheMusicFileLoadAlikeIntoTheGamesPlayer) {
  const std::vector<uint8_t>& midi = assets_test::MusicMidi();
  std::vector<uint8_t> withIds, withoutIds;
  std::string error;
  ASSERT_TRUE(ConvertMidiToMds(midi.data(), midi.size(), true, withIds, error)) << error;
  ASSERT_TRUE(ConvertMidiToMds(midi.data(), midi.size(), false, withoutIds, error)) << error;
  EXPECT_EQ(withIds, assets_test::DataBytes("MUSIC.MDS")) << "the build's file is the plain conversion";
  EXPECT_LT(withoutIds.size(), withIds.size());
  MdsHandle* a = nullptr;
  MdsHandle* b = nullptr;
  ASSERT_EQ(MdsOpenImage(withIds.data(), withIds.size(), &a), kMdsDone);
  ASSERT_EQ(MdsOpenImage(withoutIds.data(), withoutIds.size(), &b), kMdsDone);
  ASSERT_EQ(a->bufferCount, b->bufferCount);
  for (uint32_t i = 0; i < a->bufferCount; ++i) {
    ASSERT_EQ(a->buffers[i].bytesRecorded, b->buffers[i].bytesRecorded) << "buffer " << i;
    ASSERT_LE(a->buffers[i].bytesRecorded, a->maxBufferSize);
    EXPECT_EQ(std::memcmp(a->buffers[i].data, b->buffers[i].data, a->buffers[i].bytesRecorded), 0) << "buffer " << i;
  }
  MdsClose(a);
  MdsClose(b);
}

TEST(GeneratedSounds, ScrollTextIsOnePrintableLineThatNamesTheKeysAndStyles) {
  const std::vector<uint8_t>& bytes = assets_test::DataBytes("SCROLL.TXT");
  for (uint8_t b : bytes) ASSERT_TRUE(b >= 32 && b <= 126) << static_cast<int>(b);
  std::string text(bytes.begin(), bytes.end());
  for (const char* word : {"STAKKOR", "LEFT", "RIGHT", "DOWN", "UP", "CTRL", "SHIFT", "A and D", "S or W", "F1", "F2",
                           "F8", "P pauses", "ESC", "NORMAL", "BLOB", "KOLVANIC"}) {
    EXPECT_NE(text.find(word), std::string::npos) << word;
  }
  // Sentences are kept apart by runs of spaces, since the line breaks vanish.
  EXPECT_NE(text.find(".      "), std::string::npos);
}

}  // namespace
