#include <gtest/gtest.h>

#include <cstdlib>

#include "media/mds.h"
#include "media/midi_sequencer.h"
#include "media/midi_stream.h"
#include "media/music.h"
#include "platform/audio.h"
#include "platform/headless/headless_backend.h"
#include "platform/platform.h"
#include "sound_test_support.h"

namespace {

using Notes = std::vector<std::pair<int, int64_t>>;

// Music on the null device of the headless backend, heard by a recording
// synth; the virtual clock moves the sound on by 48 frames a millisecond.
class MusicPlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::audio::Close();
    platform::headless::StartForTests();
    UseMidiSynth(&synth);
  }
  void TearDown() override {
    StopMusic();
    for (MdsHandle* handle : handles) MdsClose(handle);
    UseMidiSynth(nullptr);
    platform::audio::SetLogPath("");
    platform::audio::Close();
  }

  MdsHandle* Load(const std::vector<Bytes>& buffers, const MdsLayout& layout = {}) {
    Bytes file = MdsFile(buffers, layout);
    MdsHandle* handle = nullptr;
    EXPECT_EQ(MdsOpenImage(file.data(), file.size(), &handle), kMdsDone);
    if (handle) handles.push_back(handle);
    return handle;
  }

  static void RunMilliseconds(int ms) {
    for (int i = 0; i < ms; ++i) platform::Wait();
  }

  RecordingSynth synth;
  std::vector<MdsHandle*> handles;
};

TEST_F(MusicPlayerTest, NoteAtTick960SoundsAtExactlyOneSecond) {
  MdsHandle* handle = Load({StreamEvents({{0, NoteOn(0, 60)}, {960, NoteOn(0, 62)}})});
  ASSERT_EQ(MdsPlay(handle, 0), kMdsDone);
  RunMilliseconds(1001);
  EXPECT_EQ(synth.NotesOn(), (Notes{{60, 0}, {62, 48000}}));
}

TEST_F(MusicPlayerTest, TempoChangesTakeEffectFromTheirTick) {
  // Half a second at the default tempo, then twice as fast.
  MdsHandle* handle = Load({StreamEvents({{0, NoteOn(0, 60)}, {480, Tempo(250000)}, {480, NoteOn(0, 62)}})});
  ASSERT_EQ(MdsPlay(handle, 0), kMdsDone);
  RunMilliseconds(800);
  EXPECT_EQ(synth.NotesOn(), (Notes{{60, 0}, {62, 36000}}));
}

TEST_F(MusicPlayerTest, FractionsOfAFrameAddUpWithoutDrift) {
  // 33.33 frames a tick: 1440 one-tick steps end where one step of 1440
  // ticks would, 47999.95 frames in.
  std::vector<StreamEvent> events = {{0, Tempo(333333)}};
  for (int i = 0; i < 1439; ++i) events.push_back({1, kNop});
  events.push_back({1, NoteOn(0, 72)});
  MdsLayout layout;
  layout.maxBufferSize = 20000;
  MdsHandle* handle = Load({StreamEvents(events)}, layout);
  ASSERT_EQ(MdsPlay(handle, 0), kMdsDone);
  RunMilliseconds(1001);
  EXPECT_EQ(synth.NotesOn(), (Notes{{72, 47999}}));
  // No-ops and tempo changes are the player's own; the synth hears the note.
  EXPECT_EQ(synth.SinceReset().size(), 1u);
}

TEST_F(MusicPlayerTest, SmpteDivisionCountsTicksPerFilmFrame) {
  MdsLayout layout;
  layout.timeFormat = 0xE728;  // 25 frames a second, 40 ticks each: 1000 ticks a second
  MdsHandle* handle = Load({StreamEvents({{250, NoteOn(0, 60)}, {750, NoteOn(0, 62)}})}, layout);
  ASSERT_EQ(MdsPlay(handle, 0), kMdsDone);
  RunMilliseconds(1001);
  EXPECT_EQ(synth.NotesOn(), (Notes{{60, 12000}, {62, 48000}}));
}

MidiHeader* lastDone = nullptr;
void RememberDone(MidiHeader* header) { lastDone = header; }

