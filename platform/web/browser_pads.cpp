#include "platform/web/browser_pads.h"

#include <cmath>

#include "platform/backend.h"

namespace platform::web {
namespace {

// The standard mapping's button of each of the game's pad buttons.
constexpr int kStandardButtonOf[kPadButtonCount] = {
    0,   // A
    1,   // B
    2,   // X
    3,   // Y
    8,   // Back
    9,   // Start
    12,  // D-pad up
    13,  // D-pad down
    14,  // D-pad left
    15,  // D-pad right
    4,   // left shoulder
    5,   // right shoulder
};

// -1..1 as SDL's -32768..32767; anything else (NaN included) counts as 0.
int AxisValue(double value) {
  if (!(value >= -1.0 && value <= 1.0)) return value > 1.0 ? 32767 : value < -1.0 ? -32768 : 0;
  return static_cast<int>(std::lround(value * (value < 0 ? 32768.0 : 32767.0)));
}

const BrowserPadSample* FindSample(const BrowserPadSample* samples, int count, long index) {
  for (int k = 0; k < count; ++k) {
    if (samples[k].index == index && samples[k].standard) return &samples[k];
  }
  return nullptr;
}

}  // namespace

bool BrowserPads::Update(const BrowserPadSample* samples, int count) {
  bool changed = false;
  for (int slot = 0; slot < kMaxPads; ++slot) {
    if (slots_[slot].index < 0 || FindSample(samples, count, slots_[slot].index)) continue;
    slots_[slot] = Slot{};
    detail::SetPadConnected(slot, false);
    changed = true;
  }
  for (int k = 0; k < count; ++k) {
    const BrowserPadSample& sample = samples[k];
    if (!sample.standard || sample.index < 0) continue;
    int slot = 0;
    while (slot < kMaxPads && slots_[slot].index != sample.index) ++slot;
    if (slot == kMaxPads) {
      slot = 0;
      while (slot < kMaxPads && slots_[slot].index >= 0) ++slot;
      if (slot == kMaxPads) continue;  // every slot taken: this pad plays no part
      slots_[slot].index = sample.index;
      detail::SetPadConnected(slot, true);
      changed = true;
    }
    Slot& held = slots_[slot];
    for (int b = 0; b < kPadButtonCount; ++b) {
      const bool pressed = sample.pressed[kStandardButtonOf[b]];
      if (pressed == held.buttons[b]) continue;
      held.buttons[b] = pressed;
      detail::SetPadButton(slot, static_cast<PadButton>(b), pressed);
      changed = true;
    }
    const int axes[kPadAxisCount] = {AxisValue(sample.leftX), AxisValue(sample.leftY)};
    for (int a = 0; a < kPadAxisCount; ++a) {
      if (axes[a] == held.axes[a]) continue;
      held.axes[a] = axes[a];
      detail::SetPadAxis(slot, static_cast<PadAxis>(a), axes[a]);
      changed = true;
    }
  }
  return changed;
}

void BrowserPads::Forget() {
  for (Slot& slot : slots_) {
    const long index = slot.index;
    slot = Slot{};
    slot.index = index;
  }
}

bool BrowserPads::AnyConnected() const {
  for (const Slot& slot : slots_) {
    if (slot.index >= 0) return true;
  }
  return false;
}

}  // namespace platform::web
