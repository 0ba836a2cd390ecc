#include "app/hiscore.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/hiscore_replays.h"
#include "app/match.h"
#include "app/replay_viewer.h"
#include "app/shell.h"
#include "game/match_flags.h"
#include "game/play_assets.h"
#include "game/player_state.h"
#include "gfx/blit.h"
#include "gfx/display.h"
#include "gfx/font.h"
#include "platform/keys.h"

HiscoreEntry hiscoreTable[kHiscorePositions];
int32_t entryRow = -1;
uint8_t nameKeyLatch = 0;
uint8_t padNameLatch = 0;
int32_t padLetterAt = -1;

namespace {

constexpr char kFileName[] = "HISCORE.DAT";
// The table lines are drawn narrower than the font's own cells.
constexpr int32_t kTableAdvance = 14;

void PutInt(uint8_t* out, int32_t value) {
  uint32_t v = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(v >> (8 * i));
}

int32_t GetInt(const uint8_t* in) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(in[i]) << (8 * i);
  return static_cast<int32_t>(v);
}

uint32_t ChecksumOf(const HiscoreEntry* table) {
  uint32_t sum = 0;
  for (int i = 0; i < kHiscorePositions; ++i) {
    sum += static_cast<uint32_t>(table[i].points) + static_cast<uint8_t>(table[i].name[0]);
  }
  return sum;
}

// Set while the table file is there but may not be read or replaced: the
// player's scores in it stay as they are, and this run saves nothing.
bool tableFileLocked = false;

std::string TableFilePath() {
  const std::string dir = platform::GameDirectory();
  return dir == "." ? std::string(kFileName) : dir + "/" + kFileName;
}

// Says once per run why results are not kept; the screen goes on as it is.
void ReportNotSaved(const char* why) {
  static bool said = false;
  if (said) return;
  said = true;
  std::fprintf(stderr, "stakkor: %s %s: results are not saved\n", TableFilePath().c_str(), why);
}

bool WriteTableFile() {
  const std::string path = TableFilePath();
  if (tableFileLocked || !platform::MayReplaceFile(path)) {
    tableFileLocked = true;
    ReportNotSaved("may not be written");
    return false;
  }
  uint8_t bytes[kHiscoreFileBytes];
  EncodeHiscores(bytes);
  if (platform::WriteFileAtomically(path, bytes, sizeof bytes)) return true;
  ReportNotSaved("could not be written");
  return false;
}

void FillDefaultTable() {
  for (int i = 0; i < kHiscorePositions; ++i) {
    HiscoreEntry& e = hiscoreTable[i];
    std::memset(&e, 0, sizeof e);
    e.points = 1000 - 50 * i;
    std::strcpy(e.name, english ? "NOONE" : "NIEMAND");
  }
}

int32_t FontHeight() { return font2 ? font2->drawHeight : 14; }
int32_t FontAdvance() { return font2 ? font2->advance : 16; }

// The y of position i's line (i = -1: the heading).
int32_t LineY(int i) { return screenHeight / 2 - 10 * FontHeight() + 2 * FontHeight() * (i + 1); }

void DrawPositionLine(int i) {
  if (!font2) return;
  char line[96];
  const HiscoreEntry& e = hiscoreTable[i];
  std::snprintf(line, sizeof line, "%5d %2d %3d %30s", e.points, e.level, e.rows, e.name);
  int32_t saved = font2->advance;
  font2->advance = kTableAdvance;
  int32_t length = static_cast<int32_t>(std::strlen(line));
  PrintText(font2, backBuffer, screenWidth / 2 - (kTableAdvance * length) / 2, LineY(i), line);
  font2->advance = saved;
}

bool AnyKeyDown(std::initializer_list<int> keys) {
  for (int key : keys) {
    if (KeyDown(key)) return true;
  }
  return false;
}

// The table's own keys for its replays: UP and DOWN choose among the
// entries that have one, R plays the chosen one. Each acts once per press
// and only after it was seen up here, so a letter still held from the name
// entry does nothing.
class ReplayChoice {
 public:
  explicit ReplayChoice(int newEntry)
      : selected_(!EntryReplay(newEntry).empty() ? newEntry : NextEntryWithReplay(-1, 1)) {}
  int Selected() const { return selected_; }

  void TakeKeys() {
    if (Pressed(VK_UP, 0) && selected_ >= 0) selected_ = NextEntryWithReplay(selected_, -1);
    if (Pressed(VK_DOWN, 1) && selected_ >= 0) selected_ = NextEntryWithReplay(selected_, 1);
    if (Pressed('R', 2) && selected_ >= 0) {
      Replay replay;
      if (LoadEntryReplay(selected_, replay)) {
        WatchReplay(replay, kNormalSpeed);
      } else {
        selected_ = NextEntryWithReplay(selected_, 1);
      }
    }
  }

 private:
  bool Pressed(int key, int latch) {
    if (!KeyDown(key)) {
      armed_[latch] = true;
      return false;
    }
    const bool acts = armed_[latch];
    armed_[latch] = false;
    return acts;
  }
  int selected_;
  bool armed_[3] = {};
};

}  // namespace