TEST(MidiSequencerTest, ThirtyDropFrameRunsAt30000FramesPer1001Seconds) {
  MidiSequencer sequencer;
  InitSequencer(sequencer, 48000);
  // -29 is 29.97 frames a second; 100 ticks a frame. 3000 ticks are 30
  // frames: 1.001 s.
  ASSERT_TRUE(SetSequencerTimeDivision(sequencer, 0xE364));
  EXPECT_FALSE(SetSequencerTimeDivision(sequencer, 0xE700));  // no ticks per frame
  EXPECT_FALSE(SetSequencerTimeDivision(sequencer, 0));
  ASSERT_TRUE(SetSequencerTimeDivision(sequencer, 0xE364));
  Bytes events = StreamEvents({{3000, NoteOn(0, 60)}});
  MidiHeader header;
  header.data = events.data();
  header.bufferLength = header.bytesRecorded = static_cast<uint32_t>(events.size());
  QueueSequencerBuffer(sequencer, &header);
  StartSequencer(sequencer);
  RecordingSynth synth;
  std::vector<float> out(4096 * 2);
  lastDone = nullptr;
  while (sequencer.now < 60000) RenderSequencer(sequencer, synth, out.data(), 4096, RememberDone);
  EXPECT_EQ(synth.NotesOn(), (Notes{{60, 48048}}));
  EXPECT_EQ(lastDone, &header);
  EXPECT_EQ(header.flags & kMidiHeaderInQueue, 0u);
}

TEST(MidiSequencerTest, ALoopThatTakesNoTimeStallsInsteadOfHanging) {
  MidiSequencer sequencer;
  InitSequencer(sequencer, 48000);
  Bytes events = StreamEvents({{0, NoteOn(0, 60)}});
  MidiHeader header;
  header.data = events.data();
  header.bufferLength = header.bytesRecorded = static_cast<uint32_t>(events.size());
  static MidiSequencer* looping = nullptr;
  looping = &sequencer;
  QueueSequencerBuffer(sequencer, &header);
  StartSequencer(sequencer);
  RecordingSynth synth;
  std::vector<float> out(256 * 2);
  RenderSequencer(sequencer, synth, out.data(), 256,
                  [](MidiHeader* done) { QueueSequencerBuffer(*looping, done); });
  EXPECT_TRUE(sequencer.stalled);
  EXPECT_LT(synth.NotesOn().size(), 100u);
  EXPECT_EQ(sequencer.now, 256);
}

TEST_F(MusicPlayerTest, LoopingPlaysTheBuffersInFileOrderWithoutAGap) {
  ScratchDirectory scratch;
  platform::audio::SetLogPath((scratch.path() / "audio.log").string());
  MdsHandle* handle = Load({StreamEvents({{480, NoteOn(0, 60)}}), StreamEvents({{480, NoteOn(0, 61)}}),
                            StreamEvents({{480, NoteOn(0, 62)}})});
  ASSERT_EQ(MdsPlay(handle, 1), kMdsDone);
  EXPECT_EQ(handle->state.load(), kMdsLooping);
  RunMilliseconds(4001);
  // Each buffer sounds half a second after the one before, round and round.
  Notes expected;
  for (int i = 0; i < 8; ++i) expected.push_back({60 + i % 3, 24000 * (i + 1)});
  EXPECT_EQ(synth.NotesOn(), expected);

  std::vector<std::string> log = ReadLines(scratch.path() / "audio.log");
  ASSERT_EQ(log.size(), 8u);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(log[i], std::to_string(501 + 500 * i) + " music-buffer " + std::to_string(i % 3));
  }
}

TEST_F(MusicPlayerTest, PlayingOnceEndsAfterTheLastBuffer) {
  MdsHandle* handle = Load({StreamEvents({{480, NoteOn(0, 60)}}), StreamEvents({{480, NoteOn(0, 61)}})});
  ASSERT_EQ(MdsPlay(handle, 0), kMdsDone);
  EXPECT_EQ(MdsPlay(handle, 0), kMdsWrongState);  // a stream is open already
  RunMilliseconds(3000);
  EXPECT_EQ(synth.NotesOn(), (Notes{{60, 24000}, {61, 48000}}));
  EXPECT_EQ(MdsStop(handle), kMdsDone);
}

TEST_F(MusicPlayerTest, StopEndsEveryNoteAndQueuesNothingAgain) {
  MdsHandle* handle = Load({StreamEvents({{480, NoteOn(0, 60)}}), StreamEvents({{480, NoteOn(0, 61)}})});
  ASSERT_EQ(MdsPlay(handle, 1), kMdsDone);
  RunMilliseconds(700);
  ASSERT_EQ(MdsStop(handle), kMdsDone);
  EXPECT_EQ(handle->stream, nullptr);
  EXPECT_EQ(handle->state.load(), 0u);
  for (uint32_t i = 0; i < handle->bufferCount; ++i) {
    EXPECT_EQ(handle->buffers[i].flags & kMidiHeaderInQueue, 0u) << i;
  }
  EXPECT_EQ(synth.AllNotesOffAfterReset(0), 16);
  size_t heard = synth.messages.size();
  RunMilliseconds(2000);
  EXPECT_EQ(synth.messages.size(), heard);  // the device is closed and silent
  EXPECT_EQ(MdsStop(handle), kMdsWrongState);

  // Loaded, it plays again from the start.
  ASSERT_EQ(MdsPlay(handle, 1), kMdsDone);
  RunMilliseconds(600);
  EXPECT_EQ(synth.NotesOn(), (Notes{{60, 24000}}));
}

