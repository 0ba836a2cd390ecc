#include "tests/replay/replay_fixture.h"

#include <cstring>
#include <random>

#include "app/match.h"
#include "app/pause_check.h"
#include "app/replay_recorder.h"
#include "app/shared_assets.h"
#include "app/shell.h"
#include "game/game_tick.h"
#include "game/match_flags.h"
#include "game/match_state.h"
#include "game/play_assets.h"
#include "gfx/display.h"
#include "platform/headless/headless_backend.h"
#include "platform/keys.h"

namespace replay_test {
namespace {

Image* SolidImage(int width, int height, uint8_t index) {
  Surface* source = CreateSurface(width, height);
  std::memset(source->Pixels(), index, static_cast<size_t>(width) * height);
  Image* image = new Image(source, 0, 0, width, height);
  ReleaseSurface(source);
  return image;
}

void MakeAssets() {
  if (backgroundImage) return;
  backgroundImage = CreateSurface(640, 480);
  std::memset(backgroundImage->Pixels(), 200, 640 * 480);
  blockTiles[0][0] = SolidImage(20, 20, 201);
  for (int k = 1; k <= 7; ++k) {
    for (int m = 0; m < 17; ++m) blockTiles[k][m] = SolidImage(20, 20, static_cast<uint8_t>(20 * k + m));
  }
  wellSideBar = SolidImage(4, 460, 202);
  wellBottomBar = SolidImage(208, 4, 203);
  panelImage = SolidImage(160, 140, 204);
  // Glyphs of their own index each, so that texts show in the digest.
  font2 = new BitmapFont{};
  font2->surface = CreateSurface(256, 84);
  for (int c = 33; c < 128; ++c) {
    const int cell = c - 32, left = (cell % 16) * 16, top = (cell / 16) * 14;
    for (int y = 0; y < 14; ++y) std::memset(font2->surface->Row(top + y) + left, 100 + cell, 16);
  }
  font2->surface->SetColourKey(0);
  font2->glyphsPerRow = 16;
  font2->cellWidth = font2->advance = 16;
  font2->cellHeight = font2->drawHeight = 14;
}

struct TimedKey {
  uint32_t at;
  int key;
  bool down;
};
std::vector<TimedKey> timedKeys;

void ReleaseOnTime(uint32_t now) {
  for (size_t i = 0; i < timedKeys.size();) {
    if (timedKeys[i].at <= now) {
      platform::headless::SetKeyHeld(timedKeys[i].key, timedKeys[i].down);
      timedKeys.erase(timedKeys.begin() + static_cast<ptrdiff_t>(i));
    } else {
      ++i;
    }
  }
}

std::vector<InputFrame>* liveFrames = nullptr;
void (*recorder)(const InputFrame&) = nullptr;
void KeepFrame(const InputFrame& frame) {
  liveFrames->push_back(frame);
  recorder(frame);
}

const int kAllKeys[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_CONTROL, VK_SHIFT, 'A', 'D', 'S', 'W'};

}  // namespace

void ReplayTest::SetUp() {
  platform::headless::StartForTests();
  if (!backBuffer) {
    ASSERT_EQ(InitDisplay("Stakkorx", 8, 640, 480, 640, 480), 1);
  }
  MakeAssets();
  english = 1;
  appActive = 1;
  quitRequested = 0;
  musicOff = 1;
  timedKeys.clear();
  platform::headless::SetClockListener(ReleaseOnTime);
}

void ReplayTest::TearDown() {
  platform::headless::SetClockListener(nullptr);
  pauseCheckHook = nullptr;
  stepDoneHook = nullptr;
  stepEventHook = nullptr;
  for (int key = 0; key < kVirtualKeyCount; ++key) platform::headless::SetKeyHeld(key, false);
}

void ReplayTest::StartMatchOf(const MatchKind& kind) {
  playerCount = kind.players;
  blobStyle = kind.blob ? 1 : 0;
  controlLayout[0] = kind.layouts[0];
  controlLayout[1] = kind.layouts[1];
  platform::headless::SetClock(kind.seed);
  StartMatchWith(kind.seed);
  lastTickTime = timeGetTime();
  gravityCountdown = 9 - players[0].level;
}

LiveMatch ReplayTest::PlayLive(const MatchKind& kind, uint32_t steps, uint32_t keySeed, bool inGameKeys) {
  LiveMatch live;
  std::mt19937 random(keySeed);
  // Latches as a run may leave them: player 2's often disarmed.
  for (auto& latches : keyLatch) {
    for (uint8_t& latch : latches) latch = random() % 3 != 0;
  }
  StartMatchOf(kind);
  pauseCheckHook = inGameKeys ? PauseCheck : nullptr;
  BeginRecording();
  recorder = stepDoneHook;
  liveFrames = &live.frames;
  stepDoneHook = KeepFrame;
  for (uint32_t step = 0; step < steps && players[0].state > 0 && players[1].state > 0; ++step) {
    for (int key : kAllKeys) {
      if (random() % 4 == 0) platform::headless::SetKeyHeld(key, random() % 3 == 0);
    }
    const uint32_t at = timeGetTime() + 26;
    if (inGameKeys && random() % 60 == 0) {
      static const int kInGame[] = {'P', VK_F1, VK_F2, VK_ESCAPE};
      const int key = kInGame[random() % (random() % 20 == 0 ? 4 : 3)];
      platform::headless::SetKeyHeld(key, true);
      timedKeys.push_back({at + 3, key, false});
      if (key == 'P') {
        timedKeys.push_back({at + 6, VK_SPACE, true});
        timedKeys.push_back({at + 9, VK_SPACE, false});
      }
    }
    platform::headless::SetClock(at);
    GameTick();
    live.states.push_back(MatchStateHash());
    live.screens.push_back(ScreenDigest());
  }
  for (int y = 0; y < 480; ++y) {
    live.lastScreen.insert(live.lastScreen.end(), backBuffer->Row(y), backBuffer->Row(y) + 640);
  }
  stepDoneHook = recorder;
  const Replay* recorded = FinishRecording(players[0].state > 0 && players[1].state > 0);
  if (recorded) live.replay = *recorded;
  pauseCheckHook = nullptr;
  for (int key = 0; key < kVirtualKeyCount; ++key) platform::headless::SetKeyHeld(key, false);
  return live;
}

uint64_t ReplayTest::ScreenDigest() { return ScreenDigest(backBuffer->Row(0), backBuffer->Pitch(), 0, 0, 0, 0); }

uint64_t ReplayTest::ScreenDigest(const uint8_t* pixels, int pitch, int skipLeft, int skipTop, int skipRight,
                                  int skipBottom) {
  uint64_t hash = 0xCBF29CE484222325ull;
  for (int y = 0; y < 480; ++y) {
    const uint8_t* row = pixels + static_cast<ptrdiff_t>(y) * pitch;
    const bool skipped = y >= skipTop && y < skipBottom;
    for (int x = 0; x < 640; x += 8) {
      uint64_t word;
      std::memcpy(&word, row + x, sizeof word);
      if (skipped && x + 8 > skipLeft && x < skipRight) continue;
      hash = (hash ^ word) * 0x100000001B3ull;
      hash ^= hash >> 29;
    }
  }
  return hash;
}

}  // namespace replay_test
