// What the game needs of an operating system, named for what it does.
//
// Backends implement it: `sdl` (the real game, a window, sound), `web` (the
// same game in a browser page; built instead of `sdl` for WebAssembly) and
// `headless` (scripted runs on a virtual clock, see the README). Everything
// above this folder is the same code for all; nothing above it includes a
// system header of its own.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/keys.h"
#include "platform/messages.h"

// Milliseconds as a wrapping 32-bit counter. The game reads this name
// everywhere, so it keeps it.
uint32_t timeGetTime();

namespace platform {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;

// ---- start and end -------------------------------------------------------

enum class Backend { Sdl, Headless, Web };

// Options of the platform layer taken from the command line.
// `Sdl` stands for the build's interactive backend (web in a browser build).
struct LaunchOptions {
  bool help = false;            // --help: show the usage and end
  bool version = false;         // --version: show the version and end
  Backend backend = Backend::Sdl;
  bool window = false;          // sdl: start in a window instead of fullscreen
  bool fullscreen = false;      // sdl: asked for fullscreen (the default) by name
  std::string scriptPath;       // headless: the script to run
  std::optional<uint32_t> maxMs;  // headless: end the run when the clock gets here
  std::string audioLogPath;     // headless: log of effects and music buffers
  // The game's own: --replay FILE plays a recorded match instead of the
  // menu, --speed N at N times its pace (kept in quarters, 1 to 64), and
  // --verify checks it without a screen instead of showing it.
  std::string replayPath;
  int replaySpeedQuarters = 4;
  bool verifyReplay = false;
};

// Parses the command line (long options in any order, "--name=value" or
// "--name value"). Returns an error text for a bad command line.
std::optional<std::string> ParseLaunchOptions(int argc, char** argv, LaunchOptions& out);

// Starts the chosen backend. For headless runs this reads the script; a bad
// script prints its file and line to standard error and ends the process with
// status 2 before the game starts.
void Start(const LaunchOptions& options);

// Ends the process the way the backend wants: headless runs write their
// pending outputs first. `status` is the game's own exit code.
[[noreturn]] void Exit(int status);

// Which backend runs.
Backend ActiveBackend();

// ---- the wait primitive --------------------------------------------------

// Called once at the end of every pass of every loop that waits for time or
// keys. sdl: takes in window events, shows a changed frame when one is due,
// and sleeps until the next thing that can change what the loop sees: an
// event (a key, the focus, a message), the moment given to WakeAt, or the
// next frame due. headless: advances the virtual clock by exactly 1 ms and
// applies the scripted events.
void Wait();

// The loop that waits next has work at clock time `time` (its next game
// step, fade step or animation frame): the coming Wait sleeps no longer.
// Applies to that one Wait; several calls keep the earliest. A loop that
// only reacts to keys and messages gives none. headless: has no effect.
void WakeAt(uint32_t time);

// How many milliseconds the last Wait stood for: animations that once
// counted passes count these instead, so that their speed stays the same
// however long a pass sleeps. headless: always 1, one pass a millisecond.
uint32_t PassMilliseconds();

// ---- keyboard ------------------------------------------------------------

// Is the key held now? By Windows virtual-key code (platform/keys.h).
bool IsKeyHeld(int virtualKey);

// ---- window messages -----------------------------------------------------

using WindowProcedure = void (*)(const Message& message);
void SetWindowProcedure(WindowProcedure procedure);

bool PeekMessage();                 // a message is waiting
bool GetMessage(Message& message);  // takes it; false for the quit message
void DispatchMessage(const Message& message);
void WaitMessage();                 // blocks until a message is waiting
void PostQuitMessage(int exitCode);

// ---- the screen ----------------------------------------------------------

enum class ScreenError { None, VideoInit, Window, Renderer };

// Opens the window (sdl) or the virtual screen (headless). `pixels` is the
// primary surface: 640 x 480 palette indices, `pitch` bytes a row, owned by
// the caller and alive until CloseScreen.
ScreenError OpenScreen(const char* title, const uint8_t* pixels, int pitch);
void CloseScreen();

// The primary surface changed (all of it, or the rectangle of `width` x
// `height` pixels at x, y); the window shows it at the next refresh.
void MarkScreenChanged();
void MarkScreenChanged(int x, int y, int width, int height);

// The display palette: 256 entries of red, green, blue, flags, one byte
// each, components 0..252 as the game hands them over (its 6-bit values
// shifted left by 2). The screen widens them to full 8-bit intensity.
void SetScreenPalette(const uint8_t entries[256 * 4]);

// Shows or hides the mouse pointer over the window.
void ShowPointer(bool show);

// Fullscreen or a window; the picture fitted with its aspect kept, or scaled
// by the largest whole factor that fits. Before OpenScreen it chooses how
// the screen opens (`--window` opens a window all the same); after, it
// changes the screen at once. Headless: remembered, nothing else.
void SetScreenMode(bool fullscreen, bool integerScaling);
// Fullscreen now (the player may switch with Alt+Enter).
bool ScreenFullscreen();

// How the window is drawn, taken when the screen opens. Automatic: the
// graphics card's renderer when the machine has one, else SDL's software
// framebuffer (no OpenGL library loaded, which a software OpenGL would only
// make slower and larger). $STAKKOR_RENDERER (software or accelerated)
// overrides the choice. Headless: nothing to choose.
enum class RendererChoice { Automatic, Software, Accelerated };
void SetRendererChoice(RendererChoice choice);

// ---- message boxes -------------------------------------------------------

enum class BoxButtons { Ok, OkCancel };
enum class BoxAnswer { Ok = 1, Cancel = 2 };

// headless: prints caption and text to standard error and answers OK.
BoxAnswer ShowMessageBox(const char* text, const char* caption, BoxButtons buttons);

// ---- options store -------------------------------------------------------

// One short text value under a key path such as "SOFTWARE\\Kolvanic\\Stakkor".
// Kept as a file below $XDG_CONFIG_HOME (default ~/.config), with the key's
// parts after "SOFTWARE" as directories and the value name as the file.
std::optional<std::string> ReadOptionValue(const std::string& keyPath, const std::string& valueName);
// The file that holds a value (nullopt for a key path or name that would
// lead outside the options directory); for files kept beside the options.
std::optional<std::string> OptionFilePath(const std::string& keyPath, const std::string& valueName);
bool WriteOptionValue(const std::string& keyPath, const std::string& valueName, const std::string& text);

// Writes a whole file so that a reader sees either the old or the new
// contents, never a part: a temporary file beside it, flushed, renamed, and
// its directory flushed.
bool WriteFileAtomically(const std::string& path, const void* data, size_t size);

// ---- files ---------------------------------------------------------------

struct DirectoryEntry {
  std::string name;
  bool isDirectory = false;  // a real directory; a symbolic link is never one
};

// The entries of a directory in the order the system lists them, "." and
// ".." left out. Symbolic links are listed as plain entries, so a search that
// descends only into directories can never run around a loop of links.
// Returns false when the directory cannot be read.
bool ListDirectory(const std::string& path, std::vector<DirectoryEntry>& entries);

// A whole file read into memory, for readers that want the bytes at once.
// Fails for files larger than `limit`.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, size_t limit);

// Makes a directory and every missing one above it. False when one cannot
// be made.
bool MakeDirectories(const std::string& path);

// Is there a directory (or a link to one) at `path`?
bool IsDirectory(const std::string& path);

// Removes a file (never a directory); true when it is gone.
bool RemoveFile(const std::string& path);

// Seconds since 1970-01-01 UTC. Headless runs say 0, so that a scripted run
// writes the same bytes every time.
int64_t WallClockSeconds();

// ---- where the game's files live ----------------------------------------
//
// The old game found everything in its own folder. Here two places stand
// for it, searched in this order: the player's game directory, then the
// installed data directory.

// The player's game directory: loose files put there win over the installed
// data; the hiscore table and replays are kept there. sdl:
// ${XDG_DATA_HOME:-~/.local/share}/stakkor, made on first use. headless:
// the current directory, where a scripted run finds its data. web: the one
// platform/web/places.cmake names, kept in the browser's storage.
std::string GameDirectory();

// Where the installed data lives (DATA.ONE, MUSIC.MDS): $STAKKOR_DATA_DIR
// when set, else the data folder found from the program's own location
// (<prefix>/share/games/stakkor for an installed game, the same place in
// the build tree; web: where the page puts the shipped data). The path is
// given whether or not it exists.
std::string InstalledDataDirectory();

// Opens a file for reading, standing at its start, only when it is a regular
// file: a directory, a named pipe or a device counts as missing, and the
// opening never blocks. Null when missing or unreadable.
std::FILE* OpenRegularFile(const std::string& path);
bool IsRegularFile(const std::string& path);

// The first `count` bytes of a regular file (fewer when it is shorter).
enum class FileStart {
  Read,     // `bytes` holds what the file starts with
  Missing,  // no file there, or not a regular file
  Refused,  // the file is there but may not be read
};
FileStart ReadFileStart(const std::string& path, std::vector<uint8_t>& bytes, size_t count);

// May the file at `path` be replaced by a new one? True when there is none
// yet or it is writable for us: a read-only file is left alone.
bool MayReplaceFile(const std::string& path);

// Are both paths the same directory (compared by the file system, not by text)?
bool SameDirectory(const std::string& a, const std::string& b);

// The user's primary language as a Windows language id (German = 7 in the
// low 10 bits). Taken from LC_ALL, LC_MESSAGES or LANG.
uint16_t UserLanguageId();

// ---- harness hooks -------------------------------------------------------

// The state dump of a headless run: the game hands in a function that writes
// the JSON fields it owns, and the platform adds its own.
using StateDumper = std::function<std::string()>;
void SetStateDumper(StateDumper dumper);

}  // namespace platform
