// Opening the game's data files by name: loose in the current directory,
// inside the ".ONE" archives, or anywhere in the directory tree below.
#pragma once

#include <cstdint>
#include <cstdio>

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
// Replaces the 1024-byte `nameBuffer` by the path of the first file of that
// name below `directory` and sets fileSearchDone; leaves it as it is otherwise.
void FindFileInTree(const char* directory, char* nameBuffer);
