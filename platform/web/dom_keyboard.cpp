#include "platform/web/dom_keyboard.h"

#include "platform/backend.h"
#include "platform/keys.h"

namespace platform::web {
namespace {

constexpr unsigned kDomShift = 16, kDomCtrl = 17, kDomNumpad1 = 97, kDomNumpad2 = 98;
constexpr unsigned kLocationRight = 2;

// Keys whose meaning to the browser is worth more than to the game, which
// never reads them: reload, fullscreen, the developer tools.
bool PageKeepsKey(int vk) { return vk >= VK_F1 && vk < VK_F1 + 12 && vk != VK_F1 && vk != VK_F2 && vk != VK_F8; }

}  // namespace

int VirtualKeyFromDom(unsigned keyCode) {
  if ((keyCode >= 'A' && keyCode <= 'Z') || (keyCode >= '0' && keyCode <= '9')) return static_cast<int>(keyCode);
  if (keyCode >= VK_F1 && keyCode < VK_F1 + 12) return static_cast<int>(keyCode);
  switch (keyCode) {
    case VK_BACK:
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_SPACE:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    case kDomShift:
    case kDomCtrl: return static_cast<int>(keyCode);
    // The number pad's 1 and 2 choose players in the menu, as natively.
    case kDomNumpad1: return '1';
    case kDomNumpad2: return '2';
    default: return -1;
  }
}

bool DomKeyboard::KeyDown(const DomKeyEvent& event) { return Handle(event, true); }

bool DomKeyboard::KeyUp(const DomKeyEvent& event) { return Handle(event, false); }

void DomKeyboard::ReleaseAll() {
  detail::ReleaseAllKeys();
  leftShift_ = rightShift_ = leftCtrl_ = rightCtrl_ = false;
}

bool DomKeyboard::Handle(const DomKeyEvent& event, bool down) {
  // Alt+Enter switches the page to fullscreen; it is not the game's key.
  if (event.alt && event.keyCode == VK_RETURN) return false;
  const int vk = VirtualKeyFromDom(event.keyCode);
  if (vk < 0) return false;
  // Browser shortcuts (Ctrl+R, Ctrl+W, ...) keep working; the game still
  // sees the key, as it would under a desktop.
  const bool shortcut = PageKeepsKey(vk) || ((event.ctrl || event.meta || event.alt) &&
                                              ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')));
  if (down && event.repeat) return !shortcut;  // held already; repeats change nothing

  if (vk == VK_SHIFT || vk == VK_CONTROL) {
    const bool right = event.location == kLocationRight;
    bool& side = vk == VK_SHIFT ? (right ? rightShift_ : leftShift_) : (right ? rightCtrl_ : leftCtrl_);
    side = down;
    const bool either = vk == VK_SHIFT ? leftShift_ || rightShift_ : leftCtrl_ || rightCtrl_;
    if (either) {
      if (down) detail::SetKeyHeld(vk, true);
    } else {
      detail::ReleaseKeyOncePolled(vk);
    }
    return true;
  }
  if (down) {
    detail::SetKeyHeld(vk, true);
  } else {
    detail::ReleaseKeyOncePolled(vk);
  }
  return !shortcut;
}

}  // namespace platform::web