void EncodeHiscores(uint8_t out[kHiscoreFileBytes]) {
  for (int i = 0; i < kHiscorePositions; ++i) {
    uint8_t* at = out + i * kHiscoreEntryBytes;
    PutInt(at, hiscoreTable[i].points);
    PutInt(at + 4, hiscoreTable[i].level);
    PutInt(at + 8, hiscoreTable[i].rows);
    std::memcpy(at + 12, hiscoreTable[i].name, kNameCapacity);
  }
  PutInt(out + kHiscorePositions * kHiscoreEntryBytes, static_cast<int32_t>(HiscoreChecksum()));
}

bool DecodeHiscores(const uint8_t* bytes, size_t size) {
  // A table cut short is treated like one with a wrong checksum: it is
  // replaced by the default table rather than taken in part.
  if (size < static_cast<size_t>(kHiscoreFileBytes)) return false;
  HiscoreEntry read[kHiscorePositions];
  for (int i = 0; i < kHiscorePositions; ++i) {
    const uint8_t* at = bytes + i * kHiscoreEntryBytes;
    read[i].points = GetInt(at);
    read[i].level = GetInt(at + 4);
    read[i].rows = GetInt(at + 8);
    std::memcpy(read[i].name, at + 12, kNameCapacity);
  }
  uint32_t stored = static_cast<uint32_t>(GetInt(bytes + kHiscorePositions * kHiscoreEntryBytes));
  if (stored != ChecksumOf(read)) return false;
  for (int i = 0; i < kHiscorePositions; ++i) {
    // The file's bytes after the terminator are undefined: a name without
    // one must not run on into the next field when it is printed.
    read[i].name[kNameCapacity - 1] = '\0';
    hiscoreTable[i] = read[i];
  }
  return true;
}

uint32_t HiscoreChecksum() { return ChecksumOf(hiscoreTable); }

void WriteDefaultHiscores() {
  FillDefaultTable();
  WriteTableFile();
}

void LoadHiscores() {
  std::vector<uint8_t> bytes;
  switch (platform::ReadFileStart(TableFilePath(), bytes, kHiscoreFileBytes)) {
    case platform::FileStart::Refused:
      // Shown as the default table, but the file keeps the player's scores.
      tableFileLocked = true;
      ReportNotSaved("may not be read");
      FillDefaultTable();
      return;
    case platform::FileStart::Missing: break;
    case platform::FileStart::Read:
      if (DecodeHiscores(bytes.data(), bytes.size())) return;
      break;
  }
  WriteDefaultHiscores();
}

void SaveHiscores() { WriteTableFile(); }

void NameEntryKey(char* name, int capacity) {
  const int length = static_cast<int>(std::strlen(name));
  if (length >= capacity - 1 && !KeyDown(VK_BACK)) {
    nameKeyLatch = 0;
    return;
  }
  for (int key = 'A'; key <= 'Z'; ++key) {
    if (!KeyDown(key)) continue;
    if (!nameKeyLatch && length < capacity - 1) {
      name[length] = static_cast<char>(key);
      name[length + 1] = '\0';
    }
    nameKeyLatch = 1;
    return;
  }
  if (KeyDown(VK_SPACE)) {
    if (!nameKeyLatch && length < capacity - 1) {
      name[length] = ' ';
      name[length + 1] = '\0';
    }
    nameKeyLatch = 1;
    return;
  }
  if (KeyDown(VK_BACK)) {
    if (!nameKeyLatch && length > 0) name[length - 1] = '\0';
    nameKeyLatch = 1;
    return;
  }
  nameKeyLatch = 0;
}

void PadNameEntryStep(char* name, int capacity) {
  const bool up = KeyDown(VK_GAMEPAD_DPAD_UP), down = KeyDown(VK_GAMEPAD_DPAD_DOWN);
  const bool confirm = KeyDown(VK_GAMEPAD_A), erase = KeyDown(VK_GAMEPAD_B);
  const int length = static_cast<int>(std::strlen(name));
  if (padLetterAt != length - 1) padLetterAt = -1;  // typed on the keyboard since
  if (!up && !down && !confirm && !erase) {
    padNameLatch = 0;
    return;
  }
  if (padNameLatch) return;
  padNameLatch = 1;
  if (erase) {
    if (length > 0) name[length - 1] = '\0';
    padLetterAt = -1;
  } else if (confirm) {
    padLetterAt = -1;
  } else if (padLetterAt < 0) {
    if (length >= capacity - 1) return;
    name[length] = 'A';
    name[length + 1] = '\0';
    padLetterAt = length;
  } else {
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ ";
    constexpr int kCount = sizeof kLetters - 1;
    const char* at = std::strchr(kLetters, name[padLetterAt]);
    int k = at && *at ? static_cast<int>(at - kLetters) : 0;
    k = up ? (k + 1) % kCount : (k + kCount - 1) % kCount;
    name[padLetterAt] = kLetters[k];
  }
}

