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

// A file on disk with its length, standing at its start. Only a regular
// file counts: a directory, a named pipe or a device is missing.
std::FILE* OpenLooseFile(const char* path) {
  std::FILE* file = platform::OpenRegularFile(path);
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

std::string PathInPlace(const std::string& place, const char* name) {
  if (name[0] == '/' || place.empty()) return name;  // a full path is the same in every place
  return place == "." ? std::string(name) : place + "/" + name;
}

std::vector<std::string> DataPlaces() {
  std::vector<std::string> places{platform::GameDirectory()};
  const std::string installed = platform::InstalledDataDirectory();
  if (!installed.empty() && !platform::SameDirectory(installed, places[0])) places.push_back(installed);
  return places;
}

// The installed data does not change while the game runs: its tree is walked
// once, the first time a name is not found loose or in its archives there,
// and later lookups read the list of files that walk made.
void ListTree(const std::string& directory, std::vector<std::string>& files, int depth) {
  std::vector<platform::DirectoryEntry> entries;
  if (!platform::ListDirectory(directory, entries)) return;
  for (const platform::DirectoryEntry& entry : entries) {
    const std::string path = directory + "/" + entry.name;
    if (path.size() >= kNameBufferSize) continue;
    if (entry.isDirectory) {
      if (depth < kMaxSearchDepth) ListTree(path, files, depth + 1);
    } else {
      files.push_back(path);
    }
  }
}

void FindInInstalledTree(const std::string& directory, char* nameBuffer) {
  static std::string listedDirectory;
  static std::vector<std::string> files;
  static bool listed = false;
  if (!listed || listedDirectory != directory) {
    files.clear();
    ListTree(directory, files, 0);
    listedDirectory = directory;
    listed = true;
  }
  const size_t wantedLength = std::strlen(nameBuffer);
  for (const std::string& path : files) {
    const size_t slash = path.rfind('/');
    const char* base = path.c_str() + slash + 1;
    if (NamesMatch(base, path.size() - slash - 1, nameBuffer, wantedLength)) {
      std::memcpy(nameBuffer, path.c_str(), path.size() + 1);
      fileSearchDone = true;
      return;
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
  const size_t length = std::strlen(name);
  const std::vector<std::string> places = DataPlaces();
  for (size_t p = 0; p < places.size(); ++p) {
    const std::string& place = places[p];
    if (std::FILE* file = OpenLooseFile(PathInPlace(place, name).c_str())) return file;
    for (const char* archive : kArchiveNames) {
      if (std::FILE* member = OpenArchiveMember(PathInPlace(place, archive).c_str(), name)) return member;
    }
    if (length >= kNameBufferSize) continue;
    char nameBuffer[kNameBufferSize];
    std::memcpy(nameBuffer, name, length + 1);
    fileSearchDone = false;
    if (p == 0) {
      // Only the player's own directory is walked on every lookup.
      FindFileInTree(place.c_str(), nameBuffer);
    } else {
      FindInInstalledTree(place, nameBuffer);
    }
    if (fileSearchDone) {
      if (std::FILE* file = OpenLooseFile(nameBuffer)) return file;
    }
  }
  return Failed();
}

std::string FindGameFile(const char* name) {
  if (!name) return {};
  for (const std::string& place : DataPlaces()) {
    const std::string path = PathInPlace(place, name);
    if (platform::IsRegularFile(path)) return path;
  }
  return PathInPlace(platform::GameDirectory(), name);
}
