#include "platform/headless/script.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "platform/keys.h"

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
    words >> verbWord >> argument >> extra;
    if (timeWord.empty() || timeWord.size() > 10 ||
        !std::all_of(timeWord.begin(), timeWord.end(), [](unsigned char c) { return std::isdigit(c); })) {
      return fail("a line starts with its time in milliseconds, not \"" + timeWord + "\"");
    }
    unsigned long long time = std::stoull(timeWord);
    if (time > 0xFFFFFFFFull) return fail("time " + timeWord + " is too large");
    if (time < lastTime) return fail("time " + timeWord + " is before the line above (" + std::to_string(lastTime) + ")");
    if (!extra.empty()) return fail("too many words after \"" + verbWord + "\"");

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
