// The layout of ".ONE" archives, shared by the lookup, the writer and the
// tool: a 6-byte header (magic "OO" or "oo", signed entry count), then
// 1032-byte directory entries (complemented name ended by a plain 0x00,
// offset and size from the start of the archive), then the member data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

constexpr size_t kArchiveHeaderSize = 6;
constexpr size_t kArchiveEntrySize = 1032;
constexpr size_t kArchiveNameSize = 1024;  // the longest name is one less

// ASCII capitals to small letters, nothing else: the archive name rule.
inline char FoldToLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
bool NamesMatch(const char* a, size_t aLength, const char* b, size_t bLength);

enum class ArchiveEntryState {
  Ok,
  NameUnterminated,  // no 0x00 in the 1024 name bytes: matches nothing
  BeyondEnd,         // offset or size reach past the end of the archive
};

struct ArchiveEntry {
  char name[kArchiveNameSize];  // decoded, zero-terminated
  size_t nameLength;
  uint32_t offset;
  uint32_t size;
  ArchiveEntryState state;
};

// Directory entries are read this many at a time: one system read instead
// of a handful per entry keeps a lookup in a large archive fast.
constexpr size_t kArchiveEntriesPerRead = 32;

// One archive opened for reading its directory entry by entry.
struct ArchiveReader {
  std::FILE* file = nullptr;
  uint64_t fileSize = 0;
  int32_t count = 0;  // as stored; 0 or less holds nothing
  int32_t read = 0;   // entries handed out so far
  uint8_t chunk[kArchiveEntriesPerRead * kArchiveEntrySize];
  size_t chunkEntries = 0;  // whole entries in `chunk`
  size_t chunkNext = 0;     // the next of them to hand out
};

// Opens `path` and reads its header. False (and nothing left open) when the
// file is missing, shorter than a header or has no archive magic.
bool OpenArchive(const char* path, ArchiveReader& reader);
// The next directory entry; false after the last one or on a short read.
bool ReadNextArchiveEntry(ArchiveReader& reader, ArchiveEntry& entry);
void CloseArchive(ArchiveReader& reader);
