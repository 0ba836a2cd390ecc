#include <gtest/gtest.h>

#include <fstream>

#include "platform/headless/headless_backend.h"
#include "platform/platform.h"

namespace platform {
namespace {

TEST(LaunchOptionsTest, TakesThePlatformFlags) {
  const char* argv[] = {"stakkor", "--headless", "--script", "run.txt", "--max-ms", "5000", "--audio-log", "a.log"};
  LaunchOptions options;
  EXPECT_FALSE(ParseLaunchOptions(8, const_cast<char**>(argv), options));
  EXPECT_EQ(options.backend, Backend::Headless);
  EXPECT_EQ(options.scriptPath, "run.txt");
  EXPECT_EQ(options.maxMs, 5000u);
  EXPECT_EQ(options.audioLogPath, "a.log");

  const char* window[] = {"stakkor", "--window"};
  LaunchOptions windowed;
  EXPECT_FALSE(ParseLaunchOptions(2, const_cast<char**>(window), windowed));
  EXPECT_TRUE(windowed.window);
  EXPECT_EQ(windowed.backend, Backend::Sdl);

  const char* bad[][3] = {{"stakkor", "--headless", ""},
                          {"stakkor", "--max-ms", "12x"},
                          {"stakkor", "--fast", ""},
                          {"stakkor", "--script", "x"}};
  for (auto& args : bad) {
    LaunchOptions o;
    int argc = args[2][0] ? 3 : 2;
    EXPECT_TRUE(ParseLaunchOptions(argc, const_cast<char**>(args), o)) << args[1];
  }
}

TEST(VirtualClockTest, MovesOneMillisecondPerWaitAndNothingElse) {
  headless::StartForTests();
  EXPECT_EQ(timeGetTime(), 0u);
  EXPECT_FALSE(IsKeyHeld(VK_SPACE));
  EXPECT_FALSE(PeekMessage());
  EXPECT_EQ(timeGetTime(), 0u);
  for (int i = 0; i < 26; ++i) Wait();
  EXPECT_EQ(timeGetTime(), 26u);
  headless::SetClock(0xFFFFFFFFu);
  Wait();
  EXPECT_EQ(timeGetTime(), 0u);  // wraps like the old counter
}

TEST(MessageQueueTest, QuitEndsGetMessageAndFocusReachesTheWindowProcedure) {
  headless::StartForTests();
  static std::vector<Message> seen;
  seen.clear();
  SetWindowProcedure([](const Message& m) { seen.push_back(m); });
  headless::PostFocus(false);
  headless::PostClose();
  PostQuitMessage(0);
  Message m;
  ASSERT_TRUE(GetMessage(m));
  DispatchMessage(m);
  ASSERT_TRUE(GetMessage(m));
  DispatchMessage(m);
  EXPECT_FALSE(GetMessage(m));
  EXPECT_EQ(m.message, WM_QUIT);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].message, WM_ACTIVATEAPP);
  EXPECT_EQ(seen[0].wParam, 0u);
  EXPECT_EQ(seen[1].message, WM_DESTROY);
  SetWindowProcedure(nullptr);
}

TEST(HeadlessBoxesTest, AnswerCancelAnswersOnlyBoxesThatOfferIt) {
  const std::string script = ::testing::TempDir() + "answer.txt";
  std::ofstream(script) << "0 answer cancel\n5 answer ok\n";
  LaunchOptions options;
  options.backend = Backend::Headless;
  options.scriptPath = script;
  headless::Start(options);
  EXPECT_EQ(ShowMessageBox("Unable to play music!", "MIDI", BoxButtons::OkCancel), BoxAnswer::Cancel);
  EXPECT_EQ(ShowMessageBox("MUSIC.MDS", "Error loading file", BoxButtons::Ok), BoxAnswer::Ok);
  for (int i = 0; i < 5; ++i) Wait();
  EXPECT_EQ(ShowMessageBox("Unable to play music!", "MIDI", BoxButtons::OkCancel), BoxAnswer::Ok);
  headless::StartForTests();
}

}  // namespace
}  // namespace platform
