#include "app/win_main.h"

#include <cstdio>
#include <string>

#include "app/hiscore.h"
#include "app/match.h"
#include "app/match_result.h"
#include "app/menu.h"
#include "app/replay_viewer.h"
#include "app/settings.h"
#include "app/shared_assets.h"
#include "app/shell.h"
#include "app/state_dump.h"
#include "app/title.h"
#include "game/match_flags.h"
#include "game/random.h"
#include "gfx/display.h"
#include "media/mixer.h"
#include "media/music.h"
#include "platform/pads.h"
#include "platform/platform.h"

namespace {

constexpr char kMusicFile[] = "MUSIC.MDS";
constexpr char kArchive[] = "DATA.ONE";

// The game's data is there when the installed data directory is, or when
// the player's own directory holds the archive. Otherwise one message names
// the places looked in, instead of a box for every file that is missing.
bool DataFound() {
  const std::string gameDirectory = platform::GameDirectory();
  const std::string installed = platform::InstalledDataDirectory();
  if (platform::IsDirectory(installed) || platform::IsRegularFile(gameDirectory + "/" + kArchive)) return true;
  const std::string text = "The game's data files were not found.\n\nLooked in:\n  " + gameDirectory + "\n  " +
                           (installed.empty() ? std::string("(the program's own folder is unknown)") : installed) +
                           "\n\nInstall the game again, or set STAKKOR_DATA_DIR to the folder that holds " +
                           kArchive + " and " + kMusicFile + ".";
  platform::ShowMessageBox(text.c_str(), "Stakkor", platform::BoxButtons::Ok);
  return false;
}

// Without a sound device the game runs silent: said once here, no box.
void StartMusicIfWanted() {
  if (!MixerOpen()) {
    std::fprintf(stderr, "stakkor: no sound device: playing without sound\n");
    musicOff = 1;
    return;
  }
  if (musicOff == 0 && !StartMusic(kMusicFile, 1)) ReportMusicFailure();
}

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

// The program up to its first screen: language, settings, window, options
// and assets, music. False when it cannot go on, with the exit code: 1
// without the game's data, 0 when the display cannot be set up.
bool StartUp(int& exitCode) {
  exitCode = 0;
  if (!DataFound()) {
    exitCode = 1;
    return false;
  }
  wasDeactivated = 0;
  english = (platform::UserLanguageId() & 0x3FF) == 7 ? 0 : 1;
  closing = 0;
  platform::SetWindowProcedure(MainWindowProc);
  LoadSettings();
  if (auto padDatabase = platform::OptionFilePath("SOFTWARE\\Kolvanic\\Stakkor", "gamecontrollerdb.txt")) {
    platform::AddPadMappingsFromFile(*padDatabase);  // when the player put one there
  }
  ApplySettings();
  if (!InitDisplay("Stakkorx", 8, 640, 480, 640, 480)) {
    closing = 1;
    platform::PostQuitMessage(0);
    return false;
  }
  SettingsScreenOpened();
  // The generator is seeded as soon as the display is up; every match
  // seeds it again from the clock.
  RandomSeed(timeGetTime());
  LoadOptionsAndAssets();
  InstallStateDump();
  StartMusicIfWanted();
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
  musicOff = 1;  // for this run: the stored choice stays the player's
}

int WinMain() {
  int exitCode = 0;
  if (!StartUp(exitCode)) return exitCode;
  RunTitleSequence();
  RunMatches();
  Shutdown(true);
  return static_cast<int>(shellMessage.wParam);
}

int WatchReplayMain(const Replay& replay, int speedQuarters) {
  int exitCode = 0;
  if (!StartUp(exitCode)) return exitCode;
  WatchReplay(replay, speedQuarters);
  Shutdown(false);
  return static_cast<int>(shellMessage.wParam);
}
