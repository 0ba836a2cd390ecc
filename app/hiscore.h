// The hiscore table of one-player games: "HISCORE.DAT" with its checksum,
// the name entry after a good game, and the table on screen.
#pragma once

#include <cstddef>
#include <cstdint>

// One position; the same 42 bytes in memory and in the file (little-endian).
struct HiscoreEntry {
  int32_t points;
  int32_t level;
  int32_t rows;
  char name[30];  // zero-terminated, at most 29 characters
};

constexpr int kHiscorePositions = 10;
constexpr int kHiscoreEntryBytes = 42;
constexpr int kHiscoreFileBytes = kHiscorePositions * kHiscoreEntryBytes + 4;  // 424
constexpr int kNameCapacity = 30;

extern HiscoreEntry hiscoreTable[kHiscorePositions];
extern int32_t entryRow;  // the position whose name is typed, -1 when none
extern uint8_t nameKeyLatch;
// The pad's name entry: a latch like the keys', and the place of the letter
// being chosen with up and down (-1: none; the next up or down starts one).
extern uint8_t padNameLatch;
extern int32_t padLetterAt;

// The whole sequence after a one-player game: load, enter, show, save.
void RunHiscoreAfterGame();

void LoadHiscores();
// Fills the table with the default entries and writes it to "HISCORE.DAT".
void WriteDefaultHiscores();
void SaveHiscores();
uint32_t HiscoreChecksum();

// Puts player 1's result in its place, if it earns one, and lets the player
// type a name. The position of the new entry, or -1 when there is none.
int EnterHiscore();
// One step of typing into `name` (a buffer of `capacity` bytes).
void NameEntryKey(char* name, int capacity);
// One step of choosing a name with a pad, as arcade tables do: up or down
// starts a letter at A and then changes it, A keeps it, B takes back the
// last character.
void PadNameEntryStep(char* name, int capacity);

void DrawHiscoreTable();
void DrawEntryRow();
// When any entry has a replay: a mark right of each such line ("<" at the
// selected one, "*" at the others) and a legend of the keys below the table.
void DrawReplayMarks(int selected);

// The table as the file stores it, and back. Decoding reports false for a
// file that is not a whole table with a matching checksum.
void EncodeHiscores(uint8_t out[kHiscoreFileBytes]);
bool DecodeHiscores(const uint8_t* bytes, size_t size);
