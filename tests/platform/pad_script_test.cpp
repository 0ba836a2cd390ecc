// The pad lines of a headless script, and what they do to the pads and the
// "any pad" keys; the two views of a script key.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/headless/headless_backend.h"
#include "platform/headless/script.h"
#include "platform/key_positions.h"
#include "platform/keys.h"
#include "platform/pads.h"
#include "platform/platform.h"

namespace platform::headless {
namespace {

TEST(PadScriptTest, ReadsConnectButtonsAndAxes) {
  std::vector<ScriptEvent> events;
  auto error = ParseScript(
      "0 pad 0 connect\n"
      "5 pad 1 connect  # a second pad\n"
      "10 pad 0 a down\n"
      "11 pad 0 rightshoulder up\n"
      "12 pad 1 axis lefty -32768\n"
      "13 pad 1 axis leftx 32767\n"
      "20 pad 1 disconnect\n",
      "p.txt", events);
  ASSERT_FALSE(error) << *error;
  ASSERT_EQ(events.size(), 7u);
  EXPECT_EQ(events[0].verb, Verb::PadConnect);
  EXPECT_EQ(events[1].pad, 1);
  EXPECT_EQ(events[2].verb, Verb::PadButton);
  EXPECT_EQ(events[2].padControl, static_cast<int>(PadButton::A));
  EXPECT_EQ(events[2].padValue, 1);
  EXPECT_EQ(events[3].padControl, static_cast<int>(PadButton::RightShoulder));
  EXPECT_EQ(events[3].padValue, 0);
  EXPECT_EQ(events[4].verb, Verb::PadAxis);
  EXPECT_EQ(events[4].padControl, static_cast<int>(PadAxis::LeftY));
  EXPECT_EQ(events[4].padValue, -32768);
  EXPECT_EQ(events[5].padValue, 32767);
  EXPECT_EQ(events[6].verb, Verb::PadDisconnect);
}

TEST(PadScriptTest, BadPadLinesNameTheFileAndTheLine) {
  const char* const cases[][2] = {
      {"1 pad\n", "p.txt:1: pad needs a pad number from 0 to 7"},
      {"1 pad 8 connect\n", "p.txt:1: pad needs a pad number from 0 to 7"},
      {"1 pad -1 connect\n", "p.txt:1: pad needs a pad number from 0 to 7"},
      {"1 pad x connect\n", "p.txt:1: pad needs a pad number from 0 to 7"},
      {"1 pad 0 connect now\n", "p.txt:1: too many words after \"connect\""},
      {"1 pad 0 guide down\n", "p.txt:1: unknown pad button \"guide\""},
      {"1 pad 0 A down\n", "p.txt:1: unknown pad button \"A\""},
      {"1 pad 0 a pressed\n", "p.txt:1: pad button takes down or up"},
      {"1 pad 0 a\n", "p.txt:1: pad button takes down or up"},
      {"1 pad 0 axis rightx 5\n", "p.txt:1: pad axis takes leftx or lefty"},
      {"1 pad 0 axis leftx 32768\n", "p.txt:1: pad axis needs a value from -32768 to 32767"},
      {"1 pad 0 axis leftx -32769\n", "p.txt:1: pad axis needs a value from -32768 to 32767"},
      {"1 pad 0 axis leftx\n", "p.txt:1: pad axis needs a value from -32768 to 32767"},
      {"1 pad 0 axis leftx 1x\n", "p.txt:1: pad axis needs a value from -32768 to 32767"},
      {"1 pad 0 axis leftx 1 2\n", "p.txt:1: pad axis needs a value from -32768 to 32767"},
  };
  for (const auto& c : cases) {
    std::vector<ScriptEvent> events;
    auto error = ParseScript(c[0], "p.txt", events);
    ASSERT_TRUE(error) << c[0];
    EXPECT_EQ(*error, c[1]);
  }
}

TEST(PadStateTest, OnlyAConnectedPadHoldsAnythingAndDisconnectingLetsGo) {
  StartForTests();
  SetPadButton(0, PadButton::A, true);  // not connected: nothing to press
  EXPECT_FALSE(PadButtonHeld(0, PadButton::A));
  EXPECT_FALSE(IsKeyHeld(VK_GAMEPAD_A));

  SetPadConnected(1, true);
  SetPadButton(1, PadButton::A, true);
  SetPadAxis(1, PadAxis::LeftY, -20000);
  EXPECT_TRUE(PadConnected(1));
  EXPECT_TRUE(PadButtonHeld(1, PadButton::A));
  EXPECT_TRUE(IsKeyHeld(VK_GAMEPAD_A));            // any pad
  EXPECT_TRUE(IsKeyHeld(VK_GAMEPAD_DPAD_UP));      // the stick counts as the D-pad
  EXPECT_FALSE(IsKeyHeld(VK_GAMEPAD_DPAD_DOWN));
  SetPadAxis(1, PadAxis::LeftY, -kPadStickThreshold);  // not beyond the threshold
  EXPECT_FALSE(IsKeyHeld(VK_GAMEPAD_DPAD_UP));

  SetPadConnected(1, false);
  EXPECT_FALSE(PadButtonHeld(1, PadButton::A));
  SetPadConnected(1, true);  // back again, with nothing held
  EXPECT_FALSE(PadButtonHeld(1, PadButton::A));
  EXPECT_EQ(PadAxisValue(1, PadAxis::LeftY), 0);
  EXPECT_FALSE(PadConnected(kMaxPads));
  EXPECT_FALSE(PadButtonHeld(-1, PadButton::A));
}

TEST(KeyPositionTest, AScriptKeyIsHeldByWhatItTypesAndWhereItSits) {
  StartForTests();
  SetKeyHeld('W', true);
  SetKeyHeld(VK_SHIFT, true);
  EXPECT_TRUE(IsKeyHeld('W'));
  EXPECT_TRUE(IsKeyPositionHeld(KeyPositionOfLetter('W')));
  EXPECT_TRUE(IsKeyPositionHeld(kKeyPositionLeftShift));
  EXPECT_TRUE(IsKeyPositionHeld(kKeyPositionAnyShift));
  EXPECT_FALSE(IsKeyPositionHeld(kKeyPositionAnyCtrl));
  EXPECT_EQ(FirstHeldKeyPosition(), KeyPositionOfLetter('W'));
  SetKeyHeld('W', false);
  SetKeyHeld(VK_SHIFT, false);
  EXPECT_FALSE(FirstHeldKeyPosition());
  EXPECT_FALSE(IsKeyPositionHeld(-1));
  EXPECT_FALSE(IsKeyPositionHeld(kKeyPositionCount + 7));
  // Every script key has a place, and the three F keys differ.
  for (const char* name : {"LEFT", "RIGHT", "UP", "DOWN", "SPACE", "RETURN", "ESCAPE", "BACKSPACE", "SHIFT", "CTRL",
                           "F1", "F2", "F8", "A", "Z", "0", "9"}) {
    EXPECT_GT(KeyPositionOfVirtualKey(*KeyFromName(name)), 0) << name;
  }
  EXPECT_NE(KeyPositionOfVirtualKey(VK_F2), KeyPositionOfVirtualKey(VK_F8));
}

TEST(KeyPositionTest, NamesGoBothWaysAndAFileNeedNotMatchTheirCase) {
  EXPECT_EQ(KeyPositionName(kKeyPositionLeft), "Left");
  EXPECT_EQ(KeyPositionName(kKeyPositionRightCtrl), "Right Ctrl");
  EXPECT_EQ(KeyPositionName(kKeyPositionAnyShift), "Shift");
  EXPECT_EQ(KeyPositionFromName("left shift"), kKeyPositionLeftShift);
  EXPECT_EQ(KeyPositionFromName("CTRL"), kKeyPositionAnyCtrl);
  EXPECT_EQ(KeyPositionFromName("q"), KeyPositionOfLetter('Q'));
  // A few keys share a name with another ("Return" twice): a name read
  // back gives a key of that name.
  for (int position = 1; position < kKeyPositionCount; ++position) {
    const std::string name = KeyPositionName(position);
    if (name.empty()) continue;
    const std::optional<int> back = KeyPositionFromName(name);
    ASSERT_TRUE(back) << name;
    EXPECT_EQ(KeyPositionName(*back), name);
  }
  EXPECT_FALSE(KeyPositionFromName(""));
  EXPECT_FALSE(KeyPositionFromName("No Such Key"));
  // Without a window the labels are those of a US keyboard.
  StartForTests();
  EXPECT_EQ(KeyPositionLabel(KeyPositionOfLetter('A')), "A");
  EXPECT_EQ(KeyPositionLabel(kKeyPositionAnyCtrl), "Ctrl");
}

// A line at time 0 counts from the very start, like any other.
TEST(ScriptStartTest, LinesAtTimeZeroHoldFromTheFirstPoll) {
  const std::string path = ::testing::TempDir() + "/zero.txt";
  std::ofstream(path) << "0 down A\n0 pad 0 connect\n0 pad 0 start down\n0 focus off\n";
  LaunchOptions options;
  options.backend = Backend::Headless;
  options.scriptPath = path;
  headless::Start(options);
  EXPECT_EQ(timeGetTime(), 0u);
  EXPECT_TRUE(IsKeyHeld('A'));
  EXPECT_TRUE(IsKeyPositionHeld(KeyPositionOfLetter('A')));
  EXPECT_TRUE(PadButtonHeld(0, PadButton::Start));
  ASSERT_TRUE(PeekMessage());
  Message message;
  ASSERT_TRUE(GetMessage(message));
  EXPECT_EQ(message.message, WM_ACTIVATEAPP);
  EXPECT_EQ(message.wParam, 0u);
  StartForTests();
}

}  // namespace
}  // namespace platform::headless
