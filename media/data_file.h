// Opening the game's data files by name. Two places stand for the game's own
// folder, asked in turn: the player's game directory, then the installed
// data directory. In each the file is looked for loose, then inside the
// ".ONE" archives in their order, then anywhere in the directory tree below
// (the installed tree is walked once per run).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
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
// The path of a loose file of the game's folder (the music is read so): the
// first place that holds a regular file of that name, else the name in the
// player's game directory.
std::string FindGameFile(const char* name);
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
