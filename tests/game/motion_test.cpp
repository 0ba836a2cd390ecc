// Sideways moves, turns, drops and the lock of a piece.
#include <cstring>

#include "game/match_flags.h"
#include "game/piece_motion.h"
#include "game/pieces.h"
#include "game/random.h"
#include "tests/game/game_fixture.h"

namespace game_test {
namespace {

using MotionTest = GameTest;

TEST_F(MotionTest, TheWallsStopSidewaysMoves) {
  PlayerState& p = players[0];
  PlacePiece(p, 6, 3, 5);  // the bar, columns 3 to 6
  for (int k = 0; k < 5; ++k) MoveLeft(0);
  EXPECT_EQ(p.pieceX, 0);
  for (int k = 0; k < 9; ++k) MoveRight(0);
  EXPECT_EQ(p.pieceX, 6);  // its last block in column 9
}

TEST_F(MotionTest, BlocksBesideThePieceStopIt) {
  PlayerState& p = players[0];
  SetBottomRows(p, {"..1.......", "..1.....1."});
  PlacePiece(p, 1, 2, 20);  // the square at columns 3, 4 of rows 21, 22
  MoveLeft(0);
  EXPECT_EQ(p.pieceX, 2);
  MoveRight(0);
  MoveRight(0);
  MoveRight(0);
  EXPECT_EQ(p.pieceX, 5);
  MoveRight(0);  // (8, 22) is taken
  EXPECT_EQ(p.pieceX, 5);
}

TEST_F(MotionTest, APieceAboveTheWellMeetsOnlyTheSideWalls) {
  PlayerState& p = players[0];
  // Full rows everywhere below row 1: a reading of row -1 that slips into
  // the column to the left (its row 22) would find blocks.
  for (int r = 2; r < kWellRows; ++r) {
    for (int c = 0; c < kWellColumns; ++c) p.well[WellIndex(c, r)] = 4;
  }
  PlacePiece(p, 2, 3, -2);  // blocks in rows -1 and 0
  for (int k = 0; k < 4; ++k) MoveLeft(0);
  EXPECT_EQ(p.pieceX, 0);  // its lower left block in column 0
  RotatePiece(0);          // now blocks in rows -1, 0 and 1
  PlayerState expected;
  PlacePiece(expected, 2, 0, 0, 0, 1);
  EXPECT_EQ(0, std::memcmp(p.pieceCells, expected.pieceCells, kBoxCells));
  for (int k = 0; k < 3; ++k) MoveLeft(0);
  EXPECT_EQ(p.pieceX, -1);  // the block in row -1 stands in column 0
  for (int k = 0; k < 12; ++k) MoveRight(0);
  EXPECT_EQ(p.pieceX, 7);
}

TEST_F(MotionTest, ATurnThatWouldLeaveTheWellIsRefusedNotNudged) {
  PlayerState& p = players[0];
  PlacePiece(p, 6, 8, 5, 0, 1);  // vertical bar in box column 1 = well column 9
  RotatePiece(0);                // lying in box row 2 it would need columns 8 to 11
  EXPECT_EQ(p.pieceX, 8);
  PlayerState vertical;
  PlacePiece(vertical, 6, 8, 5, 0, 1);
  EXPECT_EQ(0, std::memcmp(p.pieceCells, vertical.pieceCells, kBoxCells));

  PlacePiece(p, 6, 7, 5, 0, 3);  // vertical in box column 2 = well column 9
  RotatePiece(0);
  PlayerState stillVertical;
  PlacePiece(stillVertical, 6, 7, 5, 0, 3);
  EXPECT_EQ(0, std::memcmp(p.pieceCells, stillVertical.pieceCells, kBoxCells));

  // A turn onto a well block is refused too; the floor as well.
  PlacePiece(p, 6, 3, 5, 0, 1);
  p.well[WellIndex(5, 7)] = 2;
  RotatePiece(0);
  EXPECT_EQ(0, std::memcmp(p.pieceCells, vertical.pieceCells, kBoxCells));
  PlacePiece(p, 6, 3, 20);  // lying in row 21: upright it would reach row 24
  RotatePiece(0);
  EXPECT_EQ(p.pieceCells[1 * kBoxSide + 1], 1);
  EXPECT_EQ(p.pieceCells[0 * kBoxSide + 1], 1);
}

TEST_F(MotionTest, ADropLocksAtTheLowestPlaceScoresAndBringsTheNextPiece) {
  PlayerState& p = players[0];
  SetBottomRows(p, {"222...2222"});
  p.level = 3;
  RandomSeed(SeedGiving({4}));
  PlacePiece(p, 1, 3, -1);  // the square over the gap
  HardDrop(0);
  EXPECT_EQ(RowText(p, 21), "....11....");
  EXPECT_EQ(RowText(p, 22), "222.112222");
  EXPECT_EQ(p.points, 4);  // level + 1
  EXPECT_EQ(p.pieceColour, 4);
  EXPECT_EQ(p.pieceY, -1);
  EXPECT_EQ(PlayedEffects(), std::vector<std::string>{"WURF"});

  blobStyle = 1;
  PlacePiece(p, 6, 3, -1, 5);
  HardDrop(0);
  EXPECT_EQ(p.points, 4 + 2 * 3 + 3);
}

TEST_F(MotionTest, BlocksLockedAboveTheWellAreLostAndTheGameGoesOn) {
  PlayerState& p = players[0];
  for (int r = 2; r < kWellRows; ++r) p.well[WellIndex(3, r)] = 2;
  PlacePiece(p, 6, 2, -2, 0, 1);  // upright in column 3, rows -2 to 1
  EXPECT_TRUE(MoveDown(p));
  EXPECT_FALSE(LockPiece(p));
  EXPECT_EQ(p.well[WellIndex(3, 0)], 6);
  EXPECT_EQ(p.well[WellIndex(3, 1)], 6);
  EXPECT_EQ(p.well[WellIndex(2, 22)], 0);  // nothing written into the next column
  EXPECT_EQ(p.points, 1);
}

TEST_F(MotionTest, PushedUpBlocksKeepTheirPlaceUnderALockingPiece) {
  PlayerState& p = players[0];
  SetBottomRows(p, {"3.........", "33........"});
  PlacePiece(p, 1, -1, 20);  // the square on (0, 21)..(1, 22): three cells taken
  EXPECT_FALSE(LockPiece(p));
  EXPECT_EQ(RowText(p, 21), "31........");
  EXPECT_EQ(RowText(p, 22), "33........");
  EXPECT_EQ(p.points, 1);

  // With the box at row 0 an overlap ends the game at once; the blocks
  // written before the overlap stay, nothing is scored.
  PlayerState q;
  q.well[WellIndex(1, 2)] = 5;
  PlacePiece(q, 1, 0, 0);  // square at (1, 1), (1, 2), (2, 1), (2, 2)
  EXPECT_TRUE(LockPiece(q));
  EXPECT_EQ(q.well[WellIndex(1, 1)], 1);
  EXPECT_EQ(q.well[WellIndex(1, 2)], 5);
  EXPECT_EQ(q.well[WellIndex(2, 1)], 0);
  EXPECT_EQ(q.points, 0);
}

}  // namespace
}  // namespace game_test
