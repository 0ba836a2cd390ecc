#include "app/options_screen.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/settings.h"
#include "app/shared_assets.h"
#include "app/shell.h"
#include "app/win_main.h"
#include "game/controls.h"
#include "game/play_assets.h"
#include "gfx/blit.h"
#include "gfx/display.h"
#include "gfx/font.h"
#include "gfx/palette.h"
#include "media/music.h"
#include "media/sound_effects.h"
#include "platform/key_positions.h"
#include "platform/keys.h"
#include "platform/midi_synth.h"

namespace {

// The rows, top to bottom.
enum Row {
  kPageRow,
  kFirstKeyRow,
  kFirstPadRow = kFirstKeyRow + kActionCount,
  kScalingRow = kFirstPadRow + kPadActionCount,
  kFullscreenRow,
  kMusicRow,
  kEffectsRow,
  kSoundFontRow,
  kDefaultsRow,
  kBackRow,
  kRowCount
};

constexpr int32_t kTitleY = 8, kFirstRowY = 36, kRowHeight = 23, kLabelX = 16, kValueX = 208;
constexpr int kVolumeStep = 10;
constexpr int kPageCount = kSeatCount * kLayoutCount;

const char* const kPageNames[kPageCount] = {
    "ONE PLAYER, LAYOUT 1",    "ONE PLAYER, LAYOUT 2",    "PLAYER 1 OF 2, LAYOUT 1",
    "PLAYER 1 OF 2, LAYOUT 2", "PLAYER 2 OF 2, LAYOUT 1", "PLAYER 2 OF 2, LAYOUT 2",
};
const char* const kActionLabels[kActionCount] = {"  LEFT", "  RIGHT", "  ROTATE", "  DROP"};
const char* const kPadLabels[kPadActionCount] = {"PAD LEFT",  "PAD RIGHT", "PAD ROTATE",
                                                 "PAD DROP",  "PAD PAUSE", "PAD QUIT"};

struct Screen {
  int row = 0;
  int page = 0;
  int capturing = -1;  // the row waiting for a new key or pad input
  std::vector<std::string> soundFonts;  // "" (the usual search) first
};

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

int Seat(const Screen& s) { return s.page / kLayoutCount; }
int Layout(const Screen& s) { return s.page % kLayoutCount; }

std::string ValueText(const Screen& s, int row) {
  if (row == s.capturing) return row < kFirstPadRow ? "PRESS A KEY" : "PRESS ON THE PAD";
  if (row == kPageRow) return kPageNames[s.page];
  if (row < kFirstPadRow) return KeyLabelForScreen(settings.keys[Seat(s)][Layout(s)][row - kFirstKeyRow]);
  if (row < kScalingRow) {
    const std::string inputs = PadInputsText(settings.pad[row - kFirstPadRow]);
    return inputs.empty() ? "NONE" : Upper(inputs);
  }
  switch (row) {
    case kScalingRow: return settings.integerScaling ? "WHOLE STEPS" : "FIT";
    case kFullscreenRow: return settings.fullscreen ? "YES" : "NO";
    case kMusicRow: return std::to_string(settings.musicVolume);
    case kEffectsRow: return std::to_string(settings.effectsVolume);
    case kSoundFontRow: return settings.soundFont.empty() ? "AUTOMATIC" : Upper(BaseName(settings.soundFont));
    default: return "";
  }
}

const char* LabelText(int row) {
  if (row == kPageRow) return "KEYS OF";
  if (row < kFirstPadRow) return kActionLabels[row - kFirstKeyRow];
  if (row < kScalingRow) return kPadLabels[row - kFirstPadRow];
  switch (row) {
    case kScalingRow: return "SCALING";
    case kFullscreenRow: return "FULLSCREEN";
    case kMusicRow: return "MUSIC";
    case kEffectsRow: return "EFFECTS";
    case kSoundFontRow: return "SOUNDFONT";
    case kDefaultsRow: return "DEFAULT CONTROLS";
    default: return "BACK";
  }
}

int32_t RowY(int row) { return kFirstRowY + kRowHeight * row; }

void Print(int32_t x, int32_t y, const std::string& text) {
  if (!font2) return;
  const int32_t room = font2->advance > 0 ? (screenWidth - x) / font2->advance : 0;
  PrintText(font2, backBuffer, x, y, text.substr(0, room > 0 ? static_cast<size_t>(room) : 0).c_str());
}

void Draw(const Screen& s) {
  CopyScreen(backBuffer, backgroundImage);
  const int32_t y = RowY(s.row), h = font2 ? font2->drawHeight : 14;
  // The selected row's bar, from colour 80 at its rim to 95 inside, as the
  // hiscore table's entry bar.
  for (int k = 0; k < 8; ++k) {
    FillBox(backBuffer, k, y - (kRowHeight - h) / 2 + k / 2, screenWidth - k, y + h + (kRowHeight - h) / 2 - k / 2,
            static_cast<uint8_t>(80 + 2 * k));
  }
  const int32_t advance = font2 ? font2->advance : 16;
  Print(screenWidth / 2 - 7 * advance / 2, kTitleY, "OPTIONS");
  for (int row = 0; row < kRowCount; ++row) {
    Print(kLabelX, RowY(row), LabelText(row));
    Print(kValueX, RowY(row), ValueText(s, row));
  }
  PresentFrame();
}

// Pump steps until `done` says so or the program is to end.
template <typename Done>
void PumpUntil(Done done) {
  while (!done() && !quitRequested) PumpStep([] {});
}

bool AnyPadInputHeld(PadInput* which) {
  for (int pad = 0; pad < platform::kMaxPads; ++pad) {
    for (int b = 0; b < platform::kPadButtonCount; ++b) {
      const PadInput input{PadInput::Button, static_cast<uint8_t>(b)};
      if (PadInputHeld(pad, input)) {
        if (which) *which = input;
        return true;
      }
    }
    for (int a = 0; a < platform::kPadAxisCount; ++a) {
      for (PadInput::Kind kind : {PadInput::StickNegative, PadInput::StickPositive}) {
        const PadInput input{kind, static_cast<uint8_t>(a)};
        if (PadInputHeld(pad, input)) {
          if (which) *which = input;
          return true;
        }
      }
    }
  }
  return false;
}

// "Press the new key": the first key pressed once all are up; Escape (or a
// pad's B or Back, for a player with a pad alone) keeps the old one.
void CaptureKey(Screen& s) {
  PumpUntil([] { return !platform::FirstHeldKeyPosition() && !AnyPadInputHeld(nullptr); });
  std::optional<int> pressed;
  bool cancelled = false;
  PumpUntil([&] {
    cancelled = KeyDown(VK_GAMEPAD_B) || KeyDown(VK_GAMEPAD_VIEW);
    return cancelled || (pressed = platform::FirstHeldKeyPosition()).has_value();
  });
  if (!cancelled && pressed && *pressed != platform::kKeyPositionEscape) {
    settings.keys[Seat(s)][Layout(s)][s.row - kFirstKeyRow] = *pressed;
  }
  PumpUntil([] { return !platform::FirstHeldKeyPosition() && !AnyPadInputHeld(nullptr); });
}

// The same for a pad action: the first pad input once all are let go,
// taking the place of all it had; Escape on the keyboard keeps them.
void CapturePadInput(Screen& s) {
  PumpUntil([] { return !AnyPadInputHeld(nullptr) && !platform::FirstHeldKeyPosition(); });
  PadInput pressed;
  bool escape = false;
  PumpUntil([&] { return AnyPadInputHeld(&pressed) || (escape = KeyDown(VK_ESCAPE) != 0); });
  if (!escape && !quitRequested) {
    PadInput* inputs = settings.pad[s.row - kFirstPadRow];
    for (int k = 0; k < kPadInputsPerAction; ++k) inputs[k] = k == 0 ? pressed : PadInput{};
  }
  PumpUntil([] { return !AnyPadInputHeld(nullptr) && !platform::FirstHeldKeyPosition(); });
}

int StepVolume(int volume, int direction) {
  const int stepped = volume + direction * kVolumeStep;
  return stepped < 0 ? 0 : stepped > 100 ? 100 : stepped;
}

// Left (-1) or right (+1) on a row.
void Change(Screen& s, int direction) {
  switch (s.row) {
    case kPageRow: s.page = (s.page + kPageCount + direction) % kPageCount; break;
    case kScalingRow: settings.integerScaling = !settings.integerScaling; break;
    case kFullscreenRow: settings.fullscreen = !settings.fullscreen; break;
    case kMusicRow: settings.musicVolume = StepVolume(settings.musicVolume, direction); break;
    case kEffectsRow:
      settings.effectsVolume = StepVolume(settings.effectsVolume, direction);
      ApplySettings();
      PlaySoundWurf();  // to hear the new level
      break;
    case kSoundFontRow: {
      size_t at = 0;
      while (at < s.soundFonts.size() && s.soundFonts[at] != settings.soundFont) ++at;
      const size_t count = s.soundFonts.size();
      at = at == count ? 0 : (at + (direction > 0 ? 1 : count - 1)) % count;
      settings.soundFont = s.soundFonts[at];
      break;
    }
    default: break;
  }
}

// Return, Space or a pad's A on a row. False when the row leaves the screen.
bool Activate(Screen& s) {
  if (s.row >= kFirstKeyRow && s.row < kScalingRow) {
    s.capturing = s.row;
    Draw(s);
    if (s.row < kFirstPadRow) {
      CaptureKey(s);
    } else {
      CapturePadInput(s);
    }
    s.capturing = -1;
    return true;
  }
  if (s.row == kDefaultsRow) {
    const Settings defaults = DefaultSettings();
    std::memcpy(settings.keys, defaults.keys, sizeof settings.keys);
    for (int a = 0; a < kPadActionCount; ++a) {
      for (int k = 0; k < kPadInputsPerAction; ++k) settings.pad[a][k] = defaults.pad[a][k];
    }
    return true;
  }
  if (s.row == kBackRow) return false;
  Change(s, 1);
  return true;
}

}  // namespace

