// The SDL backend's keyboard and pads, on SDL's dummy video driver with
// virtual joysticks standing in for pads.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/headless/headless_backend.h"
#include "platform/key_positions.h"
#include "platform/keys.h"
#include "platform/pads.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_backend.h"

namespace platform {
namespace {

class SdlInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    LaunchOptions options;
    options.window = true;
    sdl::Start(options);
  }
  void TearDown() override {
    for (SDL_Joystick* joystick : opened_) SDL_JoystickClose(joystick);
    headless::StartForTests();  // ends the SDL backend
  }

  // Lets the backend take in what happened (it asks SDL every few ms).
  static void Settle() {
    for (int i = 0; i < 20; ++i) Wait();
  }

  // A virtual pad laid out as a game controller; its device index.
  SDL_Joystick* AttachPad() {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "test pad";
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    EXPECT_GE(index, 0) << SDL_GetError();
    SDL_Joystick* joystick = SDL_JoystickOpen(index);
    EXPECT_NE(joystick, nullptr) << SDL_GetError();
    opened_.push_back(joystick);
    return joystick;
  }

  void Detach(SDL_Joystick* joystick) {
    const SDL_JoystickID id = SDL_JoystickInstanceID(joystick);
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
      if (SDL_JoystickGetDeviceInstanceID(i) == id) {
        SDL_JoystickClose(joystick);
        std::erase(opened_, joystick);
        SDL_JoystickDetachVirtual(i);
        return;
      }
    }
    ADD_FAILURE() << "no such pad";
  }

  static void Key(SDL_Scancode scancode, SDL_Keycode sym, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.scancode = scancode;
    event.key.keysym.sym = sym;
    SDL_PushEvent(&event);
  }

  std::vector<SDL_Joystick*> opened_;
};

TEST_F(SdlInputTest, PadsTakeTheLowestFreeSlotAsTheyComeAndGo) {
  SDL_Joystick* first = AttachPad();
  SDL_Joystick* second = AttachPad();
  Settle();
  EXPECT_TRUE(PadConnected(0));
  EXPECT_TRUE(PadConnected(1));
  EXPECT_FALSE(PadConnected(2));

  SDL_JoystickSetVirtualButton(second, SDL_CONTROLLER_BUTTON_A, 1);
  SDL_JoystickSetVirtualButton(first, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 1);
  SDL_JoystickSetVirtualAxis(second, SDL_CONTROLLER_AXIS_LEFTY, 30000);
  Settle();
  EXPECT_TRUE(PadButtonHeld(1, PadButton::A));
  EXPECT_FALSE(PadButtonHeld(0, PadButton::A));
  EXPECT_TRUE(PadButtonHeld(0, PadButton::DpLeft));
  EXPECT_EQ(PadAxisValue(1, PadAxis::LeftY), 30000);
  EXPECT_TRUE(IsKeyHeld(VK_GAMEPAD_A));
  EXPECT_TRUE(IsKeyHeld(VK_GAMEPAD_DPAD_DOWN));  // the stick, pushed down

  SDL_JoystickSetVirtualButton(second, SDL_CONTROLLER_BUTTON_A, 0);
  Settle();
  EXPECT_FALSE(PadButtonHeld(1, PadButton::A));

  // The first pad goes: its slot is free, the second keeps its own, and a
  // new pad takes the free one.
  Detach(first);
  Settle();
  EXPECT_FALSE(PadConnected(0));
  EXPECT_FALSE(PadButtonHeld(0, PadButton::DpLeft));
  EXPECT_TRUE(PadConnected(1));
  AttachPad();
  Settle();
  EXPECT_TRUE(PadConnected(0));
}

TEST_F(SdlInputTest, LetterKeysAreHeldByTheirPlaceAndByWhatTheyType) {
  // The key in the place of a US keyboard's Q types "a" on a French one.
  Key(SDL_SCANCODE_Q, SDLK_a, true);
  Key(SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, true);
  Settle();
  EXPECT_TRUE(IsKeyHeld('A'));  // typing a name follows the key's label
  EXPECT_FALSE(IsKeyHeld('Q'));
  EXPECT_TRUE(IsKeyPositionHeld(KeyPositionOfLetter('Q')));  // the game's controls follow its place
  EXPECT_FALSE(IsKeyPositionHeld(KeyPositionOfLetter('A')));
  EXPECT_TRUE(IsKeyHeld(VK_SHIFT));
  EXPECT_TRUE(IsKeyPositionHeld(kKeyPositionAnyShift));
  Key(SDL_SCANCODE_Q, SDLK_a, false);
  Key(SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, false);
  Settle();
  EXPECT_FALSE(IsKeyHeld('A'));
  EXPECT_FALSE(IsKeyPositionHeld(KeyPositionOfLetter('Q')));
  EXPECT_FALSE(IsKeyHeld(VK_SHIFT));
}

TEST_F(SdlInputTest, AMappingFileIsReadWhenItIsThereAndWithinItsSize) {
  const std::string dir = ::testing::TempDir();
  const std::string good = dir + "/gamecontrollerdb.txt";
  std::ofstream(good) << "# a comment\n"
                         "03000000de280000ff11000001000000,Test Pad,a:b0,b:b1,x:b2,y:b3,back:b4,start:b5,"
                         "leftx:a0,lefty:a1,dpup:h0.1,dpdown:h0.4,dpleft:h0.8,dpright:h0.2,platform:Linux,\n"
                         "not a mapping at all\n";
  EXPECT_TRUE(AddPadMappingsFromFile(good));
  EXPECT_FALSE(AddPadMappingsFromFile(dir + "/no-such-file.txt"));
  const std::string huge = dir + "/huge.txt";
  std::ofstream(huge) << std::string((4u << 20) + 1, '#');
  EXPECT_FALSE(AddPadMappingsFromFile(huge));
}

TEST_F(SdlInputTest, TheScreenOpensInTheModeAskedAndSwitchesLater) {
  SetScreenMode(false, true);
  static uint8_t pixels[kScreenWidth * kScreenHeight];
  ASSERT_EQ(OpenScreen("test", pixels, kScreenWidth), ScreenError::None);
  EXPECT_FALSE(ScreenFullscreen());
  SetScreenMode(true, false);
  Settle();
  EXPECT_TRUE(ScreenFullscreen());
  CloseScreen();
}

}  // namespace
}  // namespace platform
