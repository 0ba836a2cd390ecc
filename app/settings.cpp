#include "app/settings.h"

#include <cstdio>
#include <cstring>
#include <sstream>

#include "media/midi_stream.h"
#include "media/mixer.h"
#include "platform/key_positions.h"
#include "platform/platform.h"

Settings settings = DefaultSettings();

namespace {

constexpr char kOptionsKey[] = "SOFTWARE\\Kolvanic\\Stakkor";
constexpr char kFileName[] = "stakkor.conf";
// A settings file is a few kilobytes; one past this is left alone.
constexpr size_t kMaxFileBytes = 1 << 20;

const char* const kSeatNames[kSeatCount] = {"one_player", "player1_of_two", "player2_of_two"};
const char* const kActionNames[kActionCount] = {"left", "right", "turn", "drop"};
const char* const kPadActionNames[kPadActionCount] = {"left", "right", "turn", "drop", "pause", "quit"};

// The text of the settings file as it was read, and whether it may be
// written over.
std::string storedText;
bool storeWritable = true;
bool screenOpen = false;
bool fullscreenWhenOpened = true;

std::string Trim(const std::string& text) {
  size_t start = 0, end = text.size();
  while (start < end && (text[start] == ' ' || text[start] == '\t' || text[start] == '\r')) ++start;
  while (end > start && (text[end - 1] == ' ' || text[end - 1] == '\t' || text[end - 1] == '\r')) --end;
  return text.substr(start, end - start);
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

// "name = value": false for blank lines, comments and lines without '='.
bool SplitSetting(const std::string& line, std::string& name, std::string& value) {
  const std::string trimmed = Trim(line);
  if (trimmed.empty() || trimmed[0] == '#' || trimmed[0] == ';') return false;
  const size_t equals = trimmed.find('=');
  if (equals == std::string::npos) return false;
  name = Trim(trimmed.substr(0, equals));
  value = Trim(trimmed.substr(equals + 1));
  return !name.empty();
}

std::string PadInputText(const PadInput& input) {
  switch (input.kind) {
    case PadInput::None: break;
    case PadInput::Button: return platform::PadButtonName(static_cast<platform::PadButton>(input.code));
    case PadInput::StickNegative: return std::string("-") + platform::PadAxisName(static_cast<platform::PadAxis>(input.code));
    case PadInput::StickPositive: return std::string("+") + platform::PadAxisName(static_cast<platform::PadAxis>(input.code));
  }
  return {};
}

bool ParseVolume(const std::string& text, int& out) {
  if (text.empty() || text.size() > 3) return false;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (value > 100) return false;
  out = value;
  return true;
}

bool ParseYesNo(const std::string& text, bool& out) {
  if (text == "yes" || text == "true" || text == "on" || text == "1") {
    out = true;
    return true;
  }
  if (text == "no" || text == "false" || text == "off" || text == "0") {
    out = false;
    return true;
  }
  return false;
}

// The value text of every known setting, by name, in the order a new file
// lists them.
std::vector<std::pair<std::string, std::string>> KnownValues(const Settings& s) {
  std::vector<std::pair<std::string, std::string>> values;
  for (int seat = 0; seat < kSeatCount; ++seat) {
    for (int layout = 0; layout < kLayoutCount; ++layout) {
      for (int action = 0; action < kActionCount; ++action) {
        values.emplace_back(KeySettingName(seat, layout, action), platform::KeyPositionName(s.keys[seat][layout][action]));
      }
    }
  }
  for (int a = 0; a < kPadActionCount; ++a) values.emplace_back(std::string("pad.") + kPadActionNames[a], PadInputsText(s.pad[a]));
  values.emplace_back("scaling", s.integerScaling ? "integer" : "fit");
  values.emplace_back("fullscreen", s.fullscreen ? "yes" : "no");
  values.emplace_back("renderer", s.renderer);
  values.emplace_back("music_volume", std::to_string(s.musicVolume));
  values.emplace_back("effects_volume", std::to_string(s.effectsVolume));
  values.emplace_back("soundfont", s.soundFont);
  return values;
}

constexpr char kHeader[] =
    "# Stakkor's settings. Lines are \"name = value\"; # starts a comment.\n"
    "# Keys by their place on a US keyboard, named as SDL names them (A, Left,\n"
    "# Right Ctrl, Keypad 4); Shift and Ctrl mean either of the two keys.\n"
    "# Layout 1 is the one F1 (F2) switches from, layout 2 the other.\n"
    "# Pad inputs: a b x y back start dpup dpdown dpleft dpright leftshoulder\n"
    "# rightshoulder, and -leftx +leftx -lefty +lefty for the left stick.\n"
    "# scaling = fit | integer; fullscreen = yes | no; volumes 0 to 100;\n"
    "# renderer = auto | software | accelerated (how the window is drawn);\n"
    "# soundfont = a .sf2 or .sf3 file (empty: the one the system offers).\n";

// Every key setting's name, in the order of the key table.
const std::vector<std::string>& KeySettingNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> all;
    for (int seat = 0; seat < kSeatCount; ++seat) {
      for (int layout = 0; layout < kLayoutCount; ++layout) {
        for (int action = 0; action < kActionCount; ++action) all.push_back(KeySettingName(seat, layout, action));
      }
    }
    return all;
  }();
  return names;
}

