// A player for the recorded corpus: it watches the match as a person
// watches the screen and presses the keys of its layout, through the
// headless backend, between the game's steps. Where it puts each piece it
// decides by trying every place with the game's own rules on a saved copy
// of the match state.
#pragma once

#include <cstdint>

struct BotStyle {
  bool plays = true;              // false: never touches a key
  int dropDelay = 0;              // steps to wait at the chosen place before dropping
  int keyGap = 0;                 // steps with no key held after each press, as a person's pace
  bool hardDrop = true;           // false: pieces come down by gravity only
  int noise = 0;                  // 0 plays its best; n picks among its n + 1 best places
  bool multiRows = false;         // goes for several rows at once ("NORMAL")
  int giveUpAtLevel = 99;         // from this level on it drops every piece at once
  uint32_t giveUpAtStep = 30000;  // likewise from this step on (about 13 minutes)
};

// An in-game key pressed by the bot after step `step` (so the next step
// sees it): "P" (the game then goes on after `pauseMs`), "ESCAPE", "F1",
// "F2" or "F8".
struct BotKeyEvent {
  uint32_t step;
  const char* key;
  uint32_t pauseMs = 600;
};

// What the bots saw, to tell whether a case shows what it is meant to.
struct BotStats {
  uint32_t steps = 0;
  int mostRowsAtOnce[2] = {};   // the most rows (or groups) a single lock removed
  int garbageRows[2] = {};      // rows pushed into the player's well
  int multiGroupLocks[2] = {};  // "BLOB" locks that removed two groups or more
};

// Installs the bots as the clock listener of the headless backend; they act
// from the next millisecond on.
void StartBots(const BotStyle styles[2], const BotKeyEvent* events, int eventCount, uint32_t botSeed);
const BotStats& BotStatistics();
