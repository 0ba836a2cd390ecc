#include "platform/headless/script.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "platform/key_positions.h"
#include "platform/keys.h"
#include "platform/pads.h"

namespace platform::headless {

std::optional<int> KeyFromName(const std::string& name) {
  struct Named {
    const char* name;
    int key;
  };
  static const Named kNamed[] = {
      {"LEFT", VK_LEFT},     {"RIGHT", VK_RIGHT},   {"UP", VK_UP},         {"DOWN", VK_DOWN},
      {"SPACE", VK_SPACE},   {"RETURN", VK_RETURN}, {"ESCAPE", VK_ESCAPE}, {"BACKSPACE", VK_BACK},
      {"SHIFT", VK_SHIFT},   {"CTRL", VK_CONTROL},  {"F1", VK_F1},         {"F2", VK_F2},
      {"F8", VK_F8},
  };
  for (const Named& n : kNamed) {
    if (name == n.name) return n.key;
  }
  if (name.size() == 1) {
    char c = name[0];
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return static_cast<int>(c);
  }
  return std::nullopt;
}

int KeyPositionOfVirtualKey(int virtualKey) {
  if (virtualKey >= 'A' && virtualKey <= 'Z') return KeyPositionOfLetter(static_cast<char>(virtualKey));
  if (virtualKey == '0') return kKeyPosition0;
  if (virtualKey >= '1' && virtualKey <= '9') return kKeyPosition1 + (virtualKey - '1');
  switch (virtualKey) {
    case VK_LEFT: return kKeyPositionLeft;
    case VK_RIGHT: return kKeyPositionRight;
    case VK_UP: return kKeyPositionUp;
    case VK_DOWN: return kKeyPositionDown;
    case VK_SPACE: return kKeyPositionSpace;
    case VK_RETURN: return kKeyPositionReturn;
    case VK_ESCAPE: return kKeyPositionEscape;
    case VK_BACK: return kKeyPositionBackspace;
    case VK_SHIFT: return kKeyPositionLeftShift;
    case VK_CONTROL: return kKeyPositionLeftCtrl;
    case VK_F1: return kKeyPositionF1;
    case VK_F2: return kKeyPositionF1 + 1;
    case VK_F8: return kKeyPositionF1 + 7;
    default: return -1;
  }
}

namespace {

bool ParseInteger(const std::string& word, long min, long max, int& out) {
  if (word.empty() || word.size() > 7) return false;
  size_t start = word[0] == '-' ? 1 : 0;
  if (start == word.size()) return false;
  for (size_t k = start; k < word.size(); ++k) {
    if (!std::isdigit(static_cast<unsigned char>(word[k]))) return false;
  }
  const long value = std::stol(word);
  if (value < min || value > max) return false;
  out = static_cast<int>(value);
  return true;
}

// "pad N connect|disconnect", "pad N BUTTON down|up", "pad N axis leftx|lefty VALUE":
// the words after the verb.
std::optional<std::string> ParsePadLine(const std::vector<std::string>& words, ScriptEvent& event) {
  if (words.empty() || !ParseInteger(words[0], 0, kMaxPads - 1, event.pad)) {
    return "pad needs a pad number from 0 to " + std::to_string(kMaxPads - 1);
  }
  const std::string what = words.size() > 1 ? words[1] : "";
  if (what == "connect" || what == "disconnect") {
    if (words.size() != 2) return "too many words after \"" + what + "\"";
    event.verb = what == "connect" ? Verb::PadConnect : Verb::PadDisconnect;
    return std::nullopt;
  }
  if (what == "axis") {
    std::optional<PadAxis> axis = words.size() > 2 ? PadAxisFromName(words[2]) : std::nullopt;
    if (!axis) return "pad axis takes leftx or lefty";
    if (words.size() != 4 || !ParseInteger(words[3], -32768, 32767, event.padValue)) {
      return "pad axis needs a value from -32768 to 32767";
    }
    event.verb = Verb::PadAxis;
    event.padControl = static_cast<int>(*axis);
    return std::nullopt;
  }
  std::optional<PadButton> button = PadButtonFromName(what);
  if (!button) return "unknown pad button \"" + what + "\"";
  if (words.size() != 3 || (words[2] != "down" && words[2] != "up")) return "pad button takes down or up";
  event.verb = Verb::PadButton;
  event.padControl = static_cast<int>(*button);
  event.padValue = words[2] == "down" ? 1 : 0;
  return std::nullopt;
}

}  // namespace

std::optional<std::string> ParseScript(const std::string& text, const std::string& fileName,
                                       std::vector<ScriptEvent>& events) {
  events.clear();
  std::istringstream input(text);
  std::string line;
  int lineNumber = 0;
  uint32_t lastTime = 0;
  auto fail = [&](const std::string& what) {
    return fileName + ":" + std::to_string(lineNumber) + ": " + what;
  };
  while (std::getline(input, line)) {
    ++lineNumber;
    if (size_t hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    std::istringstream words(line);
    std::string timeWord, verbWord, argument, extra;
    if (!(words >> timeWord)) continue;  // blank or comment only
    words >> verbWord;
    std::vector<std::string> rest;
    for (std::string word; words >> word;) rest.push_back(word);
    if (!rest.empty()) argument = rest[0];
    if (rest.size() > 1) extra = rest[1];
    if (timeWord.empty() || timeWord.size() > 10 ||
        !std::all_of(timeWord.begin(), timeWord.end(), [](unsigned char c) { return std::isdigit(c); })) {
      return fail("a line starts with its time in milliseconds, not \"" + timeWord + "\"");
    }
    unsigned long long time = std::stoull(timeWord);
    if (time > 0xFFFFFFFFull) return fail("time " + timeWord + " is too large");
    if (time < lastTime) return fail("time " + timeWord + " is before the line above (" + std::to_string(lastTime) + ")");
    if (!extra.empty() && verbWord != "pad") return fail("too many words after \"" + verbWord + "\"");

    ScriptEvent event;
    event.time = static_cast<uint32_t>(time);
    event.line = lineNumber;
    if (verbWord == "down" || verbWord == "up") {
      auto key = KeyFromName(argument);
      if (!key) return fail("unknown key \"" + argument + "\"");
      event.verb = verbWord == "down" ? Verb::KeyDown : Verb::KeyUp;
      event.virtualKey = *key;
    } else if (verbWord == "shot" || verbWord == "dump") {
      if (argument.empty()) return fail(verbWord + " needs a file name");
      event.verb = verbWord == "shot" ? Verb::Shot : Verb::Dump;
      event.path = argument;
    } else if (verbWord == "focus") {
      if (argument == "off") {
        event.verb = Verb::FocusOff;
      } else if (argument == "on") {
        event.verb = Verb::FocusOn;
      } else {
        return fail("focus takes on or off, not \"" + argument + "\"");
      }
    } else if (verbWord == "answer") {
      if (argument == "ok") {
        event.verb = Verb::AnswerOk;
      } else if (argument == "cancel") {
        event.verb = Verb::AnswerCancel;
      } else {
        return fail("answer takes ok or cancel, not \"" + argument + "\"");
      }
    } else if (verbWord == "pad") {
      if (auto error = ParsePadLine(rest, event)) return fail(*error);
    } else if (verbWord == "close") {
      if (!argument.empty()) return fail("close takes no argument");
      event.verb = Verb::Close;
    } else {
      return fail("unknown verb \"" + verbWord + "\"");
    }
    lastTime = event.time;
    events.push_back(std::move(event));
  }
  return std::nullopt;
}

}  // namespace platform::headless