TEST_F(MusicPlayerTest, LongEventsAreSkippedByTheirPaddedLength) {
  const Bytes sysex = {0xF0, 0x7E, 0x7F, 0x09, 0xF7};
  MdsHandle* handle = Load({StreamEvents({{0, 0x80000000u, sysex}, {240, kNop}, {240, NoteOn(2, 50)}})});
  ASSERT_EQ(MdsPlay(handle, 0), kMdsDone);
  RunMilliseconds(600);
  ASSERT_EQ(synth.longMessages.size(), 1u);
  EXPECT_EQ(synth.longMessages[0].second, sysex);
  EXPECT_EQ(synth.NotesOn(), (Notes{{50, 24000}}));
}

TEST_F(MusicPlayerTest, RefusedTimeDivisionClosesTheStreamAgain) {
  MdsLayout layout;
  layout.timeFormat = 0;  // no ticks per quarter note
  MdsHandle* refused = Load({StreamEvents({{0, NoteOn(0, 60)}})}, layout);
  EXPECT_EQ(MdsPlay(refused, 1), kMdsDeviceRefused);
  EXPECT_EQ(refused->stream, nullptr);
  MdsHandle* good = Load({StreamEvents({{0, NoteOn(0, 60)}})});
  EXPECT_EQ(MdsPlay(good, 1), kMdsDone);
}

TEST_F(MusicPlayerTest, StopMusicWithoutMusicDoesNothing) {
  ASSERT_EQ(currentMusic, nullptr);
  StopMusic();
  EXPECT_EQ(currentMusic, nullptr);
  EXPECT_TRUE(synth.messages.empty());
}

TEST_F(MusicPlayerTest, StartMusicWhilePlayingStopsTheOldPieceAndStartsTheNew) {
  ScratchDirectory scratch;
  scratch.Write("A.MDS", MdsFile({StreamEvents({{0, NoteOn(0, 60)}, {960, kNop}})}));
  scratch.Write("B.MDS", MdsFile({StreamEvents({{0, NoteOn(0, 70)}, {960, kNop}})}));
  ASSERT_EQ(StartMusic("A.MDS", 1), 1);
  Music* first = currentMusic;
  ASSERT_NE(first, nullptr);
  RunMilliseconds(300);
  ASSERT_EQ(StartMusic("B.MDS", 1), 1);
  EXPECT_NE(currentMusic, nullptr);
  EXPECT_EQ(synth.AllNotesOffAfterReset(1), 16);  // A ended before B opened
  RunMilliseconds(2100);
  EXPECT_EQ(synth.NotesOn(), (Notes{{70, 0}, {70, 48000}, {70, 96000}}));

  StopMusic();
  EXPECT_EQ(currentMusic, nullptr);
  EXPECT_EQ(synth.AllNotesOffAfterReset(0), 16);
}

TEST_F(MusicPlayerTest, StartMusicFailuresLeaveNoMusic) {
  ScratchDirectory scratch;
  EXPECT_EQ(StartMusic("MUSIC.MDS", 1), 0);
  EXPECT_EQ(currentMusic, nullptr);
  EXPECT_EQ(platform::headless::LastMessageBox(), "Error loading file: MUSIC.MDS");

  platform::headless::StartForTests();  // forget the box
  scratch.Write("MUSIC.MDS", Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'M', 'I', 'D', 'I'});
  EXPECT_EQ(StartMusic("MUSIC.MDS", 1), 0);
  EXPECT_EQ(currentMusic, nullptr);
  EXPECT_EQ(platform::headless::LastMessageBox(), "");  // a damaged file is not announced

  MdsLayout refused;
  refused.timeFormat = 0;
  scratch.Write("MUSIC.MDS", MdsFile({StreamEvents({{0, NoteOn(0, 60)}})}, refused));
  EXPECT_EQ(StartMusic("MUSIC.MDS", 1), 0);
  EXPECT_EQ(currentMusic, nullptr);

  // Loaded without playing: no stream until MdsPlay.
  scratch.Write("MUSIC.MDS", MdsFile({StreamEvents({{0, NoteOn(0, 60)}})}));
  ASSERT_EQ(StartMusic("MUSIC.MDS", 0), 1);
  ASSERT_NE(currentMusic, nullptr);
  EXPECT_EQ(currentMusic->handle->stream, nullptr);
}

}  // namespace
