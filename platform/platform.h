// What the game needs of an operating system, named for what it does.
//
// Backends implement it: `sdl` (the real game, a window, sound), `web` (the
// same game in a browser page; built instead of `sdl` for WebAssembly) and
// `headless` (scripted runs on a virtual clock, see the README). Everything
// above this folder is the same code for all; nothing above it includes a
// system header of its own.
#pragma once

#include <cstdint>
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
  Backend backend = Backend::Sdl;
  bool window = false;          // sdl: start in a window instead of fullscreen
  std::string scriptPath;       // headless: the script to run
  std::optional<uint32_t> maxMs;  // headless: end the run when the clock gets here
  std::string audioLogPath;     // headless: log of effects and music buffers
};

// Parses the platform's own flags. Returns an error text for a bad command line.
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
// keys. sdl: yields the processor for about a millisecond, takes in window
// events and refreshes the window when a new frame is due. headless: advances
// the virtual clock by exactly 1 ms and applies the scripted events.
void Wait();

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

// The primary surface changed; the window shows it at the next refresh.
void MarkScreenChanged();

// The display palette: 256 entries of red, green, blue, flags, one byte
// each, components 0..252 as the game hands them over (its 6-bit values
// shifted left by 2). The screen widens them to full 8-bit intensity.
void SetScreenPalette(const uint8_t entries[256 * 4]);

// Shows or hides the mouse pointer over the window.
void ShowPointer(bool show);

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

// The user's primary language as a Windows language id (German = 7 in the
// low 10 bits). Taken from LC_ALL, LC_MESSAGES or LANG.
uint16_t UserLanguageId();

// ---- harness hooks -------------------------------------------------------

// The state dump of a headless run: the game hands in a function that writes
// the JSON fields it owns, and the platform adds its own.
using StateDumper = std::function<std::string()>;
void SetStateDumper(StateDumper dumper);

}  // namespace platform
