// Opening the game's data files by name: loose in the current directory,
// inside the ".ONE" archives, or anywhere in the directory tree below.
#pragma once

#include <cstdint>
#include <cstdio>
#include <utility>

// Where the data of the last opened file starts inside it (0 for a loose
// file) and how many bytes it has; both 0 after a failed open.
extern uint32_t dataFileOffset;
extern uint32_t dataFileSize;
// Set when the tree search has found its file.
extern bool fileSearchDone;

// A read-only stream standing at the first byte of the data, or null. The
// caller closes it.
std::FILE* OpenDataFile(const char* name);
std::FILE* OpenArchiveMember(const char* archiveName, const char* memberName);
// A file's length as dataFileSize holds it: longer files are capped at
// UINT32_MAX. Compared without conversions, so it holds whatever the width of
// `long` that ftell reports in (32 bits on wasm32, i386 and armhf).
template <typename Length>
constexpr uint32_t CapFileLength(Length length) {
  if (std::cmp_less(length, 0)) return 0;
  return std::cmp_greater(length, UINT32_MAX) ? UINT32_MAX : static_cast<uint32_t>(length);
}

// Replaces the 1024-byte `nameBuffer` by the path of the first file of that
// name below `directory` and sets fileSearchDone; leaves it as it is otherwise.
void FindFileInTree(const char* directory, char* nameBuffer);
