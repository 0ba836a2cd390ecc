// What the two players do to each other: rows pushed across, the shared
// generator, and the end of a match.
#include "game/game_tick.h"
#include "game/garbage_rows.h"
#include "game/match_flags.h"
#include "game/piece_motion.h"
#include "game/random.h"
#include "game/rows_and_groups.h"
#include "platform/keys.h"
#include "tests/game/game_fixture.h"

namespace game_test {
namespace {

using TwoPlayerTest = GameTest;

// The next pushed-up row drawn from `lcg`: the hole first, then a colour
// for every other column from left to right.
std::string NextGarbageRow(Lcg& lcg) {
  const int hole = lcg.Next() % 10;
  std::string row;
  for (int c = 0; c < 10; ++c) row += c == hole ? '.' : static_cast<char>('0' + lcg.Next() % 7 + 1);
  return row;
}

// Rows 2 to 22 taken (none of them full), so that the piece dropped from
// the top locks in rows 0 and 1 and the spawn after it is blocked.
void FillAllButTheTop(PlayerState& p) {
  for (int r = 2; r < kWellRows; ++r) {
    for (int c = 0; c < kWellColumns; ++c) p.well[WellIndex(c, r)] = static_cast<uint8_t>((c + r) % 7 + 1);
  }
  p.well[WellIndex(0, 2)] = 0;
  PlacePiece(p, 1, 3, -1);
}

TEST_F(TwoPlayerTest, ATripleSendsTwoRowsOfTenDrawsEach) {
  playerCount = 2;
  PlayerState& sender = players[0];
  PlayerState& receiver = players[1];
  SetBottomRows(sender, {"111111111.", "111111111.", "111111111."});
  PlacePiece(sender, 6, 8, 19, 0, 1);
  receiver.well[WellIndex(0, 0)] = 7;
  receiver.well[WellIndex(1, 1)] = 6;
  receiver.well[WellIndex(2, 2)] = 5;
  PlacePiece(receiver, 7, 4, 6);

  RandomSeed(12345);
  EXPECT_FALSE(LockPiece(sender));
  Lcg lcg{12345};
  const std::string first = NextGarbageRow(lcg), second = NextGarbageRow(lcg);
  EXPECT_EQ(RowText(receiver, 21), first);
  EXPECT_EQ(RowText(receiver, 22), second);
  EXPECT_EQ(seed, lcg.state);  // twenty draws
  // The top two rows are gone; what was row 2 is now row 0.
  EXPECT_EQ(RowText(receiver, 0), "..5.......");
  EXPECT_EQ(RowText(receiver, 1), "..........");
  EXPECT_EQ(receiver.pieceX, 4);
  EXPECT_EQ(receiver.pieceY, 6);
  EXPECT_EQ(sender.points, 1 + 45);
  EXPECT_EQ(sender.rows, 3);
  EXPECT_EQ(PlayedEffects(), std::vector<std::string>{"LACH"});
}

TEST_F(TwoPlayerTest, APieceOverlappedByPushedUpRowsLosesItsOverlappingBlocks) {
  BeginMatch(2, false);
  PlayerState& q = players[1];
  SetBottomRows(q, {"33.3333333"});
  PlacePiece(q, 1, 3, 19);  // the square resting on row 22
  AddGarbageRow(q);         // row 22 moves up under the square's lower blocks
  gravityCountdown = 1;
  Step();
  EXPECT_EQ(q.state, kPlaying);
  EXPECT_EQ(RowText(q, 20), "....11....");
  EXPECT_EQ(RowText(q, 21), "33.3333333");
  EXPECT_EQ(q.pieceY, -1);  // the next piece came
}

TEST_F(TwoPlayerTest, BlobPlayersNeverChangeEachOthersWells) {
  playerCount = 2;
  blobStyle = 1;
  PlayerState& p = players[0];
  SetBottomRows(p, {"333333....", "333333...."});
  PlacePiece(p, 1, 5, 20, 3);
  players[1].well[WellIndex(4, 22)] = 2;
  RandomSeed(99);
  LockPiece(p);
  EXPECT_EQ(p.rows, 1);
  EXPECT_EQ(RowText(players[1], 22), "....2.....");
  EXPECT_EQ(RowText(players[1], 21), "..........");
  EXPECT_EQ(seed, 99u);
}

TEST_F(TwoPlayerTest, TheMatchEndsFourPeriodsAfterTheFirstLossWithBothLossesCounted) {
  BeginMatch(2, false);
  FillAllButTheTop(players[0]);
  Hold(VK_SHIFT);  // player 1 drops and loses in step 1
  Step();
  Hold(VK_SHIFT, false);
  EXPECT_EQ(players[0].state, kGameJustOver);
  // Two gravity periods later (steps 9 and 47 end them) player 2 loses too.
  for (int k = 1; k < 47; ++k) Step();
  FillAllButTheTop(players[1]);
  Hold(VK_CONTROL);
  Step();
  Hold(VK_CONTROL, false);
  EXPECT_EQ(players[1].state, kGameJustOver);
  int steps = 48;
  while (players[0].state > 0 && players[1].state > 0 && steps < 1000) {
    Step();
    ++steps;
  }
  EXPECT_EQ(steps, 123);  // the fourth count after step 1: steps 9, 47, 85, 123
  EXPECT_EQ(players[0].state, -1);
  EXPECT_EQ(players[1].state, 49);
  EXPECT_EQ(players[0].losses, -1);
  EXPECT_EQ(players[1].losses, -1);
}

}  // namespace
}  // namespace game_test
