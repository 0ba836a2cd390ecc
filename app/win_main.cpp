#include "app/win_main.h"

#include "app/hiscore.h"
#include "app/match.h"
#include "app/match_result.h"
#include "app/menu.h"
#include "app/replay_viewer.h"
#include "app/shared_assets.h"
#include "app/shell.h"
#include "app/state_dump.h"
#include "app/title.h"
#include "game/match_flags.h"
#include "game/random.h"
#include "gfx/display.h"
#include "media/music.h"
#include "platform/platform.h"

namespace {

constexpr char kMusicFile[] = "MUSIC.MDS";

void RunMatches() {
  while (!quitRequested) {
    RunMenu();
    if (quitRequested) break;
    PlayMatch();
    if (quitRequested) break;
    if (playerCount == 1) {
      RunHiscoreAfterGame();
    } else {
      ShowMatchResult();
    }
  }
}

// The program up to its first screen: language, window, options and
// assets, music. False when the display cannot be set up.
bool StartUp() {
  wasDeactivated = 0;
  english = (platform::UserLanguageId() & 0x3FF) == 7 ? 0 : 1;
  closing = 0;
  platform::SetWindowProcedure(MainWindowProc);
  if (!InitDisplay("Stakkorx", 8, 640, 480, 640, 480)) {
    closing = 1;
    platform::PostQuitMessage(0);
    return false;
  }
  // The generator is seeded as soon as the display is up; every match
  // seeds it again from the clock.
  RandomSeed(timeGetTime());
  LoadOptionsAndAssets();
  InstallStateDump();
  if (musicOff == 0 && !StartMusic(kMusicFile, 1)) ReportMusicFailure();
  return true;
}

void Shutdown(bool closingLogo) {
  if (closingLogo) ShowClosingLogo();
  platform::PostQuitMessage(0);
  closing = 1;
  // Everything still queued is handled; the quit message ends the drain.
  while (platform::PeekMessage()) {
    if (!platform::GetMessage(shellMessage)) break;
    platform::DispatchMessage(shellMessage);
  }
  StopMusic();
  SaveOptionsAndRelease();
}

}  // namespace

void ReportMusicFailure() {
  platform::ShowPointer(true);
  if (platform::ShowMessageBox("Unable to play music!", "MIDI", platform::BoxButtons::OkCancel) ==
      platform::BoxAnswer::Cancel) {
    closing = 1;
    platform::PostQuitMessage(0);
  }
  platform::ShowPointer(false);
  musicOff = 1;
}

int WinMain() {
  if (!StartUp()) return 0;
  RunTitleSequence();
  RunMatches();
  Shutdown(true);
  return static_cast<int>(shellMessage.wParam);
}

int WatchReplayMain(const Replay& replay, int speedQuarters) {
  if (!StartUp()) return 0;
  WatchReplay(replay, speedQuarters);
  Shutdown(false);
  return static_cast<int>(shellMessage.wParam);
}
