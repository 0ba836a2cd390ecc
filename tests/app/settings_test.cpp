// stakkor.conf: read over the defaults, bad values reported and left at
// their defaults, written back with every other line kept.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "app/settings.h"
#include "platform/key_positions.h"

namespace {

using platform::KeyPositionOfLetter;

bool SameKeys(const Settings& a, const ControlKeyTable& keys) {
  return std::memcmp(a.keys, keys, sizeof a.keys) == 0;
}

TEST(SettingsTest, AnEmptyTextGivesTheGameAsItAlwaysWas) {
  std::vector<std::string> problems;
  const Settings s = ParseSettings("", &problems);
  EXPECT_TRUE(problems.empty());
  EXPECT_TRUE(SameKeys(s, kDefaultControlKeys));
  EXPECT_EQ(s.keys[kSeatPlayerOne][0][kActionDrop], platform::kKeyPositionAnyShift);
  EXPECT_EQ(s.keys[kSeatOnePlayer][1][kActionTurn], platform::kKeyPositionUp);
  EXPECT_FALSE(s.integerScaling);
  EXPECT_TRUE(s.fullscreen);
  EXPECT_EQ(s.musicVolume, 100);
  EXPECT_EQ(s.effectsVolume, 100);
  EXPECT_EQ(s.soundFont, "");
  EXPECT_EQ(s.renderer, "auto");
  EXPECT_EQ(PadInputsText(s.pad[kActionDrop]), "b dpdown +lefty");
}

TEST(SettingsTest, ReadsEverySettingWithCommentsSpacesAndOddCase) {
  const Settings s = ParseSettings(
      "# mine\n"
      "  player1_of_two.layout2.turn =   q  \r\n"
      "one_player.layout1.drop=Right Ctrl\n"
      "pad.turn = x +lefty\n"
      "pad.quit =\n"
      "scaling = integer\n"
      "fullscreen = no\n"
      "music_volume = 35\n"
      "effects_volume = 0\n"
      "soundfont = /somewhere/My Font.sf2\n"
      "renderer = software\n",
      nullptr);
  EXPECT_EQ(s.keys[kSeatPlayerOne][1][kActionTurn], KeyPositionOfLetter('Q'));
  EXPECT_EQ(s.keys[kSeatOnePlayer][0][kActionDrop], platform::kKeyPositionRightCtrl);
  EXPECT_EQ(PadInputsText(s.pad[kActionTurn]), "x +lefty");
  EXPECT_EQ(PadInputsText(s.pad[kPadActionQuit]), "");
  EXPECT_TRUE(s.integerScaling);
  EXPECT_FALSE(s.fullscreen);
  EXPECT_EQ(s.musicVolume, 35);
  EXPECT_EQ(s.effectsVolume, 0);
  EXPECT_EQ(s.soundFont, "/somewhere/My Font.sf2");
  EXPECT_EQ(s.renderer, "software");
}

TEST(SettingsTest, BadValuesAreReportedWithTheirLineAndKeepTheDefault) {
  std::vector<std::string> problems;
  const Settings s = ParseSettings(
      "one_player.layout1.left = Nowhere\n"
      "music_volume = 101\n"
      "effects_volume = -5\n"
      "scaling = huge\n"
      "fullscreen = maybe\n"
      "pad.left = a b x y start\n"
      "pad.right = rightx\n"
      "some_future_setting = 7\n"
      "just words\n"
      "renderer = vulkan\n",
      &problems);
  ASSERT_EQ(problems.size(), 8u);
  EXPECT_EQ(problems[0], "1: \"one_player.layout1.left = Nowhere\" is not a key name; the default stays");
  EXPECT_EQ(problems[1], "2: \"music_volume = 101\" is not a volume from 0 to 100; the default stays");
  EXPECT_EQ(problems[6].substr(0, 2), "7:");
  EXPECT_TRUE(SameKeys(s, kDefaultControlKeys));
  EXPECT_EQ(s.musicVolume, 100);
  EXPECT_EQ(s.effectsVolume, 100);
  EXPECT_FALSE(s.integerScaling);
  EXPECT_TRUE(s.fullscreen);
  EXPECT_EQ(PadInputsText(s.pad[kActionLeft]), "dpleft -leftx");
  EXPECT_EQ(problems[7], "10: \"renderer = vulkan\" is not auto, software or accelerated; the default stays");
  EXPECT_EQ(s.renderer, "auto");
}

TEST(SettingsTest, WritingBackKeepsOtherLinesReplacesValuesAndAddsWhatIsMissing) {
  const std::string before =
      "# my comment\n"
      "music_volume = loud\n"
      "unknown = kept\n"
      "\x01\xff garbage\n"
      "music_volume = 20\n";
  Settings s = ParseSettings(before, nullptr);
  EXPECT_EQ(s.musicVolume, 20);  // the later line wins
  s.effectsVolume = 70;
  const std::string after = RenderSettings(before, s);
  EXPECT_EQ(after.find("# my comment\nmusic_volume = 20\nunknown = kept\n\x01\xff garbage\nmusic_volume = 20\n"), 0u)
      << after;
  EXPECT_NE(after.find("\neffects_volume = 70\n"), std::string::npos);
  EXPECT_NE(after.find("\nplayer1_of_two.layout1.drop = Shift\n"), std::string::npos);
  // What is written reads back as the same settings, and writes the same.
  const Settings again = ParseSettings(after, nullptr);
  EXPECT_EQ(RenderSettings(after, again), after);
  EXPECT_EQ(again.effectsVolume, 70);
}

TEST(SettingsTest, ANewFileExplainsItselfAndHoldsEverySetting) {
  const std::string text = RenderSettings("", DefaultSettings());
  EXPECT_EQ(text.rfind("# Stakkor's settings.", 0), 0u);
  EXPECT_NE(text.find("\nsoundfont =\n"), std::string::npos);
  int settingsLines = 0;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line[0] != '#' && line.find(" =") != std::string::npos) ++settingsLines;
  }
  EXPECT_EQ(settingsLines, kSeatCount * kLayoutCount * kActionCount + kPadActionCount + 6);
  std::vector<std::string> problems;
  ParseSettings(text, &problems);
  EXPECT_TRUE(problems.empty());
}

TEST(SettingsTest, PadInputsReadTheirNamesAndRefuseOthers) {
  PadInput inputs[kPadInputsPerAction];
  EXPECT_TRUE(ParsePadInputs("  dpup   -lefty ", inputs));
  EXPECT_EQ(inputs[0], (PadInput{PadInput::Button, static_cast<uint8_t>(platform::PadButton::DpUp)}));
  EXPECT_EQ(inputs[1], (PadInput{PadInput::StickNegative, static_cast<uint8_t>(platform::PadAxis::LeftY)}));
  EXPECT_EQ(inputs[2].kind, PadInput::None);
  for (const char* bad : {"guide", "-", "+a", "leftx", "a b c d e"}) {
    PadInput untouched[kPadInputsPerAction] = {{PadInput::Button, 0}};
    EXPECT_FALSE(ParsePadInputs(bad, untouched)) << bad;
    EXPECT_EQ(untouched[0].kind, PadInput::Button) << bad;
  }
}

}  // namespace
