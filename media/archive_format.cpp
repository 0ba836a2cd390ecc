#include "media/archive_format.h"

#include <algorithm>
#include <cstring>

#include "media/byte_order.h"
#include "platform/platform.h"

bool NamesMatch(const char* a, size_t aLength, const char* b, size_t bLength) {
  if (aLength != bLength) return false;
  for (size_t i = 0; i < aLength; ++i) {
    if (FoldToLower(a[i]) != FoldToLower(b[i])) return false;
  }
  return true;
}

namespace {

// Leaves the chunk's bytes alone: they are only read after a read into it.
void Reset(ArchiveReader& reader) {
  reader.file = nullptr;
  reader.fileSize = 0;
  reader.count = 0;
  reader.read = 0;
  reader.chunkEntries = 0;
  reader.chunkNext = 0;
}

}  // namespace

bool OpenArchive(const char* path, ArchiveReader& reader) {
  Reset(reader);
  std::FILE* file = platform::OpenRegularFile(path);
  if (!file) return false;
  // The length bounds every member. It is taken before the first read, so
  // that the header and the directory are read once, straight on.
  long length = -1;
  if (std::fseek(file, 0, SEEK_END) == 0) length = std::ftell(file);
  uint8_t header[kArchiveHeaderSize];
  const bool isArchive = length >= 0 && std::fseek(file, 0, SEEK_SET) == 0 &&
                         std::fread(header, 1, sizeof header, file) == sizeof header &&
                         ((header[0] == 'O' && header[1] == 'O') || (header[0] == 'o' && header[1] == 'o'));
  if (!isArchive) {
    std::fclose(file);
    return false;
  }
  reader.file = file;
  reader.fileSize = static_cast<uint64_t>(length);
  reader.count = static_cast<int32_t>(ReadLe32(header + 2));
  return true;
}

bool ReadNextArchiveEntry(ArchiveReader& reader, ArchiveEntry& entry) {
  if (!reader.file || reader.read >= reader.count) return false;
  if (reader.chunkNext == reader.chunkEntries) {
    const size_t wanted = std::min(kArchiveEntriesPerRead, static_cast<size_t>(reader.count - reader.read));
    reader.chunkEntries = std::fread(reader.chunk, 1, wanted * kArchiveEntrySize, reader.file) / kArchiveEntrySize;
    reader.chunkNext = 0;
    if (reader.chunkEntries == 0) {
      reader.read = reader.count;  // a short directory ends the archive
      return false;
    }
  }
  const uint8_t* raw = reader.chunk + reader.chunkNext++ * kArchiveEntrySize;
  ++reader.read;
  // The name is stored complemented up to a plain 0x00.
  const void* end = std::memchr(raw, 0, kArchiveNameSize);
  entry.nameLength = end ? static_cast<size_t>(static_cast<const uint8_t*>(end) - raw) : 0;
  for (size_t i = 0; i < entry.nameLength; ++i) entry.name[i] = static_cast<char>(~raw[i]);
  entry.name[entry.nameLength] = '\0';
  entry.offset = ReadLe32(raw + kArchiveNameSize);
  entry.size = ReadLe32(raw + kArchiveNameSize + 4);
  if (!end) {
    entry.state = ArchiveEntryState::NameUnterminated;
  } else if (entry.offset > reader.fileSize || entry.size > reader.fileSize - entry.offset) {
    entry.state = ArchiveEntryState::BeyondEnd;
  } else {
    entry.state = ArchiveEntryState::Ok;
  }
  return true;
}

void CloseArchive(ArchiveReader& reader) {
  if (reader.file) std::fclose(reader.file);
  Reset(reader);
}
