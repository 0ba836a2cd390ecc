// The settings beyond the three old options, kept in "stakkor.conf" beside
// the options file: plain "name = value" lines with # comments. Lines the
// game does not know are kept as they are; a bad value is reported once on
// standard error and replaced by its default (the file is written back
// with the default, so the report does not come again).
#pragma once

#include <string>
#include <vector>

#include "game/controls.h"

struct Settings {
  ControlKeyTable keys;
  PadMappingTable pad;
  bool integerScaling = false;  // "scaling = integer"; else "fit"
  bool fullscreen = true;
  // How the window is drawn: "auto" (the graphics card when there is a real
  // one, else SDL's software framebuffer), "software" or "accelerated".
  std::string renderer = "auto";
  int musicVolume = 100;  // 0..100
  int effectsVolume = 100;
  std::string soundFont;  // empty: found by the usual search
};

Settings DefaultSettings();

// Reads a settings text over the defaults. Each bad value adds a line
// "LINE: what is wrong" to `problems` and leaves its default in place.
Settings ParseSettings(const std::string& text, std::vector<std::string>* problems);
// The text to store: `previous` with each known setting's line holding the
// value of `settings`, settings missing from it added at the end, and every
// other line kept as it was.
std::string RenderSettings(const std::string& previous, const Settings& settings);

// The names used in the file for a seat, a layout and an action, and a
// pad action ("left" .. "drop", "pause", "quit").
std::string KeySettingName(int seat, int layout, int action);
const char* PadActionName(int padAction);
// A pad action's inputs as the file writes them ("dpleft -leftx"), and back.
std::string PadInputsText(const PadInput inputs[kPadInputsPerAction]);
bool ParsePadInputs(const std::string& text, PadInput out[kPadInputsPerAction]);

// ---- the settings of this run ----
extern Settings settings;

// Reads stakkor.conf (defaults when there is none) and reports its bad
// values on standard error, once.
void LoadSettings();
// Puts the settings to work: keys and pad for the matches, volumes and
// SoundFont for the sound, the screen mode for the window.
void ApplySettings();
// Called once the screen is open: the keys' names can now come from the
// keyboard, and a later switch of fullscreen with Alt+Enter is remembered.
void SettingsScreenOpened();
// Writes stakkor.conf when its text would change (a file that was too
// large to read is never written over). False when writing failed.
bool SaveSettings();
