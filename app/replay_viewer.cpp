#include "app/replay_viewer.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "app/pause_check.h"
#include "app/replay_match.h"
#include "app/shared_assets.h"
#include "app/shell.h"
#include "game/game_tick.h"
#include "game/match_flags.h"
#include "game/play_assets.h"
#include "gfx/blit.h"
#include "gfx/display.h"
#include "gfx/font.h"
#include "media/music.h"
#include "media/sound_effects.h"
#include "platform/keys.h"

namespace {

constexpr char kMusicFile[] = "MUSIC.MDS";
// A step is due after 26 ms at the normal speed; time is counted in
// quarters of a millisecond times the speed in quarters.
constexpr uint32_t kStepCost = 26 * kNormalSpeed;
// After a focus loss or a slow pass, steps are not made up beyond this.
constexpr int kMostStepsAPass = 8;
constexpr uint32_t kPauseShownMs = 1000;
constexpr uint32_t kEndShownMs = 3000;

int speed = kNormalSpeed;

// A viewer key acts once per press: it must be seen up before it acts, so a
// key still held from the screen before does nothing.
class ViewerKey {
 public:
  explicit ViewerKey(int key) : key_(key) {}
  bool Pressed() {
    if (!KeyDown(key_)) {
      armed_ = true;
      return false;
    }
    if (!armed_) return false;
    armed_ = false;
    return true;
  }

 private:
  int key_;
  bool armed_ = false;
};

// Holds the picture as the live pause did, without waiting for a key.
void HoldFor(uint32_t ms) {
  const uint32_t start = timeGetTime();
  while (timeGetTime() - start < ms) platform::Wait();
}

// stepEventHook: what the player saw of the step's in-game keys.
void ShowReplayedEvents(uint8_t events) {
  if (events & kEventPause) {
    ShowPausedText();
    HoldFor(kPauseShownMs * kNormalSpeed / static_cast<uint32_t>(speed));
    RedrawAfterPause();
  }
  if (events & kEventMusic) SwitchMusicNow();
  if (events & kEventLayout1) StoreLayoutChoice(0);
  if (events & kEventLayout2) StoreLayoutChoice(1);
}

// The music as it was when the recorded match started.
void SetMusic(bool off) {
  if (off && currentMusic) StopMusic();
  if (!off && !currentMusic) StartMusic(kMusicFile, 1);
  musicOff = currentMusic ? 0 : 1;
}

std::string SpeedText() {
  static const char* const fractions[] = {"", ".25", ".5", ".75"};
  return "SPEED " + std::to_string(speed / 4) + fractions[speed % 4] + "X";
}

// The legend: beside the well in a one-player match, between the wells in
// a two-player match, where the play screen has room.
class Legend {
 public:
  // Draws when the step or the status changed since the last time, or when
  // `always` (a step may have drawn the whole screen over it).
  void Draw(uint32_t step, const std::string& status, bool always = true) {
    if (!font2 || (!always && step == step_ && status == status_)) return;
    step_ = step;
    status_ = status;
    const bool two = playerCount == 2;
    const int32_t h = font2->drawHeight, full = font2->advance;
    // Every other line, as the texts beside the well.
    const int32_t x = two ? 280 : 4, top = (two ? 16 : 17) * h;
    const Rect area{two ? 276 : 0, top - 2, two ? 366 : 214, top + 15 * h};
    DrawSurfaceRect(backBuffer, area.left, area.top, area, backgroundImage);
    font2->advance = two ? full / 2 : full;
    const std::string lines[] = {
        "REPLAY", "STEP " + std::to_string(step), status_, "P-PAUSE", two ? "LEFT-SLOW" : "LEFT-SLOWER",
        two ? "RIGHT-FAST" : "RIGHT-FASTER", "ESC-STOP"};
    for (int i = 0; i < 7; ++i) PrintText(font2, backBuffer, x, top + 2 * i * h, lines[i].c_str());
    font2->advance = full;
    PresentRect(area.left, area.top, area);
  }

