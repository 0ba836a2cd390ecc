#include "tests/replay/corpus_bot.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "game/game_tick.h"
#include "game/match_flags.h"
#include "game/match_state.h"
#include "game/piece_motion.h"
#include "game/pieces.h"
#include "gfx/display.h"
#include "platform/headless/headless_backend.h"
#include "platform/keys.h"

namespace {

struct Keys {
  int key[4];  // left, right, turn, drop
};

Keys KeysFor(ControlHandler handler) {
  switch (handler) {
    case ControlHandler::ArrowKeysDownRotate: return {{VK_LEFT, VK_RIGHT, VK_DOWN, VK_CONTROL}};
    case ControlHandler::ArrowKeysUpRotate: return {{VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN}};
    case ControlHandler::LetterKeysWRotate: return {{'A', 'D', 'W', 'S'}};
    case ControlHandler::LetterKeysShiftDrop: return {{'A', 'D', 'S', VK_SHIFT}};
    case ControlHandler::None: break;
  }
  return {{0, 0, 0, 0}};
}

int KeyCode(const char* name) {
  const std::string n = name;
  if (n == "ESCAPE") return VK_ESCAPE;
  if (n == "F1") return VK_F1;
  if (n == "F2") return VK_F2;
  if (n == "F8") return VK_F8;
  return 'P';
}

// The bots' own sequence, apart from the game's.
struct Noise {
  uint32_t state = 1;
  int Next(int modulo) {
    state = state * 1664525u + 1013904223u;
    return static_cast<int>((state >> 8) % static_cast<uint32_t>(modulo));
  }
};

struct Plan {
  bool valid = false;
  uint8_t cells[kBoxCells] = {};
  int x = 0;
};

struct PlayerBot {
  BotStyle style;
  int plannedPoints = -1;
  Plan plan;
  int waited = 0;
  int stepsOnPlan = 0;
  int resting = 0;
  bool gaveUp = false;
  int lastRows = 0;
};

struct TimedKey {
  uint32_t at;
  int key;
  bool down;
};

PlayerBot bots[2];
std::vector<BotKeyEvent> keyEvents;
size_t nextKeyEvent = 0;
std::vector<TimedKey> timedKeys;
uint32_t seenTick = 0;
BotStats stats;
Noise noise;

bool Fits(const PlayerState& p, const uint8_t cells[kBoxCells], int x, int y) {
  for (int i = 0; i < kBoxSide; ++i) {
    for (int j = 0; j < kBoxSide; ++j) {
      if (cells[i * kBoxSide + j] && !CellFree(p, x + i, y + j)) return false;
    }
  }
  return true;
}

// The sum of the squares of the sizes of the groups of one colour.
int GroupWeight(const PlayerState& p) {
  bool seen[kWellCells] = {};
  int weight = 0;
  for (int start = 0; start < kWellCells; ++start) {
    if (seen[start] || !p.well[start]) continue;
    int stack[kWellCells], top = 0, size = 0;
    stack[top++] = start;
    seen[start] = true;
    while (top) {
      const int at = stack[--top];
      ++size;
      const int c = at / kWellRows, r = at % kWellRows;
      const int next[4][2] = {{c - 1, r}, {c + 1, r}, {c, r - 1}, {c, r + 1}};
      for (const auto& n : next) {
        if (!InsideWell(n[0], n[1])) continue;
        const int i = WellIndex(n[0], n[1]);
        if (!seen[i] && p.well[i] == p.well[start]) {
          seen[i] = true;
          stack[top++] = i;
        }
      }
    }
    weight += size * size;
  }
  return weight;
}

double Evaluate(const PlayerState& before, const PlayerState& after, bool over, bool multiRows, double zone) {
  if (over) return -1e9;
  int heights[kWellColumns], holes = 0;
  for (int c = 0; c < kWellColumns; ++c) {
    heights[c] = 0;
    for (int r = 0; r < kWellRows; ++r) {
      const uint8_t v = after.well[WellIndex(c, r)];
      if (v && heights[c] == 0) heights[c] = kWellRows - r;
      if (!v && heights[c] != 0) ++holes;
    }
  }
  int total = 0, bumps = 0, highest = 0;
  for (int c = 0; c < kWellColumns; ++c) {
    total += heights[c];
    highest = std::max(highest, heights[c]);
    if (c + 1 < kWellColumns) bumps += std::abs(heights[c] - heights[c + 1]);
  }
  const int removed = after.rows - before.rows;
  if (blobStyle) {
    // Big groups of one colour are worth much, tall columns cost, and each
    // colour keeps to its own part of the well.
    // The spawn columns must stay low, or the next piece cannot come in.
    int middle = 0;
    for (int c = 3; c <= 6; ++c) middle = std::max(middle, heights[c]);
    int squares = 0;
    for (int c = 0; c < kWellColumns; ++c) squares += heights[c] * heights[c];
    return 30.0 * removed + 0.1 * GroupWeight(after) - 0.02 * squares - 0.3 * bumps -
           (middle > 14 ? 40.0 * (middle - 14) : 0.0) - 2.0 * zone;
  }
  // Several rows at once are worth more than their number: they push rows
  // across in a two-player match. A bot that goes for them waits for them.
  const double rows = removed >= 2 ? (multiRows ? 3.0 : 1.4) * removed : (multiRows ? 0.1 : 1.0) * removed;
  return -0.510066 * total + 0.760666 * rows - 0.35663 * holes - 0.184483 * bumps - (highest > 16 ? 2.0 : 0.0);
}

// Every place the piece can reach from where it stands (turned first, then
// moved sideways), tried with the game's own drop and lock on a copy.
Plan Choose(int p, int noiseLevel) {
  const MatchState saved = SaveMatchState();
  const uint8_t dirty = screenDirty;
  Surface* const back = backBuffer;
  Surface* const primary = primarySurface;
  backBuffer = primarySurface = nullptr;  // nothing drawn, nothing shown
  const PlayerState start = saved.players[p];
  struct Option {
    double score;
    Plan plan;
  };
  std::vector<Option> options;
  uint8_t cells[kBoxCells];
  std::memcpy(cells, start.pieceCells, sizeof cells);
  for (int turns = 0; turns < 4; ++turns) {
    if (turns > 0) {
      uint8_t turned[kBoxCells];
      TurnBox(cells, turned);
      if (!Fits(start, turned, start.pieceX, start.pieceY)) break;
      std::memcpy(cells, turned, sizeof cells);
    }
    for (int x = -3; x < kWellColumns; ++x) {
      bool reachable = true;
      for (int along = start.pieceX; reachable; along += x > along ? 1 : -1) {
        reachable = Fits(start, cells, along, start.pieceY);
        if (along == x) break;
      }
      if (!reachable) continue;
      RestoreMatchState(saved);
      PlayerState& player = players[p];
      std::memcpy(player.pieceCells, cells, sizeof cells);
      player.pieceX = x;
      while (!MoveDown(player)) {
      }
      const bool over = LockPiece(player);
      // Each colour has its own part of the well, where its groups grow.
      double sum = 0;
      int blocks = 0;
      for (int i = 0; i < kBoxCells; ++i) {
        if (cells[i]) sum += x + i / kBoxSide, ++blocks;
      }
      const double centre = (start.pieceColour - 1) * 9.0 / 6.0;
      const double zone = blocks ? std::abs(sum / blocks - centre) : 0.0;
      Option option{Evaluate(start, player, over, bots[p].style.multiRows, zone), {}};
      option.plan.valid = true;
      std::memcpy(option.plan.cells, cells, sizeof cells);
      option.plan.x = x;
      options.push_back(option);
    }
  }
  RestoreMatchState(saved);
  screenDirty = dirty;
  backBuffer = back;
  primarySurface = primary;
  if (options.empty()) return Plan{};
  std::stable_sort(options.begin(), options.end(), [](const Option& a, const Option& b) { return a.score > b.score; });
  const int pick = noiseLevel ? noise.Next(std::min<int>(noiseLevel + 1, static_cast<int>(options.size()))) : 0;
  return options[static_cast<size_t>(pick)].plan;
}

void CountRows(int p) {
  PlayerBot& bot = bots[p];
  const int removed = players[p].rows - bot.lastRows;
  bot.lastRows = players[p].rows;
  if (removed <= 0) return;
  stats.mostRowsAtOnce[p] = std::max(stats.mostRowsAtOnce[p], removed);
  if (blobStyle && removed >= 2) ++stats.multiGroupLocks[p];
  if (!blobStyle && playerCount == 2 && removed >= 2) stats.garbageRows[1 - p] += removed - 1;
}

// The keys a player holds for the next step.
void Decide(int p) {
  PlayerBot& bot = bots[p];
  const PlayerState& player = players[p];
  const Keys keys = KeysFor(player.controlHandler);
  CountRows(p);
  uint8_t wanted = 0;
  if (bot.style.plays && player.state > kGameJustOver) {
    if (player.level >= bot.style.giveUpAtLevel || stats.steps >= bot.style.giveUpAtStep) bot.gaveUp = true;
    if (bot.gaveUp) {
      wanted = kActionBitDrop;
    } else {
      if (player.points != bot.plannedPoints) {
        bot.plan = Choose(p, bot.style.noise);
        bot.plannedPoints = player.points;
        bot.waited = bot.stepsOnPlan = 0;
      }
      const bool turned = std::memcmp(player.pieceCells, bot.plan.cells, kBoxCells) == 0;
      if (!bot.plan.valid || ++bot.stepsOnPlan > 60) {
        wanted = bot.style.hardDrop ? kActionBitDrop : 0;  // stuck: down it goes
      } else {
        if (!turned) wanted |= kActionBitTurn;
        if (player.pieceX > bot.plan.x) wanted |= kActionBitLeft;
        if (player.pieceX < bot.plan.x) wanted |= kActionBitRight;
        if (turned && player.pieceX == bot.plan.x && bot.style.hardDrop && ++bot.waited > bot.style.dropDelay) {
          wanted |= kActionBitDrop;
        }
      }
    }
  }
  if (bot.resting > 0) {
    --bot.resting;
    wanted = 0;
  }
  // A key acts when it is seen held with its latch armed; a held key is let
  // go for a step so that it can act again.
  const uint8_t bits[4] = {kActionBitLeft, kActionBitRight, kActionBitTurn, kActionBitDrop};
  bool pressed = false;
  for (int a = 0; a < 4; ++a) {
    const bool hold = (wanted & bits[a]) && keyLatch[p][a];
    pressed = pressed || hold;
    if (keys.key[a]) platform::headless::SetKeyHeld(keys.key[a], hold);
  }
  if (pressed) bot.resting = bot.style.keyGap;
}

void OnStep(uint32_t now) {
  ++stats.steps;
  for (int p = 0; p < PlayingCount(); ++p) Decide(p);
  while (nextKeyEvent < keyEvents.size() && keyEvents[nextKeyEvent].step <= stats.steps) {
    const BotKeyEvent& e = keyEvents[nextKeyEvent++];
    const int key = KeyCode(e.key);
    // Held past the next step, which sees it and waits for its release.
    platform::headless::SetKeyHeld(key, true);
    timedKeys.push_back({now + 30, key, false});
    if (key == 'P') {
      timedKeys.push_back({now + 30 + e.pauseMs, VK_SPACE, true});
      timedKeys.push_back({now + 36 + e.pauseMs, VK_SPACE, false});
    }
  }
}

void Listen(uint32_t now) {
  if (lastTickTime != seenTick) {
    seenTick = lastTickTime;
    OnStep(now);
  }
  for (size_t i = 0; i < timedKeys.size();) {
    if (timedKeys[i].at <= now) {
      platform::headless::SetKeyHeld(timedKeys[i].key, timedKeys[i].down);
      timedKeys.erase(timedKeys.begin() + static_cast<std::ptrdiff_t>(i));
    } else {
      ++i;
    }
  }
}

}  // namespace

void StartBots(const BotStyle styles[2], const BotKeyEvent* events, int eventCount, uint32_t botSeed) {
  for (int p = 0; p < 2; ++p) {
    bots[p] = PlayerBot{};
    bots[p].style = styles[p];
  }
  keyEvents.assign(events, events + eventCount);
  nextKeyEvent = 0;
  timedKeys.clear();
  stats = BotStats{};
  noise.state = botSeed;
  seenTick = lastTickTime;
  platform::headless::SetClockListener(Listen);
}

const BotStats& BotStatistics() { return stats; }
