// A two-player run through the real program: players chosen in the menu, a
// match that player 1 loses, the result screen, the menu after it, the next
// match, and player 2's layout switched with F2.
#include "tests/e2e/e2e_fixture.h"

namespace e2e {
namespace {

using TwoPlayers = ProgramRun;

// The result lines: font1 cells, centred, at a third and two thirds.
std::string ResultLine(const platform::RgbPicture& shot, int player) {
  return TextAt(shot, 320 - 16 * 12 / 2, 160 * player + 7, 12);
}

TEST_F(TwoPlayers, PlayerOneLosesTheResultScreenCountsItAndF2SwitchesPlayerTwo) {
  constexpr uint32_t kStart = 1200;
  // Player 1's pieces: the first draw, then every draw after player 2's.
  const Straight expected = DropStraight(kStart, false, 1000, 1);
  ASSERT_TRUE(expected.over);
  ASSERT_FALSE(AnyRowFull(expected.well));
  const int locks = expected.locks;

  // Down, Down, Space: two players; Up, Up, Return: a "NORMAL" match.
  std::string script = SkipTitle() + Hold(900, 905, "DOWN") + Hold(950, 955, "DOWN") + Hold(1000, 1005, "SPACE") +
                       Hold(1050, 1055, "UP") + Hold(1100, 1105, "UP") + Hold(kStart, kStart + 5, "RETURN");
  // Player 1 drops with SHIFT every second step until the spawn is blocked.
  for (int step = 1; step <= 2 * locks + 1; step += 2) script += Press(kStart + 26 * step, "SHIFT");
  const uint32_t over = kStart + 26 * (2 * locks + 4) + 1;
  script += DumpAt(over, "over.json") + ShotAt(over, "over.png");
  // After the countdown, the result screen. A tap of Return leaves it for
  // the menu, which waits for a press of its own; Return there starts the
  // next match.
  const uint32_t result = kStart + 26 * (2 * locks + 5 * 38);
  const uint32_t leave = result + 100;
  const uint32_t next = leave + 100;
  script += DumpAt(result, "result.json") + ShotAt(result, "result.png") + Hold(leave, leave + 5, "RETURN") +
            DumpAt(leave + 50, "menu.json") + Hold(next, next + 5, "RETURN");
  script += ShotAt(next + 26 * 2 + 1, "layout0.png") + Press(next + 26 * 3, "F2") + DumpAt(next + 26 * 4, "f2.json") +
            ShotAt(next + 26 * 10, "layout1.png");
  // Escape ends that match: the result screen again. Return there and
  // Return in the menu start a third match, with player 2 on the layout F2
  // chose; Escape ends it. Escape on the result screen leads to the menu
  // too, and only Escape in the menu quits.
  const uint32_t third = next + 600;
  script += Press(next + 26 * 12, "ESCAPE") + ShotAt(next + 400, "again.png") + Hold(next + 500, next + 505, "RETURN") +
            Hold(third, third + 5, "RETURN") + DumpAt(third + 30, "third.json") + Press(third + 26 * 3, "ESCAPE") +
            Hold(third + 300, third + 306, "ESCAPE") + DumpAt(third + 350, "menu-after-escape.json") +
            Hold(third + 400, third + 406, "ESCAPE") + LeaveClosingLogo(third + 500);
  ASSERT_EQ(Run(script), 0) << Errors();

  const Json dump = Dump("over.json");
  EXPECT_EQ(dump["matchSeed"].Int(), static_cast<int>(kStart));
  EXPECT_EQ(dump["playerCount"].Int(), 2);
  EXPECT_EQ(dump["blobStyle"].Int(), 0);
  EXPECT_EQ(static_cast<uint32_t>(dump["seed"].number), expected.seed);
  const Json& p1 = dump["players"][0];
  const Json& p2 = dump["players"][1];
  EXPECT_EQ(p1["well"].text, expected.well.Digits());
  EXPECT_EQ(p1["points"].Int(), locks);
  EXPECT_EQ(p1["losses"].Int(), -1);
  EXPECT_EQ(p1["controlHandler"].text, "LetterKeysShiftDrop");
  EXPECT_EQ(p2["state"].Int(), 100);
  EXPECT_EQ(p2["well"].text, Well{}.Digits());
  EXPECT_EQ(p2["controlHandler"].text, "ArrowKeysDownRotate");
  const platform::RgbPicture shot = Shot("over.png");
  EXPECT_EQ(CompareWellWithShot(p1, shot, 70, true), "");
  EXPECT_EQ(CompareWellWithShot(p2, shot, 370, false), "");

  const Json atResult = Dump("result.json");
  EXPECT_EQ(atResult["players"][0]["losses"].Int(), -1);
  EXPECT_EQ(atResult["players"][1]["losses"].Int(), 0);
  const platform::RgbPicture screen = Shot("result.png");
  EXPECT_EQ(ResultLine(screen, 1), Spaced("PLAYER 1 - 0"));
  EXPECT_EQ(ResultLine(screen, 2), Spaced("PLAYER 2 - 1"));
  for (int k = 0; k < 14; ++k) {  // the bars' rims, over the last picture of the match
    EXPECT_EQ(IndexAt(screen, k, 160 + 14), 80 + k) << k;
    EXPECT_EQ(IndexAt(screen, 16, 320 + k), 80 + k) << k;
  }
  EXPECT_EQ(IndexAt(screen, 320, 400), kBackground);

  // The tap that left the result screen started no match.
  const Json menu = Dump("menu.json");
  EXPECT_EQ(menu["matchSeed"].Int(), static_cast<int>(kStart));
  EXPECT_EQ(menu["quitRequested"].Int(), 0);

  // The next match: two players again, the tally kept. F2 gives player 2
  // the up-rotate layout, stored as 2; the legend shows it from the next
  // frame the game presents.
  const Json f2 = Dump("f2.json");
  EXPECT_EQ(f2["matchSeed"].Int(), static_cast<int>(next));
  EXPECT_EQ(f2["playerCount"].Int(), 2);
  EXPECT_EQ(f2["blobStyle"].Int(), 0);
  EXPECT_EQ(f2["players"][0]["state"].Int(), 100);
  EXPECT_EQ(f2["players"][0]["losses"].Int(), -1);
  EXPECT_EQ(f2["controlLayout"][0].Int(), 0);
  EXPECT_EQ(f2["controlLayout"][1].Int(), 2);
  EXPECT_EQ(f2["players"][1]["controlHandler"].text, "ArrowKeysUpRotate");
  const platform::RgbPicture layout0 = Shot("layout0.png"), layout1 = Shot("layout1.png");
  EXPECT_EQ(TextAt(layout0, 592, 168, 4, 8), "CTRL");
  EXPECT_EQ(TextAt(layout0, 592, 182, 4, 8), "DOWN");
  EXPECT_EQ(TextAt(layout1, 592, 168, 4, 8), "DOWN");
  EXPECT_EQ(TextAt(layout1, 592, 182, 2, 8), "UP");

  const platform::RgbPicture again = Shot("again.png");  // Escape counts no loss
  EXPECT_EQ(ResultLine(again, 1), Spaced("PLAYER 1 - 0"));
  EXPECT_EQ(ResultLine(again, 2), Spaced("PLAYER 2 - 1"));
  const Json thirdMatch = Dump("third.json");
  EXPECT_EQ(thirdMatch["matchSeed"].Int(), static_cast<int>(third));
  EXPECT_EQ(thirdMatch["players"][0]["controlHandler"].text, "LetterKeysShiftDrop");
  EXPECT_EQ(thirdMatch["players"][1]["controlHandler"].text, "ArrowKeysUpRotate");
  const Json afterEscape = Dump("menu-after-escape.json");
  EXPECT_EQ(afterEscape["quitRequested"].Int(), 0);
  EXPECT_EQ(afterEscape["matchSeed"].Int(), static_cast<int>(third));
  EXPECT_EQ(Options(), "0 2 0");
}

TEST_F(TwoPlayers, KeysHeldIntoTheFirstMatchActForPlayerOneOnly) {
  // D (player 1's right) and Left (player 2's left) are held from the menu
  // into the match: player 1's keys are armed when the program starts,
  // player 2's only once seen up.
  constexpr uint32_t kStart = 1200;
  std::string script = SkipTitle() + Hold(900, 905, "DOWN") + Hold(950, 955, "DOWN") + Hold(1000, 1005, "SPACE") +
                       Hold(1050, 1055, "UP") + Hold(1100, 1105, "UP") + Hold(1150, 1400, "D") +
                       Hold(1150, 1400, "LEFT") + Hold(kStart, kStart + 5, "RETURN") +
                       DumpAt(kStart + 26 * 3, "held.json") + Press(kStart + 26 * 20, "LEFT") +
                       DumpAt(kStart + 26 * 21 + 1, "pressed.json") + Press(kStart + 26 * 25, "ESCAPE") +
                       Hold(kStart + 800, kStart + 806, "ESCAPE") + Hold(kStart + 900, kStart + 906, "ESCAPE") +
                       LeaveClosingLogo(kStart + 1000);
  ASSERT_EQ(Run(script), 0) << Errors();
  const Json held = Dump("held.json");
  ASSERT_EQ(held["matchSeed"].Int(), static_cast<int>(kStart));
  EXPECT_EQ(held["players"][0]["pieceX"].Int(), 4);
  EXPECT_EQ(held["players"][1]["pieceX"].Int(), 3);
  // Let go and pressed again, player 2's key acts.
  EXPECT_EQ(Dump("pressed.json")["players"][1]["pieceX"].Int(), 2);
}

}  // namespace
}  // namespace e2e
