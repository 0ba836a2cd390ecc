// The SDL backend with SDL's own dummy video driver: key, focus and close
// events pushed into SDL's queue reach the game as the Windows program's
// keyboard state and window messages.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <vector>

#include "platform/audio.h"

#include "platform/keys.h"
#include "platform/platform.h"

namespace platform {
namespace {

class SdlBackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("SDL_VIDEODRIVER", "dummy", 1);
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    LaunchOptions options;
    options.window = true;
    Start(options);
    ASSERT_EQ(ActiveBackend(), Backend::Sdl);
    ASSERT_EQ(OpenScreen("Stakkorx", pixels_.data(), kScreenWidth), ScreenError::None) << SDL_GetError();
    TakeMessages();  // the new window's own focus message
  }
  void TearDown() override { CloseScreen(); }

  static void Key(SDL_Keycode key, SDL_Scancode scancode, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    event.key.keysym.scancode = scancode;
    ASSERT_EQ(SDL_PushEvent(&event), 1);
  }
  static void Window(SDL_WindowEventID what) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = static_cast<Uint8>(what);
    ASSERT_EQ(SDL_PushEvent(&event), 1);
  }
  // The backend takes in events from its wait primitive, every few
  // milliseconds: wait until the queue has been read.
  static void LetEventsArrive() {
    for (int i = 0; i < 30; ++i) Wait();
  }
  static std::vector<Message> TakeMessages() {
    LetEventsArrive();
    std::vector<Message> messages;
    Message message;
    while (PeekMessage() && GetMessage(message)) messages.push_back(message);
    return messages;
  }

  std::vector<uint8_t> pixels_ = std::vector<uint8_t>(kScreenWidth * kScreenHeight);
};

TEST_F(SdlBackendTest, EitherCtrlAndEitherShiftCount) {
  Key(SDLK_RCTRL, SDL_SCANCODE_RCTRL, true);
  LetEventsArrive();
  EXPECT_TRUE(IsKeyHeld(VK_CONTROL));
  Key(SDLK_LCTRL, SDL_SCANCODE_LCTRL, true);
  Key(SDLK_RCTRL, SDL_SCANCODE_RCTRL, false);
  LetEventsArrive();
  EXPECT_TRUE(IsKeyHeld(VK_CONTROL));  // the left one is still down
  Key(SDLK_LCTRL, SDL_SCANCODE_LCTRL, false);
  Key(SDLK_RSHIFT, SDL_SCANCODE_RSHIFT, true);
  LetEventsArrive();
  EXPECT_FALSE(IsKeyHeld(VK_CONTROL));
  EXPECT_TRUE(IsKeyHeld(VK_SHIFT));
  Key(SDLK_RSHIFT, SDL_SCANCODE_RSHIFT, false);
  LetEventsArrive();
  EXPECT_FALSE(IsKeyHeld(VK_SHIFT));
}

TEST_F(SdlBackendTest, LosingTheFocusReleasesEveryKeyAndSaysSo) {
  Key(SDLK_LEFT, SDL_SCANCODE_LEFT, true);
  Key(SDLK_RCTRL, SDL_SCANCODE_RCTRL, true);
  Key(SDLK_a, SDL_SCANCODE_A, true);
  LetEventsArrive();
  ASSERT_TRUE(IsKeyHeld(VK_LEFT));
  ASSERT_TRUE(IsKeyHeld(VK_CONTROL));
  ASSERT_TRUE(IsKeyHeld('A'));
  // The releases happen in another window and never reach us.
  Window(SDL_WINDOWEVENT_FOCUS_LOST);
  const std::vector<Message> lost = TakeMessages();
  EXPECT_FALSE(IsKeyHeld(VK_LEFT));
  EXPECT_FALSE(IsKeyHeld(VK_CONTROL));
  EXPECT_FALSE(IsKeyHeld('A'));
  ASSERT_EQ(lost.size(), 1u);
  EXPECT_EQ(lost[0].message, WM_ACTIVATEAPP);
  EXPECT_EQ(lost[0].wParam, 0u);
  // A Ctrl pressed after the focus came back counts on its own.
  Window(SDL_WINDOWEVENT_FOCUS_GAINED);
  const std::vector<Message> gained = TakeMessages();
  ASSERT_EQ(gained.size(), 1u);
  EXPECT_EQ(gained[0].wParam, 1u);
  Key(SDLK_LCTRL, SDL_SCANCODE_LCTRL, true);
  LetEventsArrive();
  EXPECT_TRUE(IsKeyHeld(VK_CONTROL));
  Key(SDLK_LCTRL, SDL_SCANCODE_LCTRL, false);
  LetEventsArrive();
  EXPECT_FALSE(IsKeyHeld(VK_CONTROL));  // the right one was forgotten with the focus
}

TEST_F(SdlBackendTest, ClosingTheWindowIsTheDestroyMessage) {
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  ASSERT_EQ(SDL_PushEvent(&quit), 1);
  const std::vector<Message> messages = TakeMessages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].message, WM_DESTROY);
}

// The sound device rests when nothing has played for about half a second,
// and plays again at once when something starts.
std::atomic<int> callbacks{0};
std::atomic<bool> playing{false};

void CountingMix(float* frames, int frameCount) {
  std::fill(frames, frames + 2 * frameCount, 0.0f);
  callbacks.fetch_add(1);
  audio::ReportBlockActivity(playing.load());
}

TEST_F(SdlBackendTest, TheSoundDeviceRestsInTheQuietAndWakesAtOnce) {
  ASSERT_TRUE(audio::Open(CountingMix)) << SDL_GetError();
  auto runFor = [](int milliseconds) {
    for (const Uint32 end = SDL_GetTicks() + milliseconds; SDL_GetTicks() < end;) Wait();
  };
  playing = true;
  runFor(800);
  const int whilePlaying = callbacks.load();
  EXPECT_GT(whilePlaying, 20);  // about 94 blocks a second
  playing = false;
  runFor(1200);  // quiet long enough to rest
  const int rested = callbacks.load();
  runFor(500);
  EXPECT_LE(callbacks.load() - rested, 1) << "the callback still runs while resting";
  audio::Wake();
  runFor(300);
  EXPECT_GT(callbacks.load() - rested, 5) << "it did not play again";
  audio::Close();
}

}  // namespace
}  // namespace platform
