// The script of a headless run: timed key presses, screenshots, state dumps,
// focus changes and the closing of the window.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform::headless {

enum class Verb {
  KeyDown, KeyUp, Shot, Dump, FocusOff, FocusOn, Close,
  AnswerOk, AnswerCancel,
  PadConnect, PadDisconnect, PadButton, PadAxis,
};

struct ScriptEvent {
  uint32_t time = 0;
  Verb verb = Verb::Shot;
  int virtualKey = 0;  // KeyDown, KeyUp
  std::string path;    // Shot, Dump
  int pad = 0;         // the Pad verbs: the pad's slot
  int padControl = 0;  // PadButton: a platform::PadButton; PadAxis: a platform::PadAxis
  int padValue = 0;    // PadButton: 1 down, 0 up; PadAxis: -32768..32767
  int line = 0;        // where the event stands in the script
};

// The virtual-key code of a script key name, or nullopt.
std::optional<int> KeyFromName(const std::string& name);
// Where a virtual key of the script sits on a US keyboard (its key
// position), or -1 for none.
int KeyPositionOfVirtualKey(int virtualKey);

// Parses a whole script. On failure returns "FILE:LINE: what is wrong".
std::optional<std::string> ParseScript(const std::string& text, const std::string& fileName,
                                       std::vector<ScriptEvent>& events);

}  // namespace platform::headless
