// Opening the game's data files by name. Two places stand for the game's own
// folder, asked in turn: the player's game directory, then the installed
// data directory. In each the file is looked for loose, then inside the
// ".ONE" archives in their order, then anywhere in the directory tree below
// (the installed tree is walked once per run).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

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
// Replaces the 1024-byte `nameBuffer` by the path of the first file of that
// name below `directory` and sets fileSearchDone; leaves it as it is otherwise.
void FindFileInTree(const char* directory, char* nameBuffer);