void DrawHiscoreTable() {
  if (!font2) return;
  const char* heading = english ? "POINTS LEVEL ROWS        PLAYER" : "PUNKTE LEVEL REIHEN      SPIELER";
  int32_t length = static_cast<int32_t>(std::strlen(heading));
  PrintText(font2, backBuffer, screenWidth / 2 - (FontAdvance() * length) / 2, LineY(-1), heading);
  for (int i = 0; i < kHiscorePositions; ++i) DrawPositionLine(i);
}

void DrawEntryRow() {
  if (entryRow < 0 || entryRow >= kHiscorePositions) return;
  const int32_t y = LineY(entryRow), h = FontHeight();
  // A bar across the screen, from colour 80 at its rim to 95 in its middle.
  for (int k = 0; k < 16; ++k) {
    FillBox(backBuffer, k, y - h / 2 + k, screenWidth - k, y + 3 * h / 2 - k, static_cast<uint8_t>(80 + k));
  }
  DrawPositionLine(entryRow);
}

int EnterHiscore() {
  entryRow = -1;
  const int32_t points = players[0].points;
  int i = 0;
  while (i < kHiscorePositions && points <= hiscoreTable[i].points) ++i;
  if (i == kHiscorePositions) return -1;  // equal points never displace an entry
  for (int k = kHiscorePositions - 1; k > i; --k) hiscoreTable[k] = hiscoreTable[k - 1];
  HiscoreEntry& entry = hiscoreTable[i];
  std::memset(&entry, 0, sizeof entry);
  entry.points = points;
  entry.level = players[0].level;
  entry.rows = players[0].rows;
  entryRow = i;

  CopyScreen(backBuffer, backgroundImage);
  DrawHiscoreTable();
  PresentFrame();
  nameKeyLatch = 0;
  padNameLatch = 1;  // pad buttons still held from the match count once let go
  padLetterAt = -1;
  uint32_t lastDrawn = timeGetTime() - 1;
  // A pad's Start ends the entry as Return does.
  while (!KeyDown(VK_RETURN) && !KeyDown(VK_GAMEPAD_MENU) && !quitRequested) {
    PumpStep([&] {
      if (timeGetTime() == lastDrawn) return;
      lastDrawn = timeGetTime();
      NameEntryKey(entry.name, kNameCapacity);
      PadNameEntryStep(entry.name, kNameCapacity);
      DrawEntryRow();
      const int32_t y = LineY(entryRow), h = FontHeight();
      PresentRect(0, y - h / 2, Rect{0, y - h / 2, screenWidth, y + 3 * h / 2});
    });
  }
  entryRow = -1;
  return i;
}

void DrawReplayMarks(int selected) {
  if (!font2 || !AnyEntryReplay()) return;
  const int32_t saved = font2->advance;
  font2->advance = kTableAdvance;
  // Right of the 43 characters of a line, which end 19 pixels from the edge.
  for (int i = 0; i < kHiscorePositions; ++i) {
    if (!EntryReplay(i).empty()) PrintText(font2, backBuffer, screenWidth - 17, LineY(i), i == selected ? "<" : "*");
  }
  font2->advance = saved;
  const char legend[] = "UP/DOWN-CHOOSE  R-REPLAY";
  const int32_t length = static_cast<int32_t>(sizeof legend - 1);
  PrintText(font2, backBuffer, screenWidth / 2 - (FontAdvance() * length) / 2, LineY(kHiscorePositions) + FontHeight(),
            legend);
}

void RunHiscoreAfterGame() {
  WaitKeysUp({VK_RETURN, VK_ESCAPE, VK_SPACE, VK_GAMEPAD_A, VK_GAMEPAD_B, VK_GAMEPAD_MENU, VK_GAMEPAD_VIEW});
  LoadHiscores();
  const int newEntry = EnterHiscore();
  UpdateHiscoreReplays(newEntry, LastMatchReplay());
  WaitKeysUp({VK_RETURN, VK_GAMEPAD_MENU});
  ReplayChoice choice(newEntry);
  uint32_t lastDrawn = timeGetTime() - 1;
  for (;;) {
    PumpStep([&] {
      if (timeGetTime() == lastDrawn) return;
      lastDrawn = timeGetTime();
      choice.TakeKeys();
      CopyScreen(backBuffer, backgroundImage);
      DrawHiscoreTable();
      DrawReplayMarks(choice.Selected());
      PresentFrame();
    });
    if (AnyKeyDown({VK_ESCAPE, VK_RETURN, VK_SPACE, VK_GAMEPAD_A, VK_GAMEPAD_B, VK_GAMEPAD_MENU}) || quitRequested) {
      break;
    }
  }
  SaveHiscores();
  WaitKeysUp({VK_ESCAPE, VK_RETURN, VK_SPACE, VK_GAMEPAD_A, VK_GAMEPAD_B, VK_GAMEPAD_MENU});
}
