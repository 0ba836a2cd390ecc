#include "media/data_file.h"

#include <cstring>
#include <string>
#include <vector>

#include "media/archive_format.h"
#include "platform/platform.h"

uint32_t dataFileOffset = 0;
uint32_t dataFileSize = 0;
bool fileSearchDone = false;

namespace {

// The archives beside the game, in the order they are asked.
constexpr const char* kArchiveNames[] = {"ONLY.ONE", "DATA.ONE", "AUDIO.ONE", "VIDEO.ONE"};
// Names and built paths live in buffers of this size, terminator included.
constexpr size_t kNameBufferSize = 1024;
// Far deeper than any game install; keeps a pathological tree from
// exhausting the stack.
constexpr int kMaxSearchDepth = 32;

std::FILE* Failed() {
  dataFileOffset = 0;
  dataFileSize = 0;
  return nullptr;
}

// A file on disk with its length, standing at its start. A directory opens
// without complaint on this system but cannot be read, so it counts as
// missing.
std::FILE* OpenLooseFile(const char* path) {
  std::FILE* file = std::fopen(path, "rb");
  if (!file) return nullptr;
  long length = -1;
  if (std::fseek(file, 0, SEEK_END) == 0) length = std::ftell(file);
  bool readable = length >= 0 && std::fseek(file, 0, SEEK_SET) == 0;
  if (readable && std::fgetc(file) == EOF && std::ferror(file)) readable = false;
  if (!readable || std::fseek(file, 0, SEEK_SET) != 0) {
    std::fclose(file);
    return nullptr;
  }
  dataFileOffset = 0;
  dataFileSize = CapFileLength(length);
  return file;
}

void SearchDirectory(const std::string& directory, const char* wanted, size_t wantedLength, char* nameBuffer,
                     int depth) {
  std::vector<platform::DirectoryEntry> entries;
  if (!platform::ListDirectory(directory, entries)) return;
  for (const platform::DirectoryEntry& entry : entries) {
    if (fileSearchDone) return;
    const std::string path = directory + "/" + entry.name;
    if (path.size() >= kNameBufferSize) continue;  // could not be held, so cannot be opened
    if (entry.isDirectory) {
      // Searched at once, before the listing goes on; never returned itself.
      if (depth < kMaxSearchDepth) SearchDirectory(path, wanted, wantedLength, nameBuffer, depth + 1);
    } else if (NamesMatch(entry.name.data(), entry.name.size(), wanted, wantedLength)) {
      // The path as listed: on a case-sensitive file system only that opens.
      std::memcpy(nameBuffer, path.c_str(), path.size() + 1);
      fileSearchDone = true;
    }
  }
}

}  // namespace

std::FILE* OpenArchiveMember(const char* archiveName, const char* memberName) {
  ArchiveReader archive;
  if (!archiveName || !memberName || !OpenArchive(archiveName, archive)) return Failed();
  const size_t wantedLength = std::strlen(memberName);
  ArchiveEntry entry;
  while (ReadNextArchiveEntry(archive, entry)) {
    if (entry.state == ArchiveEntryState::NameUnterminated) continue;
    if (!NamesMatch(entry.name, entry.nameLength, memberName, wantedLength)) continue;
    // The first entry of the name decides, even when it is broken.
    if (entry.state != ArchiveEntryState::Ok || std::fseek(archive.file, static_cast<long>(entry.offset), SEEK_SET) != 0) {
      break;
    }
    std::FILE* stream = archive.file;
    archive.file = nullptr;
    dataFileOffset = entry.offset;
    dataFileSize = entry.size;
    return stream;
  }
  CloseArchive(archive);
  return Failed();
}

void FindFileInTree(const char* directory, char* nameBuffer) {
  if (!directory || !nameBuffer) return;
  const void* end = std::memchr(nameBuffer, 0, kNameBufferSize);
  if (!end) return;
  const size_t wantedLength = static_cast<size_t>(static_cast<const char*>(end) - nameBuffer);
  char wanted[kNameBufferSize];
  std::memcpy(wanted, nameBuffer, wantedLength + 1);
  SearchDirectory(directory, wanted, wantedLength, nameBuffer, 0);
}

std::FILE* OpenDataFile(const char* name) {
  if (!name) return Failed();
  if (std::FILE* file = OpenLooseFile(name)) return file;
  for (const char* archive : kArchiveNames) {
    if (std::FILE* member = OpenArchiveMember(archive, name)) return member;
  }
  const size_t length = std::strlen(name);
  if (length < kNameBufferSize) {
    char nameBuffer[kNameBufferSize];
    std::memcpy(nameBuffer, name, length + 1);
    fileSearchDone = false;
    FindFileInTree(".", nameBuffer);
    if (fileSearchDone) {
      if (std::FILE* file = OpenLooseFile(nameBuffer)) return file;
    }
  }
  return Failed();
}