// "name = value", or "name =" for an empty value (no trailing space).
std::string SettingLine(const std::string& name, const std::string& value) {
  return value.empty() ? name + " =\n" : name + " = " + value + "\n";
}

std::string SettingsPath() {
  const std::optional<std::string> path = platform::OptionFilePath(kOptionsKey, kFileName);
  return path ? *path : std::string();
}

bool FileListed(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return false;
  std::vector<platform::DirectoryEntry> entries;
  if (!platform::ListDirectory(path.substr(0, slash), entries)) return false;
  for (const platform::DirectoryEntry& entry : entries) {
    if (entry.name == path.substr(slash + 1)) return true;
  }
  return false;
}

}  // namespace

Settings DefaultSettings() {
  Settings s;
  std::memcpy(s.keys, kDefaultControlKeys, sizeof s.keys);
  for (int a = 0; a < kPadActionCount; ++a) {
    for (int k = 0; k < kPadInputsPerAction; ++k) s.pad[a][k] = kDefaultPadMapping[a][k];
  }
  return s;
}

std::string KeySettingName(int seat, int layout, int action) {
  return std::string(kSeatNames[seat]) + ".layout" + std::to_string(layout + 1) + "." + kActionNames[action];
}

const char* PadActionName(int padAction) {
  return padAction >= 0 && padAction < kPadActionCount ? kPadActionNames[padAction] : "";
}

std::string PadInputsText(const PadInput inputs[kPadInputsPerAction]) {
  std::string text;
  for (int k = 0; k < kPadInputsPerAction; ++k) {
    const std::string one = PadInputText(inputs[k]);
    if (one.empty()) continue;
    if (!text.empty()) text += ' ';
    text += one;
  }
  return text;
}

bool ParsePadInputs(const std::string& text, PadInput out[kPadInputsPerAction]) {
  PadInput parsed[kPadInputsPerAction] = {};
  std::istringstream words(text);
  int count = 0;
  for (std::string word; words >> word;) {
    if (count == kPadInputsPerAction) return false;
    PadInput input;
    if (word[0] == '-' || word[0] == '+') {
      const std::optional<platform::PadAxis> axis = platform::PadAxisFromName(word.substr(1));
      if (!axis) return false;
      input = PadInput{word[0] == '-' ? PadInput::StickNegative : PadInput::StickPositive, static_cast<uint8_t>(*axis)};
    } else {
      const std::optional<platform::PadButton> button = platform::PadButtonFromName(word);
      if (!button) return false;
      input = PadInput{PadInput::Button, static_cast<uint8_t>(*button)};
    }
    parsed[count++] = input;
  }
  for (int k = 0; k < kPadInputsPerAction; ++k) out[k] = parsed[k];
  return true;
}

