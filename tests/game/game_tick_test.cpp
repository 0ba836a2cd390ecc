// The step gate, the key latches, gravity and the ways a game ends.
#include "game/game_tick.h"
#include "game/match_flags.h"
#include "game/piece_motion.h"
#include "game/pieces.h"
#include "game/random.h"
#include "platform/headless/headless_backend.h"
#include "platform/keys.h"
#include "tests/game/game_fixture.h"

namespace game_test {
namespace {

using GameTickTest = GameTest;

TEST(KeyLatchTest, PlayerOnesAreArmedAtProgramStartAndPlayerTwosAreNot) {
  // A key held into the first match acts at once for player 1; player 2
  // must let go first.
  const KeyLatches expected = {1, 1, 1, 1, 0, 0, 0, 0};
  EXPECT_EQ(LatchesAtProgramStart(), expected);
}

TEST_F(GameTickTest, AStepComesOnlyWhenMoreThan25msHavePassed) {
  BeginMatch(1, false);
  platform::headless::SetClock(now + 25);
  GameTick();
  EXPECT_EQ(gravityCountdown, 9);
  EXPECT_EQ(lastTickTime, now);
  platform::headless::SetClock(now + 26);
  GameTick();
  EXPECT_EQ(gravityCountdown, 8);
  EXPECT_EQ(lastTickTime, now + 26);
  GameTick();  // the same millisecond again: nothing
  EXPECT_EQ(gravityCountdown, 8);
}

TEST_F(GameTickTest, TheClockWrappingDoesNotStopTheSteps) {
  BeginMatch(1, false);
  lastTickTime = 0xFFFFFFF0u;
  platform::headless::SetClock(0x0000000Bu);  // 27 ms later, across the wrap
  GameTick();
  EXPECT_EQ(gravityCountdown, 8);
}

TEST_F(GameTickTest, AHeldKeyActsOnceAndAgainAfterItsRelease) {
  BeginMatch(1, false);
  const int x = players[0].pieceX;
  Hold(VK_LEFT);
  for (int k = 0; k < 5; ++k) Step();
  EXPECT_EQ(players[0].pieceX, x - 1);
  Hold(VK_LEFT, false);
  Step();
  Hold(VK_LEFT);
  Step();
  EXPECT_EQ(players[0].pieceX, x - 2);
  Hold(VK_LEFT, false);

  // Several actions in one step: right and turn together.
  Hold(VK_RIGHT);
  Hold(VK_DOWN);
  Step();
  EXPECT_EQ(players[0].pieceX, x - 1);
  Hold(VK_RIGHT, false);
  Hold(VK_DOWN, false);
}

TEST_F(GameTickTest, OnlyPlayerOnesLatchesAreArmedAtProgramStart) {
  BeginMatch(2, false);
  const int x1 = players[0].pieceX, x2 = players[1].pieceX;
  Hold('A');
  Hold(VK_LEFT);
  Step();
  EXPECT_EQ(players[0].pieceX, x1 - 1);
  EXPECT_EQ(players[1].pieceX, x2);  // held since before the match: not yet
  Hold(VK_LEFT, false);
  Step();
  Hold(VK_LEFT);
  Step();
  EXPECT_EQ(players[1].pieceX, x2 - 1);

  // A new match does not re-arm a latch whose key is still held.
  BeginMatch(2, false, 7);
  Step();
  EXPECT_EQ(players[0].pieceX, 3);
  EXPECT_EQ(players[1].pieceX, 3);
  Hold('A', false);
  Hold(VK_LEFT, false);
}

TEST_F(GameTickTest, GravityFollowsPlayerOnesLevelInBothWells) {
  BeginMatch(2, false);
  // The first gravity step of a match is the ninth step.
  for (int k = 0; k < 8; ++k) Step();
  EXPECT_EQ(players[0].pieceY, -1);
  Step();
  EXPECT_EQ(players[0].pieceY, 0);
  EXPECT_EQ(players[1].pieceY, 0);
  EXPECT_EQ(gravityCountdown, 38);

  // Player 2 at level 10, player 1 at level 0: 38 steps a row for both.
  players[1].level = 10;
  for (int k = 0; k < 37; ++k) Step();
  EXPECT_EQ(players[1].pieceY, 0);
  Step();
  EXPECT_EQ(players[0].pieceY, 1);
  EXPECT_EQ(players[1].pieceY, 1);

  // Player 1 at level 18: reloaded with 2, so every second step.
  players[0].level = 18;
  players[1].level = 0;
  gravityCountdown = 1;
  Step();
  EXPECT_EQ(gravityCountdown, 2);
  EXPECT_EQ(players[1].pieceY, 2);
  Step();
  EXPECT_EQ(players[1].pieceY, 2);
  Step();
  EXPECT_EQ(players[0].pieceY, 3);
  EXPECT_EQ(players[1].pieceY, 3);
}

TEST_F(GameTickTest, ADropOntoAFullWellLosesThroughTheBlockedSpawn) {
  BeginMatch(1, false);
  PlayerState& p = players[0];
  for (int r = 2; r < kWellRows; ++r) {
    for (int c = 0; c < kWellColumns; ++c) p.well[WellIndex(c, r)] = (c + r) % 7 + 1;
  }
  p.well[WellIndex(0, 2)] = 0;  // no row is full
  PlacePiece(p, 1, 3, -1);
  RandomSeed(SeedGiving({6}));  // the next bar needs row 0, which the square fills
  Hold(VK_CONTROL);
  Step();
  Hold(VK_CONTROL, false);
  EXPECT_EQ(p.state, kGameJustOver);
  EXPECT_EQ(p.losses, -1);
  EXPECT_EQ(p.pieceY, -2);
  EXPECT_EQ((PlayedEffects()), (std::vector<std::string>{"GAMEOVER", "WURF"}));
  // The panel covers the well from this very step.
  EXPECT_EQ(Pixel(220 + 30, 8 + 140), kPanelIndex);
  EXPECT_EQ(Pixel(220 + 189, 8 + 279), kPanelIndex);
}

TEST_F(GameTickTest, ALockOverPushedUpBlocksAtTheTopEndsTheGame) {
  BeginMatch(2, false);
  PlayerState& p = players[1];
  PlacePiece(p, 1, 3, 0);  // square at (4, 1)..(5, 2)
  for (int r = 2; r < kWellRows; ++r) p.well[WellIndex(4, r)] = 2;
  Step();  // player 2's latches are armed once the keys are seen up
  const uint32_t before = seed;
  // Dropped with a key: the game is over, the loss counts, no new piece.
  Hold(VK_CONTROL);
  Step();
  Hold(VK_CONTROL, false);
  EXPECT_EQ(p.state, kGameJustOver);
  EXPECT_EQ(p.losses, -1);
  EXPECT_EQ(seed, before);
  EXPECT_EQ((PlayedEffects()), (std::vector<std::string>{"GAMEOVER"}));
  EXPECT_EQ(Pixel(370 + 30, 8 + 140), kPanelIndex);
  EXPECT_NE(Pixel(70 + 30, 8 + 140), kPanelIndex);
}

TEST_F(GameTickTest, ALockOverPushedUpBlocksByGravityCountsNoLossUntilASpawnIsBlocked) {
  BeginMatch(1, false);
  PlayerState& p = players[0];
  PlacePiece(p, 1, 3, 0);
  for (int r = 2; r < kWellRows; ++r) p.well[WellIndex(4, r)] = 2;
  gravityCountdown = 1;
  RandomSeed(SeedGiving({6}));  // the bar needs row 0 only: it fits
  Step();
  EXPECT_EQ(p.state, kGameJustOver);
  EXPECT_EQ(p.losses, 0);
  EXPECT_EQ(p.pieceY, -1);  // the spawn ran as usual
  EXPECT_EQ((PlayedEffects()), (std::vector<std::string>{"GAMEOVER"}));

  // The same, but the spawn is blocked too: the loss and the sound once more.
  PlayedEffects().clear();
  p.state = kPlaying;
  PlacePiece(p, 1, 3, 0);
  p.well[WellIndex(3, 0)] = 5;
  gravityCountdown = 1;
  RandomSeed(SeedGiving({6}));
  Step();
  EXPECT_EQ(p.state, kGameJustOver);
  EXPECT_EQ(p.losses, -1);
  EXPECT_EQ((PlayedEffects()), (std::vector<std::string>{"GAMEOVER", "GAMEOVER"}));
}

TEST_F(GameTickTest, ALostGameCountsDownOncePerGravityPeriod) {
  BeginMatch(2, false);
  players[0].state = kGameJustOver;
  gravityCountdown = 3;
  const int y2 = players[1].pieceY;
  const int y1 = players[0].pieceY;
  std::vector<int32_t> states;
  for (int k = 0; k < 3 + 38 * 3 + 10; ++k) {
    Step();
    if (states.empty() || states.back() != players[0].state) states.push_back(players[0].state);
  }
  EXPECT_EQ(states, (std::vector<int32_t>{99, 74, 49, 24, -1}));
  EXPECT_EQ(players[0].pieceY, y1);  // the lost game's piece no longer falls
  EXPECT_GT(players[1].pieceY, y2);  // the other player plays on
  EXPECT_EQ(players[1].state, kPlaying);
}

TEST_F(GameTickTest, EscapeThroughTheHookCoversEveryWellInThatStep) {
  BeginMatch(2, false);
  pauseCheckHook = [] { players[0].state = players[1].state = 0; };
  Hold('A');
  const int x = players[0].pieceX;
  Step();
  Hold('A', false);
  EXPECT_EQ(players[0].pieceX, x);  // no player moves after Escape
  EXPECT_EQ(Pixel(70 + 30, 8 + 140), kPanelIndex);
  EXPECT_EQ(Pixel(370 + 30, 8 + 140), kPanelIndex);
}

}  // namespace
}  // namespace game_test
