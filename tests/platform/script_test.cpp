#include <gtest/gtest.h>

#include "platform/headless/script.h"
#include "platform/keys.h"

namespace platform::headless {
namespace {

TEST(ScriptTest, ReadsEveryVerbWithCommentsAndBlankLines) {
  std::vector<ScriptEvent> events;
  auto error = ParseScript(
      "# a run\n"
      "\n"
      "0 down LEFT   # hold\n"
      "10 up LEFT\n"
      "10 down A\n"
      "20 down 7\n"
      "30 shot out.png\n"
      "30 dump state.json\n"
      "40 focus off\n"
      "50 focus on\n"
      "60 close\n"
      "70 answer cancel\n"
      "80 answer ok\n",
      "run.txt", events);
  ASSERT_FALSE(error) << *error;
  ASSERT_EQ(events.size(), 11u);
  EXPECT_EQ(events[0].verb, Verb::KeyDown);
  EXPECT_EQ(events[0].virtualKey, VK_LEFT);
  EXPECT_EQ(events[0].line, 3);
  EXPECT_EQ(events[2].virtualKey, 'A');
  EXPECT_EQ(events[3].virtualKey, '7');
  EXPECT_EQ(events[4].path, "out.png");
  EXPECT_EQ(events[5].verb, Verb::Dump);
  EXPECT_EQ(events[6].verb, Verb::FocusOff);
  EXPECT_EQ(events[8].verb, Verb::Close);
  EXPECT_EQ(events[8].time, 60u);
  EXPECT_EQ(events[9].verb, Verb::AnswerCancel);
  EXPECT_EQ(events[10].verb, Verb::AnswerOk);
}

TEST(ScriptTest, ErrorsNameTheFileAndTheLine) {
  struct Case {
    const char* text;
    const char* error;
  } cases[] = {
      {"0 down LEFT\n5 press A\n", "s.txt:2: unknown verb \"press\""},
      {"10 down A\n5 up A\n", "s.txt:2: time 5 is before the line above (10)"},
      {"x down A\n", "s.txt:1: a line starts with its time in milliseconds, not \"x\""},
      {"-1 down A\n", "s.txt:1: a line starts with its time in milliseconds, not \"-1\""},
      {"1 down a\n", "s.txt:1: unknown key \"a\""},
      {"1 down F3\n", "s.txt:1: unknown key \"F3\""},
      {"1 shot\n", "s.txt:1: shot needs a file name"},
      {"1 focus maybe\n", "s.txt:1: focus takes on or off, not \"maybe\""},
      {"1 close now\n", "s.txt:1: close takes no argument"},
      {"1 answer yes\n", "s.txt:1: answer takes ok or cancel, not \"yes\""},
      {"1 answer\n", "s.txt:1: answer takes ok or cancel, not \"\""},
      {"1 down A B\n", "s.txt:1: too many words after \"down\""},
      {"99999999999 close\n", "s.txt:1: a line starts with its time in milliseconds, not \"99999999999\""},
      {"4294967296 close\n", "s.txt:1: time 4294967296 is too large"},
  };
  for (const Case& c : cases) {
    std::vector<ScriptEvent> events;
    auto error = ParseScript(c.text, "s.txt", events);
    ASSERT_TRUE(error) << c.text;
    EXPECT_EQ(*error, c.error);
  }
}

TEST(ScriptTest, KnowsTheKeysOfTheGame) {
  EXPECT_EQ(KeyFromName("CTRL"), VK_CONTROL);
  EXPECT_EQ(KeyFromName("SHIFT"), VK_SHIFT);
  EXPECT_EQ(KeyFromName("BACKSPACE"), VK_BACK);
  EXPECT_EQ(KeyFromName("F8"), VK_F8);
  EXPECT_EQ(KeyFromName("Z"), 'Z');
  EXPECT_EQ(KeyFromName("0"), '0');
  EXPECT_FALSE(KeyFromName(""));
  EXPECT_FALSE(KeyFromName("AB"));
}

}  // namespace
}  // namespace platform::headless
