#include <gtest/gtest.h>

#include <cstring>

#include "media/mds.h"
#include "platform/headless/headless_backend.h"
#include "sound_test_support.h"

namespace {

int Open(const Bytes& file, MdsHandle** handle = nullptr) {
  MdsHandle* local = nullptr;
  int result = MdsOpenImage(file.data(), file.size(), &local);
  if (handle) {
    *handle = local;
  } else if (local) {
    MdsClose(local);
  }
  return result;
}

const Bytes kNote = StreamEvents({{0, NoteOn(0, 60)}, {480, NoteOn(0, 60, 0)}});

TEST(MdsOpenTest, LoadsTheHeaderAndEveryBuffer) {
  Bytes second = StreamEvents({{240, kNop}});
  MdsLayout layout;
  layout.timeFormat = 0xE728;
  layout.maxBufferSize = 64;
  layout.flags = 0x10;  // bits other than 0 are ignored
  MdsHandle* handle = nullptr;
  ASSERT_EQ(Open(MdsFile({kNote, second}, layout), &handle), kMdsDone);
  EXPECT_EQ(std::memcmp(handle->tag, "MDSI", 4), 0);
  EXPECT_EQ(handle->timeFormat, 0xE728u);
  EXPECT_EQ(handle->maxBufferSize, 64u);
  EXPECT_EQ(handle->flags, 0x10u);
  ASSERT_EQ(handle->bufferCount, 2u);
  EXPECT_EQ(handle->stream, nullptr);
  EXPECT_EQ(handle->state.load(), 0u);
  const Bytes* expected[] = {&kNote, &second};
  for (uint32_t i = 0; i < 2; ++i) {
    const MidiHeader& slot = handle->buffers[i];
    EXPECT_EQ(slot.bufferLength, 64u);
    EXPECT_EQ(slot.user, handle);
    EXPECT_EQ(slot.flags, 0u);
    ASSERT_EQ(slot.bytesRecorded, expected[i]->size());
    EXPECT_EQ(Bytes(slot.data, slot.data + slot.bytesRecorded), *expected[i]);
  }
  EXPECT_EQ(MdsClose(handle), kMdsDone);
}

TEST(MdsOpenTest, AcceptsLongerFormatChunksAndEmptyPieces) {
  MdsLayout layout;
  layout.formatLength = 20;
  layout.timeFormat = 96;
  MdsHandle* handle = nullptr;
  ASSERT_EQ(Open(MdsFile({kNote}, layout), &handle), kMdsDone);
  EXPECT_EQ(handle->timeFormat, 96u);
  EXPECT_EQ(handle->buffers[0].bytesRecorded, kNote.size());
  MdsClose(handle);

  EXPECT_EQ(Open(MdsFile({})), kMdsDone);            // no buffers at all
  EXPECT_EQ(Open(MdsFile({Bytes{}, kNote})), kMdsDone);  // an empty buffer
}

TEST(MdsOpenTest, EveryBrokenHeaderIsAnInvalidFile) {
  Bytes good = MdsFile({kNote});
  ASSERT_EQ(Open(good), kMdsDone);

  auto broken = [&](size_t offset, const char* bytes) {
    Bytes copy = good;
    std::memcpy(copy.data() + offset, bytes, 4);
    return copy;
  };
  EXPECT_EQ(Open(broken(0, "RIFX")), kMdsInvalidFile);
  EXPECT_EQ(Open(broken(8, "MIDI")), kMdsInvalidFile);
  EXPECT_EQ(Open(broken(12, "fmtX")), kMdsInvalidFile);
  EXPECT_EQ(Open(broken(32, "DATA")), kMdsInvalidFile);
  EXPECT_EQ(Open(Bytes(good.begin(), good.begin() + 11)), kMdsInvalidFile);

  MdsLayout layout;
  layout.riffSizeExtra = 1;  // RIFF size beyond the file
  EXPECT_EQ(Open(MdsFile({kNote}, layout)), kMdsInvalidFile);
  layout = {};
  layout.riffSizeExtra = -20;  // smaller is fine: only the bytes left count
  EXPECT_EQ(Open(MdsFile({kNote}, layout)), kMdsDone);

  layout = {};
  layout.formatLength = 11;
  EXPECT_EQ(Open(MdsFile({kNote}, layout)), kMdsInvalidFile);

  // A fmt chunk longer than the rest of the file, header included or not.
  Bytes format = broken(16, "\x20\x00\x00\x00");
  format.resize(40);
  format[4] = 32;
  EXPECT_EQ(Open(format), kMdsInvalidFile);
  // 16 bytes left with the chunk header, so a length of 16 passes that test,
  // but only 8 are left for the body behind the header.
  Bytes shortFormat = good;
  shortFormat.resize(28);
  shortFormat[4] = 20;
  shortFormat[16] = 16;
  EXPECT_EQ(Open(shortFormat), kMdsInvalidFile);

  layout = {};
  // The data length is held against the bytes left with the chunk header.
  layout.dataLengthExtra = 8;
  EXPECT_EQ(Open(MdsFile({kNote}, layout)), kMdsDone);
  layout.dataLengthExtra = 9;
  EXPECT_EQ(Open(MdsFile({kNote}, layout)), kMdsInvalidFile);
  Bytes tinyData = MdsFile({});
  tinyData[36] = 3;  // a data chunk must hold the buffer count
  EXPECT_EQ(Open(tinyData), kMdsInvalidFile);
  // "data" and a length but no buffer count behind them.
  Bytes noCount(tinyData.begin(), tinyData.begin() + 40);
  noCount[36] = 4;
  noCount[4] = static_cast<uint8_t>(noCount.size() - 8);
  EXPECT_EQ(Open(noCount), kMdsInvalidFile);
  // The data length itself does not bound the buffers; the file does.
  layout = {};
  layout.dataLengthExtra = -static_cast<int64_t>(kNote.size());
  EXPECT_EQ(Open(MdsFile({kNote}, layout)), kMdsDone);
}

TEST(MdsOpenTest, EveryBrokenBufferIsAnInvalidFile) {
  MdsLayout layout;
  layout.maxBufferSize = static_cast<uint32_t>(kNote.size() - 1);  // L > M
  EXPECT_EQ(Open(MdsFile({kNote}, layout)), kMdsInvalidFile);
  layout.maxBufferSize = static_cast<uint32_t>(kNote.size());  // L = M is fine
  EXPECT_EQ(Open(MdsFile({kNote}, layout)), kMdsDone);

  layout = {};
  layout.bufferCountExtra = 1;  // one slot more than the file holds
  EXPECT_EQ(Open(MdsFile({kNote}, layout)), kMdsInvalidFile);
  layout.bufferCountExtra = 0x7FFFFFFF;  // no allocation of any size for it
  EXPECT_EQ(Open(MdsFile({kNote}, layout)), kMdsInvalidFile);

  Bytes longer = MdsFile({kNote});
  longer[longer.size() - kNote.size() - 4] += 4;  // L beyond the bytes left
  EXPECT_EQ(Open(longer), kMdsInvalidFile);

  // Every truncation of a good file: never valid, never a read past the end.
  Bytes good = MdsFile({kNote, kNote});
  for (size_t length = 0; length < good.size(); ++length) {
    Bytes cut(good.begin(), good.begin() + static_cast<ptrdiff_t>(length));
    EXPECT_EQ(Open(cut), kMdsInvalidFile) << length;
  }
}

TEST(MdsOpenTest, InsertsStreamIdsWhereTheFileLeavesThemOut) {
  std::vector<StreamEvent> events = {
      {0, Tempo(400000)}, {0, 0x80000000u, {0xF0, 0x7E, 0x7F, 0x09, 0xF7}},  // five bytes, padded to 8
      {10, NoteOn(1, 64)}, {20, NoteOn(1, 64, 0)}};
  Bytes withIds = StreamEvents(events, true);
  Bytes withoutIds = StreamEvents(events, false);
  ASSERT_EQ(withIds.size(), withoutIds.size() + 16);
  MdsLayout layout;
  layout.flags = kMdsNoStreamIds;
  layout.maxBufferSize = static_cast<uint32_t>(withIds.size());  // just room enough
  MdsHandle* handle = nullptr;
  ASSERT_EQ(Open(MdsFile({withoutIds, withoutIds}, layout), &handle), kMdsDone);
  for (uint32_t i = 0; i < 2; ++i) {
    const MidiHeader& slot = handle->buffers[i];
    EXPECT_EQ(Bytes(slot.data, slot.data + slot.bytesRecorded), withIds) << i;
  }
  MdsClose(handle);

  // One byte less room than the expansion needs.
  layout.maxBufferSize = static_cast<uint32_t>(withIds.size() - 1);
  EXPECT_EQ(Open(MdsFile({withoutIds}, layout)), kMdsInvalidFile);
}

TEST(MdsOpenTest, MalformedBuffersWithoutStreamIdsAreInvalid) {
  MdsLayout layout;
  layout.flags = kMdsNoStreamIds;
  Bytes delta;
  PutU32(delta, 5);
  Bytes notWords = delta;
  notWords.push_back(0);
  EXPECT_EQ(Open(MdsFile({notWords}, layout)), kMdsInvalidFile);  // length not a multiple of 4
  EXPECT_EQ(Open(MdsFile({delta}, layout)), kMdsInvalidFile);     // a delta with no event word
  Bytes cutLong = delta;
  PutU32(cutLong, 0x80000010u);  // a 16-byte block with 4 bytes behind it
  PutU32(cutLong, 0);
  EXPECT_EQ(Open(MdsFile({cutLong}, layout)), kMdsInvalidFile);
  // The same block would fit the file but not the slot.
  Bytes fitsFile = delta;
  PutU32(fitsFile, 0x80000010u);
  fitsFile.resize(fitsFile.size() + 16, 0);
  layout.maxBufferSize = 27;  // 12 + 16 needed
  EXPECT_EQ(Open(MdsFile({fitsFile}, layout)), kMdsInvalidFile);
  layout.maxBufferSize = 28;
  EXPECT_EQ(Open(MdsFile({fitsFile}, layout)), kMdsDone);
}

TEST(MdsOpenTest, MissingFileIsReportedByName) {
  platform::headless::StartForTests();
  ScratchDirectory scratch;
  MdsHandle* handle = reinterpret_cast<MdsHandle*>(1);
  EXPECT_EQ(MdsOpen("MUSIC.MDS", &handle), kMdsCannotOpen);
  EXPECT_EQ(handle, nullptr);
  EXPECT_EQ(platform::headless::LastMessageBox(), "Error loading file: MUSIC.MDS");

  scratch.Write("MUSIC.MDS", MdsFile({kNote}));
  ASSERT_EQ(MdsOpen("MUSIC.MDS", &handle), kMdsDone);
  MdsClose(handle);
}

TEST(MdsHandleTest, OperationsCheckTheTagAndTheState) {
  MdsHandle* handle = nullptr;
  ASSERT_EQ(Open(MdsFile({kNote}), &handle), kMdsDone);
  EXPECT_EQ(MdsStop(handle), kMdsWrongState);  // no stream open
  std::memcpy(handle->tag, "data", 4);
  EXPECT_EQ(MdsPlay(handle, 1), kMdsNotAHandle);
  EXPECT_EQ(MdsStop(handle), kMdsNotAHandle);
  EXPECT_EQ(MdsClose(handle), kMdsNotAHandle);
  EXPECT_EQ(MdsPlay(nullptr, 1), kMdsNotAHandle);
  std::memcpy(handle->tag, "MDSI", 4);
  EXPECT_EQ(MdsClose(handle), kMdsDone);
}

}  // namespace