Settings ParseSettings(const std::string& text, std::vector<std::string>* problems) {
  Settings s = DefaultSettings();
  const std::vector<std::string> lines = SplitLines(text);
  auto report = [&](size_t line, const std::string& name, const std::string& value, const std::string& wanted) {
    if (problems) {
      problems->push_back(std::to_string(line + 1) + ": \"" + name + " = " + value + "\" is not " + wanted +
                          "; the default stays");
    }
  };
  for (size_t n = 0; n < lines.size(); ++n) {
    std::string name, value;
    if (!SplitSetting(lines[n], name, value)) continue;
    bool known = false;
    const std::vector<std::string>& keyNames = KeySettingNames();
    for (size_t k = 0; k < keyNames.size() && !known; ++k) {
      if (name != keyNames[k]) continue;
      known = true;
      const std::optional<int> key = platform::KeyPositionFromName(value);
      if (key) {
        const size_t perSeat = kLayoutCount * kActionCount;
        s.keys[k / perSeat][k % perSeat / kActionCount][k % kActionCount] = *key;
      } else {
        report(n, name, value, "a key name");
      }
    }
    for (int a = 0; a < kPadActionCount && !known; ++a) {
      if (name != std::string("pad.") + kPadActionNames[a]) continue;
      known = true;
      if (!ParsePadInputs(value, s.pad[a])) report(n, name, value, "up to four pad inputs");
    }
    if (known) continue;
    if (name == "scaling") {
      if (value == "fit" || value == "integer") {
        s.integerScaling = value == "integer";
      } else {
        report(n, name, value, "fit or integer");
      }
    } else if (name == "fullscreen") {
      if (!ParseYesNo(value, s.fullscreen)) report(n, name, value, "yes or no");
    } else if (name == "renderer") {
      if (value == "auto" || value == "software" || value == "accelerated") {
        s.renderer = value;
      } else {
        report(n, name, value, "auto, software or accelerated");
      }
    } else if (name == "music_volume" || name == "effects_volume") {
      if (!ParseVolume(value, name == "music_volume" ? s.musicVolume : s.effectsVolume)) {
        report(n, name, value, "a volume from 0 to 100");
      }
    } else if (name == "soundfont") {
      // Any path; one that cannot be read is passed over by the search.
      if (value.find('\0') == std::string::npos) s.soundFont = value;
    }
  }
  return s;
}

std::string RenderSettings(const std::string& previous, const Settings& s) {
  const auto known = KnownValues(s);
  std::vector<bool> written(known.size(), false);
  std::string text;
  for (const std::string& line : SplitLines(previous)) {
    std::string name, value;
    bool replaced = false;
    if (SplitSetting(line, name, value)) {
      for (size_t k = 0; k < known.size(); ++k) {
        if (known[k].first != name) continue;
        text += SettingLine(name, known[k].second);
        written[k] = replaced = true;
        break;
      }
    }
    if (!replaced) text += line + "\n";
  }
  if (Trim(previous).empty()) text = kHeader;
  for (size_t k = 0; k < known.size(); ++k) {
    if (!written[k]) text += SettingLine(known[k].first, known[k].second);
  }
  return text;
}

void LoadSettings() {
  storedText.clear();
  storeWritable = true;
  settings = DefaultSettings();
  const std::string path = SettingsPath();
  if (path.empty()) return;
  std::vector<uint8_t> bytes;
  if (!platform::ReadWholeFile(path, bytes, kMaxFileBytes)) {
    // A file that is there but cannot be read (too large, no permission)
    // is the player's: it is left alone and the defaults are used.
    if (FileListed(path)) {
      std::fprintf(stderr, "%s: cannot be read (or is over 1 MiB); the default settings are used\n", path.c_str());
      storeWritable = false;
    }
    return;
  }
  storedText.assign(bytes.begin(), bytes.end());
  std::vector<std::string> problems;
  settings = ParseSettings(storedText, &problems);
  for (const std::string& problem : problems) std::fprintf(stderr, "%s:%s\n", path.c_str(), problem.c_str());
}

void ApplySettings() {
  std::memcpy(controlKeys, settings.keys, sizeof controlKeys);
  for (int a = 0; a < kPadActionCount; ++a) {
    for (int k = 0; k < kPadInputsPerAction; ++k) padMapping[a][k] = settings.pad[a][k];
  }
  RefreshKeyLabels();
  SetMixerVolumes(settings.musicVolume, settings.effectsVolume);
  SetMusicSoundFont(settings.soundFont);
  platform::SetScreenMode(settings.fullscreen, settings.integerScaling);
  platform::SetRendererChoice(settings.renderer == "software"      ? platform::RendererChoice::Software
                              : settings.renderer == "accelerated" ? platform::RendererChoice::Accelerated
                                                                   : platform::RendererChoice::Automatic);
}

void SettingsScreenOpened() {
  RefreshKeyLabels();
  screenOpen = true;
  fullscreenWhenOpened = platform::ScreenFullscreen();
}

bool SaveSettings() {
  // Alt+Enter during the run: the next run opens the same way. A run
  // started with --window and never switched changes nothing.
  if (screenOpen && platform::ScreenFullscreen() != fullscreenWhenOpened) {
    settings.fullscreen = platform::ScreenFullscreen();
    fullscreenWhenOpened = settings.fullscreen;
  }
  if (!storeWritable) return true;
  const std::string text = RenderSettings(storedText, settings);
  if (text == storedText) return true;
  if (!platform::WriteOptionValue(kOptionsKey, kFileName, text)) return false;
  storedText = text;
  return true;
}
