// Windows virtual-key codes: the codes the game's controls are written in.
// Letters and digits are their capital ASCII codes ('A' = 0x41, '1' = 0x31).
#pragma once

constexpr int VK_BACK = 0x08;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;    // either Shift key
constexpr int VK_CONTROL = 0x11;  // either Ctrl key
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_F1 = 0x70;
constexpr int VK_F2 = 0x71;
constexpr int VK_F8 = 0x77;

// Buttons of any connected gamepad, for the menus and screens around a
// match (platform/pads.h has each pad on its own). The D-pad codes also
// count the left stick pushed that way.
constexpr int VK_GAMEPAD_A = 0xC3;
constexpr int VK_GAMEPAD_B = 0xC4;
constexpr int VK_GAMEPAD_X = 0xC5;
constexpr int VK_GAMEPAD_Y = 0xC6;
constexpr int VK_GAMEPAD_DPAD_UP = 0xCB;
constexpr int VK_GAMEPAD_DPAD_DOWN = 0xCC;
constexpr int VK_GAMEPAD_DPAD_LEFT = 0xCD;
constexpr int VK_GAMEPAD_DPAD_RIGHT = 0xCE;
constexpr int VK_GAMEPAD_MENU = 0xCF;  // Start
constexpr int VK_GAMEPAD_VIEW = 0xD0;  // Back

constexpr int kVirtualKeyCount = 256;
