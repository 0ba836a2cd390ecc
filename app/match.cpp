#include "app/match.h"

#include <cstring>

#include "app/pause_check.h"
#include "app/replay_recorder.h"
#include "app/replay_store.h"
#include "app/shared_assets.h"
#include "app/shell.h"
#include "game/control_layouts.h"
#include "game/controls.h"
#include "game/game_tick.h"
#include "game/match_flags.h"
#include "game/pieces.h"
#include "game/play_assets.h"
#include "game/play_screen.h"
#include "game/random.h"
#include "gfx/display.h"
#include "gfx/palette.h"
#include "media/sound_effects.h"

bool matchSeeded = false;
uint32_t matchSeed = 0;

namespace {

std::string lastReplay;

}  // namespace

void StartMatch() { StartMatchWith(timeGetTime()); }

void StartMatchWith(uint32_t seedValue) {
  RefreshKeyLabels();  // the keyboard's layout may have changed since
  matchSeed = seedValue;
  matchSeeded = true;
  RandomSeed(matchSeed);
  for (int p = 0; p < PlayingCount(); ++p) {
    PlayerState& player = players[p];
    player.index = p;
    player.points = player.rows = player.level = 0;
    player.controlHandler = LayoutHandler(p, controlLayout[p]);
    std::memset(player.well, 0, sizeof player.well);
    SpawnPiece(player);
  }
  // Both records, so that in a one-player match only player 1 can end it.
  players[0].state = players[1].state = kPlaying;
  for (int twice = 0; twice < 2; ++twice) {
    DrawPlayScreen();
    PresentFrame();
  }
  SetPalette(gamePalette);
}

void PlayMatch() {
  pauseCheckHook = PauseCheck;
  StartMatch();
  PlaySoundStart();
  // The same clock millisecond as the seed: steps come at +26, +52, ...
  lastTickTime = timeGetTime();
  gravityCountdown = 9 - players[0].level;
  BeginRecording();
  bool focusLost = false;
  while (players[0].state > 0 && players[1].state > 0 && !quitRequested) {
    PumpStep([] {
      GameTick();
      platform::WakeAt(lastTickTime + kStepGateMs + 1);  // the next step's moment
    });
    // No step runs without the focus; the first one after it says so.
    if (!appActive) {
      focusLost = true;
    } else if (focusLost) {
      focusLost = false;
      NoteFocusBack();
    }
  }
  // A match closed before its first step leaves nothing worth keeping.
  const Replay* replay = FinishRecording(players[0].state > 0 && players[1].state > 0);
  lastReplay = replay && replay->stepCount > 0 ? SaveReplay(*replay) : std::string();
}

bool MatchAbandoned() { return players[0].state == 0 && players[1].state == 0; }

const std::string& LastMatchReplay() { return lastReplay; }
