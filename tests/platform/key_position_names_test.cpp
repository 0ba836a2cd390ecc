// The browser build names key positions without SDL; its names must be
// SDL's own, both ways, or a settings file would read differently there.
// Natively KeyPositionName and KeyPositionFromName are SDL's.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "platform/key_positions.h"
#include "platform/web/key_position_names.h"

namespace platform::web {
namespace {

TEST(KeyPositionNames, EveryPositionIsNamedAsSdlNamesIt) {
  for (int position = -1; position <= kKeyPositionAnyCtrl + 1; ++position) {
    EXPECT_EQ(NameOfKeyPosition(position), KeyPositionName(position)) << position;
  }
}

TEST(KeyPositionNames, EveryNameLeadsWhereSdlsDoesInAnyCase) {
  for (int position = 0; position <= kKeyPositionAnyCtrl; ++position) {
    const std::string name = KeyPositionName(position);
    if (name.empty()) continue;
    std::string lower = name, upper = name;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const std::string& spelling : {name, lower, upper}) {
      EXPECT_EQ(KeyPositionOfName(spelling), KeyPositionFromName(spelling)) << spelling;
    }
  }
  // "Return" names two positions; the first one wins in both.
  EXPECT_EQ(KeyPositionOfName("Return"), kKeyPositionReturn);
}

TEST(KeyPositionNames, UnknownNamesAreNoPosition) {
  for (const char* name : {"", " ", "Keypad", "Left Shift ", "A A", "Shiftt", "F25", "Unknown", "\\\\"}) {
    EXPECT_EQ(KeyPositionOfName(name), std::nullopt) << '"' << name << '"';
    EXPECT_EQ(KeyPositionFromName(name), std::nullopt) << '"' << name << '"';
  }
}

// What a key shows, from what the browser says it types.
TEST(KeyLabels, OneCharacterShowsAsItIsLettersInCapitals) {
  EXPECT_EQ(LabelOfKey(KeyPositionOfLetter('A'), "q"), "Q");  // a French keyboard
  EXPECT_EQ(LabelOfKey(KeyPositionOfLetter('Y'), "Z"), "Z");
  EXPECT_EQ(LabelOfKey(kKeyPosition1 + 1, "\xC3\xA9"), "\xC3\xA9");      // é, as typed
  EXPECT_EQ(LabelOfKey(51, "\xC3\xB6"), "\xC3\xB6");                     // ö
  EXPECT_EQ(LabelOfKey(kKeyPositionA, "\xE2\x82\xAC"), "\xE2\x82\xAC");  // €
  EXPECT_EQ(LabelOfKey(45, "-"), "-");
}

TEST(KeyLabels, AnythingElseShowsThePositionsName) {
  EXPECT_EQ(LabelOfKey(kKeyPositionSpace, " "), "Space");
  EXPECT_EQ(LabelOfKey(kKeyPositionLeft, "ArrowLeft"), "Left");
  EXPECT_EQ(LabelOfKey(53, "Dead"), "`");
  EXPECT_EQ(LabelOfKey(kKeyPositionA, ""), "A");
  EXPECT_EQ(LabelOfKey(kKeyPositionA, "ab"), "A");
  // Broken or invisible UTF-8 is no label.
  for (const char* typed : {"\xC3", "\xC3\xA9\xA9", "\x80", "\xFF", "\xC2\xA0", "\xC2\x85", "\x7F", "\t"}) {
    EXPECT_EQ(LabelOfKey(kKeyPositionA, typed), "A");
  }
  EXPECT_EQ(LabelOfKey(kKeyPositionAnyShift, "Shift"), "Shift");
}

}  // namespace
}  // namespace platform::web
