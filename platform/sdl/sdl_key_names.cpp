// Names of key positions: SDL's scancode names for files (the same on every
// keyboard), and what the player's keyboard shows at a position now.
#include <SDL.h>

#include <cctype>

#include "platform/key_positions.h"

namespace platform {
namespace {

static_assert(kKeyPositionA == SDL_SCANCODE_A && kKeyPosition1 == SDL_SCANCODE_1 && kKeyPosition0 == SDL_SCANCODE_0);
static_assert(kKeyPositionReturn == SDL_SCANCODE_RETURN && kKeyPositionEscape == SDL_SCANCODE_ESCAPE);
static_assert(kKeyPositionBackspace == SDL_SCANCODE_BACKSPACE && kKeyPositionSpace == SDL_SCANCODE_SPACE);
static_assert(kKeyPositionF1 == SDL_SCANCODE_F1 && kKeyPositionRight == SDL_SCANCODE_RIGHT);
static_assert(kKeyPositionLeft == SDL_SCANCODE_LEFT && kKeyPositionDown == SDL_SCANCODE_DOWN);
static_assert(kKeyPositionUp == SDL_SCANCODE_UP && kKeyPositionLeftCtrl == SDL_SCANCODE_LCTRL);
static_assert(kKeyPositionLeftShift == SDL_SCANCODE_LSHIFT && kKeyPositionRightCtrl == SDL_SCANCODE_RCTRL);
static_assert(kKeyPositionRightShift == SDL_SCANCODE_RSHIFT && kKeyPositionCount == SDL_NUM_SCANCODES);

bool SameIgnoringCase(const std::string& a, const char* b) {
  size_t k = 0;
  for (; k < a.size() && b[k]; ++k) {
    if (std::tolower(static_cast<unsigned char>(a[k])) != std::tolower(static_cast<unsigned char>(b[k]))) return false;
  }
  return k == a.size() && !b[k];
}

}  // namespace

std::string KeyPositionName(int position) {
  if (position == kKeyPositionAnyShift) return "Shift";
  if (position == kKeyPositionAnyCtrl) return "Ctrl";
  if (position <= SDL_SCANCODE_UNKNOWN || position >= kKeyPositionCount) return {};
  return SDL_GetScancodeName(static_cast<SDL_Scancode>(position));
}

std::optional<int> KeyPositionFromName(const std::string& name) {
  if (SameIgnoringCase(name, "Shift")) return kKeyPositionAnyShift;
  if (SameIgnoringCase(name, "Ctrl")) return kKeyPositionAnyCtrl;
  if (name.empty()) return std::nullopt;
  const SDL_Scancode code = SDL_GetScancodeFromName(name.c_str());
  if (code == SDL_SCANCODE_UNKNOWN) return std::nullopt;
  return static_cast<int>(code);
}

std::string KeyPositionLabel(int position) {
  // The keyboard's own layout is known only while the window system is up.
  if (position >= 0 && position < kKeyPositionCount && SDL_WasInit(SDL_INIT_VIDEO)) {
    const SDL_Keycode key = SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(position));
    const char* label = SDL_GetKeyName(key);
    if (key != SDLK_UNKNOWN && label && *label) return label;
  }
  return KeyPositionName(position);
}

}  // namespace platform
