// ".ONE" archives: the writer's layout and the member lookup.
#include <cstdio>

#include "media/archive_format.h"
#include "media/archive_writer.h"
#include "media/byte_order.h"
#include "media/data_file.h"
#include "tests/media/media_test_support.h"

namespace {

class ArchiveTest : public MediaTest {};

// The bytes of the member as the returned stream reads them.
Bytes ReadMember(const char* archive, const char* name) {
  std::FILE* f = OpenArchiveMember(archive, name);
  if (!f) return {};
  EXPECT_EQ(static_cast<uint32_t>(std::ftell(f)), dataFileOffset);
  Bytes bytes(dataFileSize);
  EXPECT_EQ(std::fread(bytes.data(), 1, bytes.size(), f), bytes.size());
  std::fclose(f);
  return bytes;
}

TEST_F(ArchiveTest, WriterStoresComplementedNamesWithPlainTerminatorAndOffsets) {
  Bytes a = MakeArchive({{"AB", {1, 2, 3}}, {"c", {4}}});
  ASSERT_EQ(a.size(), 6u + 2 * 1032 + 4);
  EXPECT_EQ(a[0], 'O');
  EXPECT_EQ(a[1], 'O');
  EXPECT_EQ(a[2], 2);
  EXPECT_EQ(a[6], static_cast<uint8_t>(~'A'));
  EXPECT_EQ(a[7], static_cast<uint8_t>(~'B'));
  EXPECT_EQ(a[8], 0x00);
  EXPECT_EQ(ReadLe32(&a[6 + 1024]), 6u + 2 * 1032);
  EXPECT_EQ(ReadLe32(&a[6 + 1028]), 3u);
  EXPECT_EQ(ReadLe32(&a[6 + 1032 + 1024]), 6u + 2 * 1032 + 3);
  EXPECT_EQ(a.back(), 4);
  // Names that cannot be stored are refused.
  EXPECT_TRUE(EncodeArchive({ArchiveMember{std::string(1024, 'x'), {}}}).empty());
  EXPECT_TRUE(EncodeArchive({ArchiveMember{"a\xFF", {}}}).empty());
}

TEST_F(ArchiveTest, LookupFoldsOnlyAsciiLettersAndFirstEntryWins) {
  WriteFile("DATA.ONE", MakeArchive({{"FONT1.PIX", {1}}, {"font1.pix", {2}}, {"lower.wav", {3}}, {"\xC9T\xC9", {4}}}));
  EXPECT_EQ(ReadMember("DATA.ONE", "font1.pix"), Bytes{1});
  EXPECT_EQ(ReadMember("DATA.ONE", "FoNt1.PiX"), Bytes{1});
  EXPECT_EQ(ReadMember("DATA.ONE", "LOWER.WAV"), Bytes{3});
  EXPECT_EQ(ReadMember("DATA.ONE", "\xC9t\xC9"), Bytes{4});
  EXPECT_EQ(OpenArchiveMember("DATA.ONE", "\xE9t\xE9"), nullptr);  // no folding beyond A-Z
  EXPECT_EQ(OpenArchiveMember("DATA.ONE", "FONT1.PI"), nullptr);
}

TEST_F(ArchiveTest, ANameMatchesOnlyAWholeName) {
  WriteFile("DATA.ONE", MakeArchive({{"A", {1}}, {"B.PIX", {2}}}));
  EXPECT_EQ(OpenArchiveMember("DATA.ONE", "A.PIX"), nullptr);
  EXPECT_EQ(OpenArchiveMember("DATA.ONE", "B"), nullptr);
  EXPECT_EQ(ReadMember("DATA.ONE", "a"), Bytes{1});
}

TEST_F(ArchiveTest, OnlyTheTwoMagicsAreArchives) {
  Bytes good = MakeArchive({{"X", {7}}});
  good[0] = good[1] = 'o';
  WriteFile("lower.one", good);
  EXPECT_EQ(ReadMember("lower.one", "X"), Bytes{7});
  for (auto magic : {std::pair<uint8_t, uint8_t>{'O', 'o'}, {'o', 'O'}, {'P', 'K'}}) {
    Bytes bad = good;
    bad[0] = magic.first;
    bad[1] = magic.second;
    WriteFile("bad.one", bad);
    dataFileOffset = dataFileSize = 99;
    EXPECT_EQ(OpenArchiveMember("bad.one", "X"), nullptr);
    EXPECT_EQ(dataFileOffset, 0u);
    EXPECT_EQ(dataFileSize, 0u);
  }
}

TEST_F(ArchiveTest, CountOfZeroOrLessHoldsNothing) {
  Bytes a = MakeArchive({{"X", {7}}});
  for (uint32_t count : {0u, 0xFFFFFFFFu, 0x80000000u}) {
    PutLe32(a, 2, count);
    WriteFile("a.one", a);
    EXPECT_EQ(OpenArchiveMember("a.one", "X"), nullptr);
  }
}

TEST_F(ArchiveTest, BrokenDirectoriesFindNothingAndReadNothingOutside) {
  const Bytes base = MakeArchive({{"A", {1, 2}}, {"B", {3}}});
  const size_t second = 6 + 1032;
  // Offset or size past the end: the first entry of the name decides.
  Bytes bounds = MakeArchive({{"A", {1}}, {"A", {2}}});
  PutLe32(bounds, 6 + 1028, 1000);
  WriteFile("bounds.one", bounds);
  EXPECT_EQ(OpenArchiveMember("bounds.one", "A"), nullptr);
  PutLe32(bounds, 6 + 1028, 1);
  PutLe32(bounds, 6 + 1024, 0xFFFFFFFF);
  WriteFile("bounds.one", bounds);
  EXPECT_EQ(OpenArchiveMember("bounds.one", "A"), nullptr);
  // A name without its terminator matches nothing; later entries still count.
  Bytes unterminated = base;
  std::fill(unterminated.begin() + 6, unterminated.begin() + 6 + 1024, static_cast<uint8_t>(~'A'));
  WriteFile("unterminated.one", unterminated);
  EXPECT_EQ(OpenArchiveMember("unterminated.one", std::string(1024, 'A').c_str()), nullptr);
  EXPECT_EQ(ReadMember("unterminated.one", "B"), Bytes{3});
  // A directory shorter than its count ends where the file ends.
  Bytes shortDirectory(base.begin(), base.begin() + second + 500);
  WriteFile("short.one", shortDirectory);
  EXPECT_EQ(OpenArchiveMember("short.one", "B"), nullptr);
  EXPECT_EQ(OpenArchiveMember("short.one", "A"), nullptr);  // its data lies past the end
  WriteFile("header.one", Bytes{'O', 'O', 1, 0});
  EXPECT_EQ(OpenArchiveMember("header.one", "A"), nullptr);
  EXPECT_EQ(OpenArchiveMember("missing.one", "A"), nullptr);
}

TEST_F(ArchiveTest, ReaderListsEntriesWithTheirState) {
  Bytes a = MakeArchive({{"ONE", {1}}, {"TWO", {2, 2}}});
  PutLe32(a, 6 + 1032 + 1028, 99);
  WriteFile("a.one", a);
  ArchiveReader reader;
  ASSERT_TRUE(OpenArchive("a.one", reader));
  ArchiveEntry entry;
  ASSERT_TRUE(ReadNextArchiveEntry(reader, entry));
  EXPECT_STREQ(entry.name, "ONE");
  EXPECT_EQ(entry.state, ArchiveEntryState::Ok);
  ASSERT_TRUE(ReadNextArchiveEntry(reader, entry));
  EXPECT_EQ(entry.state, ArchiveEntryState::BeyondEnd);
  EXPECT_FALSE(ReadNextArchiveEntry(reader, entry));
  CloseArchive(reader);
}

}  // namespace
