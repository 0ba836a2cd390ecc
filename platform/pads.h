// Gamepads, through SDL's game controller mappings: every pad looks like
// one with A, B, X, Y, Back, Start, a D-pad, two shoulder buttons and a
// left stick. Pads sit in numbered slots from 0: a pad that connects takes
// the lowest free slot and keeps it until it disconnects.
//
// headless: the script's `pad N ...` lines connect, press and move pads.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

constexpr int kMaxPads = 8;

enum class PadButton : uint8_t {
  A, B, X, Y, Back, Start, DpUp, DpDown, DpLeft, DpRight, LeftShoulder, RightShoulder,
};
constexpr int kPadButtonCount = 12;

enum class PadAxis : uint8_t { LeftX, LeftY };
constexpr int kPadAxisCount = 2;

// A stick counts as pushed in a direction beyond this (about half way).
constexpr int kPadStickThreshold = 16384;

bool PadConnected(int pad);
// False for a slot with no pad.
bool PadButtonHeld(int pad, PadButton button);
// -32768..32767; 0 for a slot with no pad.
int PadAxisValue(int pad, PadAxis axis);

// SDL's lower-case names: "a", "b", "x", "y", "back", "start", "dpup",
// "dpdown", "dpleft", "dpright", "leftshoulder", "rightshoulder"; "leftx",
// "lefty".
const char* PadButtonName(PadButton button);
std::optional<PadButton> PadButtonFromName(const std::string& name);
const char* PadAxisName(PadAxis axis);
std::optional<PadAxis> PadAxisFromName(const std::string& name);

// Adds controller mappings in the format of SDL's gamecontrollerdb.txt, read
// from `path` (at most 4 MiB). False when the file cannot be read; lines SDL
// does not take are skipped. Headless and web (the browser maps its own
// pads): reads and checks nothing.
bool AddPadMappingsFromFile(const std::string& path);

}  // namespace platform
