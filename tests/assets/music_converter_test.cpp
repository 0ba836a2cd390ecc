// Standard MIDI files in and out, and their conversion into the game's MDS
// music: running status, tempo changes, skipped system messages, the merge
// of tracks, damaged files, buffer limits and the seamless loop.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media/mds.h"
#include "tools/mds_file.h"
#include "tools/midi_file.h"

namespace {

std::vector<uint8_t> Chunk(const char* tag, const std::vector<uint8_t>& body) {
  std::vector<uint8_t> out(tag, tag + 4);
  uint32_t n = static_cast<uint32_t>(body.size());
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<uint8_t>(n >> s));
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

std::vector<uint8_t> File(uint16_t format, uint16_t division, const std::vector<std::vector<uint8_t>>& tracks) {
  std::vector<uint8_t> out = Chunk("MThd", {0, static_cast<uint8_t>(format), 0, static_cast<uint8_t>(tracks.size()),
                                            static_cast<uint8_t>(division >> 8), static_cast<uint8_t>(division)});
  for (const auto& t : tracks) {
    std::vector<uint8_t> chunk = Chunk("MTrk", t);
    out.insert(out.end(), chunk.begin(), chunk.end());
  }
  return out;
}

bool Parse(const std::vector<uint8_t>& bytes, MidiSong& song) {
  std::string error;
  return ParseMidiFile(bytes.data(), bytes.size(), song, error);
}

TEST(MidiFile, ReadsRunningStatusAndTempoAndSkipsSysexAndOtherMeta) {
  const std::vector<uint8_t> track = {
      0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,        // tempo 500000
      0x00, 0xFF, 0x03, 0x03, 'a', 'b', 'c',           // a track name: skipped
      0x00, 0xC0, 0x05,                                // program 5
      0x00, 0x90, 0x3C, 0x64,                          // note on
      0x60, 0x40, 0x50,                                // running status: another note on, 96 ticks on
      0x00, 0xF0, 0x03, 0x7E, 0x01, 0xF7,              // sysex: skipped
      0x81, 0x00, 0x80, 0x3C, 0x00,                    // 128 ticks later: note off
      0x10, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40,        // tempo 1000000
      0x20, 0xFF, 0x2F, 0x00};                         // end at tick 272
  MidiSong song;
  ASSERT_TRUE(Parse(File(0, 96, {track}), song));
  EXPECT_EQ(song.division, 96);
  EXPECT_EQ(song.endTick, 272u);
  ASSERT_EQ(song.events.size(), 6u);
  EXPECT_TRUE(song.events[0].isTempo);
  EXPECT_EQ(song.events[0].tempo, 500000u);
  EXPECT_EQ(song.events[1].status, 0xC0);
  EXPECT_EQ(song.events[1].data1, 5);
  EXPECT_EQ(song.events[2].status, 0x90);
  EXPECT_EQ(song.events[3].tick, 96u);
  EXPECT_EQ(song.events[3].status, 0x90);
  EXPECT_EQ(song.events[3].data1, 0x40);
  EXPECT_EQ(song.events[3].data2, 0x50);
  EXPECT_EQ(song.events[4].tick, 224u);
  EXPECT_EQ(song.events[4].status, 0x80);
  EXPECT_EQ(song.events[5].tick, 240u);
  EXPECT_EQ(song.events[5].tempo, 1000000u);
}

TEST(MidiFile, MergesTheTracksOfAFormatOneFileInTickOrder) {
  const std::vector<uint8_t> conductor = {0x00, 0xFF, 0x51, 0x03, 0x06, 0x1A, 0x80, 0x00, 0xFF, 0x2F, 0x00};
  const std::vector<uint8_t> a = {0x0A, 0x91, 0x30, 0x40, 0x0A, 0x81, 0x30, 0x00, 0x00, 0xFF, 0x2F, 0x00};
  const std::vector<uint8_t> b = {0x05, 0x92, 0x31, 0x40, 0x05, 0x92, 0x32, 0x40, 0x14, 0xFF, 0x2F, 0x00};
  MidiSong song;
  ASSERT_TRUE(Parse(File(1, 480, {conductor, a, b}), song));
  ASSERT_EQ(song.events.size(), 5u);
  EXPECT_TRUE(song.events[0].isTempo);
  EXPECT_EQ(song.events[1].tick, 5u);
  EXPECT_EQ(song.events[1].data1, 0x31);
  // Tick 10 in both tracks: the lower track's event first.
  EXPECT_EQ(song.events[2].tick, 10u);
  EXPECT_EQ(song.events[2].status, 0x91);
  EXPECT_EQ(song.events[3].tick, 10u);
  EXPECT_EQ(song.events[3].status, 0x92);
  EXPECT_EQ(song.events[4].tick, 20u);
  EXPECT_EQ(song.endTick, 30u);
}

TEST(MidiFile, RefusesDamagedAndForeignFiles) {
  const std::vector<uint8_t> good = {0x00, 0x90, 0x3C, 0x64, 0x10, 0x80, 0x3C, 0x00, 0x00, 0xFF, 0x2F, 0x00};
  MidiSong song;
  ASSERT_TRUE(Parse(File(0, 96, {good}), song));
  std::vector<std::vector<uint8_t>> bad = {
      {},
      {'M', 'T', 'h', 'd'},
      File(2, 96, {good}),                                               // format 2
      File(0, 0, {good}),                                                // no time division
      File(0, 96, {}),                                                   // no tracks
      File(0, 96, {{0x00, 0x3C, 0x64}}),                                 // a data byte without a status
      File(0, 96, {{0x00, 0x90, 0x3C}}),                                 // a message cut short
      File(0, 96, {{0x80, 0x80, 0x80, 0x80, 0x00, 0x90, 0x3C, 0x64}}),   // a delta of five bytes
      File(0, 96, {{0x00, 0xFF, 0x51, 0x7F, 0x07}}),                      // a meta event longer than its track
      File(0, 96, {{0x00, 0xF0, 0x7F, 0x01}}),                           // a sysex longer than its track
      File(0, 96, {{0x00, 0xF2, 0x01, 0x02}}),                           // a system common message
  };
  // A track chunk that claims more bytes than the file has.
  std::vector<uint8_t> longer = File(0, 96, {good});
  longer[21] = 0x40;
  bad.push_back(longer);
  // A header that claims more bytes than the file has.
  std::vector<uint8_t> header = File(0, 96, {good});
  header[7] = 0xFF;
  bad.push_back(header);
  for (size_t i = 0; i < bad.size(); ++i) EXPECT_FALSE(Parse(bad[i], song)) << "case " << i;
}

TEST(MidiFile, WhatTheWriterWritesTheReaderReadsBack) {
  MidiTrackOut conductor;
  MidiEvent tempo;
  tempo.isTempo = true;
  tempo.tempo = 416667;
  conductor.events.push_back(tempo);
  conductor.endTick = 1920;
  MidiTrackOut notes;
  notes.name = "Lead";
  notes.events = {{0, false, 0, 0xC3, 80, 0}, {0, false, 0, 0x93, 69, 100}, {480, false, 0, 0x83, 69, 64},
                  {480, false, 0, 0x93, 72, 90}, {1900, false, 0, 0x83, 72, 64}};
  notes.endTick = 1920;
  MidiSong song;
  std::vector<uint8_t> file = EncodeMidiFile(480, {conductor, notes});
  ASSERT_TRUE(Parse(file, song));
  EXPECT_EQ(song.format, 1);
  EXPECT_EQ(song.division, 480);
  EXPECT_EQ(song.endTick, 1920u);
  ASSERT_EQ(song.events.size(), 6u);
  EXPECT_TRUE(song.events[0].isTempo);
  EXPECT_EQ(song.events[0].tempo, 416667u);
  for (size_t i = 0; i < notes.events.size(); ++i) {
    EXPECT_EQ(song.events[i + 1].tick, notes.events[i].tick);
    EXPECT_EQ(song.events[i + 1].status, notes.events[i].status);
    EXPECT_EQ(song.events[i + 1].data1, notes.events[i].data1);
    EXPECT_EQ(song.events[i + 1].data2, notes.events[i].data2);
  }
}

MidiSong ThreeNotes(uint32_t endTick) {
  MidiSong song;
  song.division = 96;
  song.endTick = endTick;
  MidiEvent tempo;
  tempo.isTempo = true;
  tempo.tempo = 500000;
  song.events.push_back(tempo);
  song.events.push_back({0, false, 0, 0xC0, 5, 0});
  song.events.push_back({0, false, 0, 0x90, 60, 100});
  song.events.push_back({90, false, 0, 0x80, 60, 0});
  return song;
}

TEST(MdsFile, StreamEventsCarryTheMessagesAndEndExactlyAtTheLoopPoint) {
  std::vector<StreamEvent> events = StreamEventsFromSong(ThreeNotes(96));
  ASSERT_EQ(events.size(), 5u);
  EXPECT_EQ(events[0].word, 0x0107A120u);  // tempo, kind 1
  EXPECT_EQ(events[1].word, 0x000005C0u);  // program change: one data byte
  EXPECT_EQ(events[2].word, 0x00643C90u);  // note on: status, note, velocity
  EXPECT_EQ(events[3].delta, 90u);
  EXPECT_EQ(events[4].delta, 6u);          // a no-op carries the rest of the bar
  EXPECT_EQ(events[4].word, 0x02000000u);
  // When the last event falls on the end, nothing is added.
  EXPECT_EQ(StreamEventsFromSong(ThreeNotes(90)).size(), 4u);
}

TEST(MdsFile, BuffersStayWithinTheirLimitAndReadBackInBothForms) {
  std::vector<StreamEvent> events;
  for (uint32_t i = 0; i < 100; ++i) events.push_back({i % 7, 0x00403C90u + (i << 8)});
  for (bool withIds : {true, false}) {
    std::vector<uint8_t> file = EncodeMds(96, events, 120, withIds);
    MdsContents contents;
    std::string error;
    ASSERT_TRUE(DecodeMds(file.data(), file.size(), contents, error)) << error;
    EXPECT_EQ(contents.timeFormat, 96u);
    EXPECT_EQ(contents.maxBufferBytes, 120u);
    EXPECT_EQ(contents.flags, withIds ? 0u : 1u);
    ASSERT_EQ(contents.buffers.size(), 10u);  // ten events of 12 bytes a buffer
    size_t at = 0;
    uint32_t tick = 0;
    for (const MdsContents::Buffer& buffer : contents.buffers) {
      EXPECT_EQ(buffer.startTick, tick);
      for (const StreamEvent& e : buffer.events) {
        ASSERT_EQ(e.delta, events[at].delta);
        ASSERT_EQ(e.word, events[at].word);
        tick += e.delta;
        ++at;
      }
    }
    EXPECT_EQ(at, events.size());
    // The game's own loader takes both forms.
    MdsHandle* handle = nullptr;
    ASSERT_EQ(MdsOpenImage(file.data(), file.size(), &handle), kMdsDone) << (withIds ? "with ids" : "without ids");
    EXPECT_EQ(handle->bufferCount, 10u);
    EXPECT_EQ(handle->buffers[9].bytesRecorded, 120u);
    MdsClose(handle);
  }
}

TEST(MdsFile, DecoderRefusesDamagedFiles) {
  std::vector<StreamEvent> events = StreamEventsFromSong(ThreeNotes(96));
  std::vector<uint8_t> good = EncodeMds(96, events, 4096, true);
  MdsContents contents;
  std::string error;
  ASSERT_TRUE(DecodeMds(good.data(), good.size(), contents, error));
  for (size_t cut = 0; cut < good.size(); cut += 3) {
    EXPECT_FALSE(DecodeMds(good.data(), cut, contents, error)) << "cut at " << cut;
  }
  std::vector<uint8_t> bigBuffer = good;
  bigBuffer[49] = 0xFF;  // the first buffer's byte count
  EXPECT_FALSE(DecodeMds(bigBuffer.data(), bigBuffer.size(), contents, error));
}

}  // namespace