 private:
  uint32_t step_ = 0;
  std::string status_;
};

void ReportDivergence(const FrameCursor& cursor, const std::string& how) {
  std::fprintf(stderr, "stakkor: the replay diverged at step %u (%s): %s\n", cursor.Position(),
               StepTime(cursor.Position()).c_str(), how.c_str());
}

// Plays the steps; returns how it ended, with the last picture showing.
ViewerEnd PlaySteps(const Replay& replay, Legend& legend) {
  FrameCursor cursor(replay);
  ViewerKey pauseKey('P'), slower(VK_LEFT), faster(VK_RIGHT), stop(VK_ESCAPE);
  bool paused = false;
  uint32_t lastPass = timeGetTime(), budget = 0;
  std::string divergence = cursor.Done() ? Divergence(replay, cursor) : "";
  ViewerEnd end = ViewerEnd::Finished;
  bool running = divergence.empty() && !cursor.Done();
  legend.Draw(0, SpeedText());
  while (running && !quitRequested) {
    PumpStep([&] {
      if (stop.Pressed()) {
        end = ViewerEnd::Stopped;
        running = false;
        return;
      }
      if (pauseKey.Pressed()) paused = !paused;
      if (faster.Pressed()) speed = std::min(kFastestSpeed, speed * 2);
      if (slower.Pressed()) speed = std::max(kSlowestSpeed, speed / 2);
      const uint32_t now = timeGetTime();
      budget = paused ? 0 : budget + (now - lastPass) * static_cast<uint32_t>(speed);
      lastPass = now;
      int steps = 0;
      for (; budget >= kStepCost && running; ++steps) {
        budget = steps + 1 == kMostStepsAPass ? 0 : budget - kStepCost;
        lastTickTime = now;
        GameStep(cursor.Next());
        divergence = Divergence(replay, cursor);
        running = divergence.empty() && !cursor.Done();
      }
      // A replayed pause held the clock: the steps go on from now.
      if (timeGetTime() != now) {
        lastPass = timeGetTime();
        budget = 0;
      }
      legend.Draw(cursor.Position(), paused ? "PAUSED" : SpeedText(), steps > 0);
    });
  }
  if (quitRequested) return ViewerEnd::Quit;
  if (end == ViewerEnd::Stopped) return end;
  if (!divergence.empty()) {
    ReportDivergence(cursor, divergence);
    legend.Draw(cursor.Position(), "DIVERGED");
    return ViewerEnd::Diverged;
  }
  legend.Draw(cursor.Position(), "END");
  return ViewerEnd::Finished;
}

// The last picture stays until a key or for a few seconds.
void ShowEnd() {
  ViewerKey keys[] = {ViewerKey(VK_ESCAPE), ViewerKey(VK_RETURN), ViewerKey(VK_SPACE)};
  const uint32_t start = timeGetTime();
  bool done = false;
  while (!done && !quitRequested && timeGetTime() - start < kEndShownMs) {
    PumpStep([&] {
      for (ViewerKey& key : keys) done = key.Pressed() || done;
    });
  }
}

}  // namespace

ViewerEnd WatchReplay(const Replay& replay, int speedQuarters) {
  ViewerEnd end;
  {
    ReplaySandbox sandbox;
    speed = std::clamp(speedQuarters, kSlowestSpeed, kFastestSpeed);
    StartRecordedMatch(replay);
    SetMusic(replay.musicOff);
    PlaySoundStart();
    stepEventHook = ShowReplayedEvents;
    Legend legend;
    end = PlaySteps(replay, legend);
    if (end == ViewerEnd::Finished || end == ViewerEnd::Diverged) ShowEnd();
  }
  // The sandbox put the music option back; the music follows it.
  if (!musicOff && !currentMusic && !StartMusic(kMusicFile, 1)) musicOff = 1;
  if (musicOff && currentMusic) StopMusic();
  WaitKeysUp({VK_ESCAPE, VK_RETURN, VK_SPACE, 'P', VK_LEFT, VK_RIGHT});
  return quitRequested ? ViewerEnd::Quit : end;
}