void RunOptionsScreen() {
  Screen s;
  s.soundFonts.push_back("");
  for (const std::string& font : platform::ListSoundFonts()) s.soundFonts.push_back(font);
  if (!settings.soundFont.empty()) {
    bool listed = false;
    for (const std::string& font : s.soundFonts) listed = listed || font == settings.soundFont;
    if (!listed) s.soundFonts.push_back(settings.soundFont);
  }
  const std::string soundFontBefore = settings.soundFont;

  SetPalette(gamePalette);
  Draw(s);
  auto leaveHeld = [] { return KeyDown(VK_ESCAPE) || KeyDown(VK_GAMEPAD_B) || KeyDown(VK_GAMEPAD_VIEW); };
  const std::initializer_list<int> moveKeys = {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_GAMEPAD_DPAD_UP,
                                               VK_GAMEPAD_DPAD_DOWN, VK_GAMEPAD_DPAD_LEFT, VK_GAMEPAD_DPAD_RIGHT};
  WaitKeysUp({'O', VK_GAMEPAD_Y});
  bool leave = false;
  while (!leave && !quitRequested) {
    bool changed = false;
    PumpStep([&] {
      if (leaveHeld()) {
        leave = true;
      } else if (KeyDown(VK_UP) || KeyDown(VK_GAMEPAD_DPAD_UP)) {
        s.row = (s.row + kRowCount - 1) % kRowCount;
        changed = true;
      } else if (KeyDown(VK_DOWN) || KeyDown(VK_GAMEPAD_DPAD_DOWN)) {
        s.row = (s.row + 1) % kRowCount;
        changed = true;
      } else if (KeyDown(VK_LEFT) || KeyDown(VK_GAMEPAD_DPAD_LEFT)) {
        Change(s, -1);
        changed = true;
      } else if (KeyDown(VK_RIGHT) || KeyDown(VK_GAMEPAD_DPAD_RIGHT)) {
        Change(s, 1);
        changed = true;
      } else if (KeyDown(VK_RETURN) || KeyDown(VK_SPACE) || KeyDown(VK_GAMEPAD_A)) {
        leave = !Activate(s);
        changed = true;
      }
    });
    if (!changed) continue;
    ApplySettings();
    Draw(s);
    // Each press acts once.
    WaitKeysUp(moveKeys);
    WaitKeysUp({VK_RETURN, VK_SPACE, VK_GAMEPAD_A});
  }
  WaitKeysUp({VK_ESCAPE, VK_RETURN, VK_SPACE, VK_GAMEPAD_A, VK_GAMEPAD_B, VK_GAMEPAD_VIEW});
  ApplySettings();
  SaveSettings();
  // A new SoundFont is heard from now on: the music starts again with it.
  if (settings.soundFont != soundFontBefore && musicOff == 0 && !quitRequested) {
    StopMusic();
    if (!StartMusic("MUSIC.MDS", 1)) ReportMusicFailure();
  }
}
