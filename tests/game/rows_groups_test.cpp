// Full rows in "NORMAL" style, groups in "BLOB" style, points and levels.
#include "game/match_flags.h"
#include "game/piece_motion.h"
#include "game/rows_and_groups.h"
#include "tests/game/game_fixture.h"

namespace game_test {
namespace {

using RowsTest = GameTest;
using GroupsTest = GameTest;

// Fills rows `from`..`to` of column `column` with `colour`.
void FillColumn(PlayerState& p, int column, int from, int to, uint8_t colour) {
  for (int r = from; r <= to; ++r) p.well[WellIndex(column, r)] = colour;
}

// The upright bar in column 9 over the bottom four rows.
void BarInColumnNine(PlayerState& p) { PlacePiece(p, 6, 8, 19, 0, 1); }

TEST_F(RowsTest, OneRowScoresSixAtLevelZero) {
  PlayerState& p = players[0];
  SetBottomRows(p, {"11111111.."});
  PlacePiece(p, 1, 7, 20);  // the square on columns 8 and 9
  EXPECT_FALSE(LockPiece(p));
  EXPECT_EQ(p.points, 1 + 5);
  EXPECT_EQ(p.rows, 1);
  EXPECT_EQ(RowText(p, 22), "........11");
  EXPECT_EQ(RowText(p, 21), "..........");
  EXPECT_EQ(PlayedEffects(), std::vector<std::string>{"REIHEN"});
}

TEST_F(RowsTest, FourRowsScore81) {
  PlayerState& p = players[0];
  SetBottomRows(p, {"111111111.", "222222222.", "333333333.", "444444444."});
  p.well[WellIndex(0, 18)] = 5;
  BarInColumnNine(p);
  EXPECT_FALSE(LockPiece(p));
  EXPECT_EQ(p.points, 1 + 80);
  EXPECT_EQ(p.rows, 4);
  EXPECT_EQ(p.level, 0);
  EXPECT_EQ(RowText(p, 22), "5.........");
  EXPECT_EQ(PlayedEffects(), std::vector<std::string>{"VIERER"});
}

TEST_F(RowsTest, TwoFullRowsAroundAPartialOneGoTogether) {
  PlayerState& p = players[0];
  SetBottomRows(p, {"2.........", "111111111.", "1111.1111.", "111111111."});
  BarInColumnNine(p);
  LockPiece(p);
  EXPECT_EQ(RowText(p, 22), "1111.11116");
  EXPECT_EQ(RowText(p, 21), "2........6");
  EXPECT_EQ(RowText(p, 20), "..........");
  EXPECT_EQ(p.points, 1 + 20);
  EXPECT_EQ(PlayedEffects(), std::vector<std::string>{"REIHEN"});
}

TEST_F(RowsTest, OnlyTheRowsOfThePiecesBoxAreExamined) {
  PlayerState& p = players[0];
  SetBottomRows(p, {"1111111111", "1111111111", "..........", "..........", ".........."});
  PlacePiece(p, 1, -1, 20);  // the square in rows 21, 22: the full rows above stay
  LockPiece(p);
  EXPECT_EQ(p.rows, 0);
  EXPECT_EQ(RowText(p, 18), "1111111111");
}

TEST_F(RowsTest, EveryFifthRowRaisesTheLevelOncePerLock) {
  PlayerState& p = players[0];
  // 4 -> 6 rows passes 5 without landing on a multiple: no level.
  p.rows = 4;
  SetBottomRows(p, {"111111111.", "111111111."});
  PlacePiece(p, 6, 8, 19, 0, 1);
  LockPiece(p);
  EXPECT_EQ(p.rows, 6);
  EXPECT_EQ(p.level, 0);

  // 9 -> 10 raises it; the points use the level from before the lock.
  PlayerState q;
  q.rows = 9;
  q.level = 1;
  SetBottomRows(q, {"111111111."});
  PlacePiece(q, 6, 8, 19, 0, 1);
  LockPiece(q);
  EXPECT_EQ(q.rows, 10);
  EXPECT_EQ(q.level, 2);
  EXPECT_EQ(q.points, 2 + 5 * 2);

  // 18 is the last level.
  PlayerState r;
  r.rows = 99;
  r.level = 18;
  SetBottomRows(r, {"111111111."});
  PlacePiece(r, 6, 8, 19, 0, 1);
  LockPiece(r);
  EXPECT_EQ(r.rows, 100);
  EXPECT_EQ(r.level, 18);
}

TEST_F(RowsTest, TwoPlayerEffectsAndRowsSent) {
  playerCount = 2;
  PlayerState& p = players[0];
  SetBottomRows(p, {"111111111.", "111111111."});
  PlacePiece(p, 6, 8, 19, 0, 1);
  LockPiece(p);
  EXPECT_EQ(PlayedEffects(), std::vector<std::string>{"LACH"});
  EXPECT_NE(RowText(players[1], 22), "..........");  // one row sent
  EXPECT_EQ(RowText(players[1], 21), "..........");

  PlayedEffects().clear();
  SetBottomRows(p, {"111111111.", "111111111.", "111111111.", "111111111."});
  PlacePiece(p, 6, 8, 19, 0, 1);
  LockPiece(p);
  EXPECT_EQ(PlayedEffects(), std::vector<std::string>{"TSCHAU"});
  EXPECT_NE(RowText(players[1], 19), "..........");  // 1 + 3 rows in all
  EXPECT_EQ(RowText(players[1], 18), "..........");

  PlayedEffects().clear();
  SetBottomRows(p, {"111111111."});
  PlacePiece(p, 6, 8, 19, 0, 1);
  LockPiece(p);
  EXPECT_EQ(PlayedEffects(), std::vector<std::string>{"REIHEN"});
  EXPECT_EQ(RowText(players[1], 18), "..........");  // a single row sends nothing
}

TEST_F(GroupsTest, SixteenTouchingBlocksGoFifteenStay) {
  blobStyle = 1;
  PlayerState& p = players[0];
  SetBottomRows(p, {".33333....", "333333...."});  // 11 blocks
  PlacePiece(p, 1, 5, 20, 3);  // a square of colour 3 beside them: 15
  LockPiece(p);
  EXPECT_EQ(RowText(p, 22), "33333333..");
  EXPECT_EQ(p.rows, 0);
  EXPECT_EQ(p.points, 3);

  PlayerState q;
  SetBottomRows(q, {"333333....", "333333...."});  // 12 blocks
  PlacePiece(q, 1, 5, 20, 3);
  LockPiece(q);
  EXPECT_EQ(RowText(q, 22), "..........");
  EXPECT_EQ(RowText(q, 21), "..........");
  EXPECT_EQ(q.rows, 1);
  EXPECT_EQ(q.points, 3);  // the lock points only
  EXPECT_TRUE(PlayedEffects().empty());
}

TEST_F(GroupsTest, APieceOverAGapBreaksApart) {
  blobStyle = 1;
  PlayerState& p = players[0];
  PlacePiece(p, 4, 3, 20, 2);  // row 21: columns 4 to 6; row 22: column 4
  LockPiece(p);
  EXPECT_EQ(RowText(p, 21), "....2.....");
  EXPECT_EQ(RowText(p, 22), "....222...");
}

TEST_F(GroupsTest, BlocksTouchingOnlyAtACornerAreNotJoined) {
  PlayerState& p = players[0];
  // Two groups of eight of colour 2 that meet only at (1, 19) and (2, 18).
  SetBottomRows(p, {"6622......", "6622......", "6622......", "6622......", "2255......", "2255......",
                    "2255......", "2255......"});
  RemoveBlobGroups(p);
  EXPECT_EQ(p.rows, 0);
  EXPECT_EQ(RowText(p, 15), "6622......");
  FindGroup(p, 0, 22, 2);
  EXPECT_EQ(groupCellCount, 8);
}

TEST_F(GroupsTest, ACollapseMovesEveryBlockDownInOrder) {
  PlayerState& p = players[0];
  p.well[WellIndex(2, 0)] = 3;
  p.well[WellIndex(2, 10)] = 4;
  p.well[WellIndex(2, 21)] = 5;
  CollapseColumn(p, 2);
  EXPECT_EQ(p.well[WellIndex(2, 0)], 0);
  EXPECT_EQ(p.well[WellIndex(2, 20)], 3);
  EXPECT_EQ(p.well[WellIndex(2, 21)], 4);
  EXPECT_EQ(p.well[WellIndex(2, 22)], 5);
  EXPECT_EQ(p.well[WellIndex(1, 22)], 0);
  EXPECT_EQ(p.well[WellIndex(3, 0)], 0);
}

TEST_F(GroupsTest, AGroupMadeByACollapseAheadOfThePassGoesInTheSameLock) {
  PlayerState& p = players[0];
  FillColumn(p, 0, 11, 12, 3);  // colour 3 above the colour-1 group...
  FillColumn(p, 1, 11, 12, 3);
  FillColumn(p, 2, 11, 12, 3);
  FillColumn(p, 3, 11, 12, 3);
  for (int c = 0; c < 8; ++c) {
    FillColumn(p, c, 13, 14, 1);                    // ...which is 16 blocks
    FillColumn(p, c, 15, 16, c < 4 ? 3 : 6);        // ...and colour 3 below it
    for (int r = 17; r <= 22; ++r) p.well[WellIndex(c, r)] = r % 2 ? 4 : 5;
  }
  RemoveBlobGroups(p);
  // Once the colour-1 group is gone the colour-3 blocks meet in rows 13 to
  // 16, which the pass has still to look at.
  EXPECT_EQ(p.rows, 2);
  EXPECT_EQ(RowText(p, 16), "....6666..");
  EXPECT_EQ(RowText(p, 15), "....6666..");
  EXPECT_EQ(RowText(p, 14), "..........");
}

TEST_F(GroupsTest, AGroupMadeBehindThePassWaitsForTheNextLock) {
  PlayerState& p = players[0];
  SetBottomRows(p, {"111111111" "5", "1111111555", "7777777777"});  // 16 of colour 1 in rows 20, 21
  FillColumn(p, 9, 12, 19, 2);
  FillColumn(p, 8, 12, 19, 3);
  FillColumn(p, 8, 4, 11, 2);  // meets column 9's colour 2 only at a corner
  RemoveBlobGroups(p);
  // Column 8 sank by one: its colour 2 now touches column 9's in row 12,
  // a group of 16 above row 21, where the pass went on. The last block the
  // pass looked at stayed, so no further pass ran.
  EXPECT_EQ(p.rows, 1);
  EXPECT_EQ(p.well[WellIndex(8, 12)], 2);
  FindGroup(p, 9, 19, 2);
  EXPECT_EQ(groupCellCount, 16);

  // The player's next lock finds it.
  RemoveBlobGroups(p);
  EXPECT_EQ(p.rows, 2);
  EXPECT_EQ(p.well[WellIndex(9, 19)], 0);
}

TEST_F(GroupsTest, APassEndingOnARemovedGroupRunsAnother) {
  PlayerState& p = players[0];
  for (int c = 0; c < 8; ++c) FillColumn(p, c, 21, 22, 1);  // 16 of colour 1
  FillColumn(p, 8, 21, 22, 3);
  FillColumn(p, 9, 21, 22, 3);
  for (int c = 0; c < 8; ++c) FillColumn(p, c, c < 7 ? 19 : 20, 20, 3);  // 15 of colour 3 above
  FillColumn(p, 7, 7, 19, 5);
  FillColumn(p, 7, 5, 6, 2);  // two of colour 2...
  FillColumn(p, 8, 7, 20, 2);  // ...which sink beside these fourteen
  RemoveBlobGroups(p);
  // Colour 1 goes in row 21; colour 3, now in rows 21 and 22 beside the
  // blocks of columns 8 and 9, goes in row 22 and ends the pass; the colour-2
  // group that the first collapse made above is left to the second pass.
  EXPECT_EQ(p.rows, 3);
  EXPECT_EQ(RowText(p, 22), ".......5..");
  EXPECT_EQ(RowText(p, 9), "..........");
  EXPECT_EQ(p.well[WellIndex(7, 10)], 5);
}

TEST_F(GroupsTest, FindGroupListsEachCellOnce) {
  PlayerState& p = players[0];
  for (int c = 0; c < kWellColumns; ++c) FillColumn(p, c, 0, kBottomRow, 4);
  FindGroup(p, 5, 11, 4);
  EXPECT_EQ(groupCellCount, kWellCells);
  bool seen[kWellCells] = {};
  for (int k = 0; k < groupCellCount; ++k) {
    const int index = WellIndex(groupCells[k].column, groupCells[k].row);
    EXPECT_FALSE(seen[index]);
    seen[index] = true;
  }
  FindGroup(p, 5, 11, 3);  // not the cell's colour: no group
  EXPECT_EQ(groupCellCount, 0);
}

}  // namespace
}  // namespace game_test
