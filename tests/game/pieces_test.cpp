// The random sequence, the shapes and their turns, and the spawn.
#include <cstring>

#include "game/match_flags.h"
#include "game/pieces.h"
#include "game/random.h"
#include "tests/game/game_fixture.h"

namespace game_test {
namespace {

using PiecesTest = GameTest;

// The box of the piece as four rows of text, 'X' for a block.
std::string BoxText(const PlayerState& p) {
  std::string text;
  for (int j = 0; j < kBoxSide; ++j) {
    if (j) text += ' ';
    for (int i = 0; i < kBoxSide; ++i) text += p.pieceCells[i * kBoxSide + j] ? 'X' : '.';
  }
  return text;
}

void Turn(PlayerState& p) {
  uint8_t turned[kBoxCells];
  TurnBox(p.pieceCells, turned);
  std::memcpy(p.pieceCells, turned, sizeof turned);
}

TEST_F(PiecesTest, TheGeneratorGivesTheKnownSequence) {
  RandomSeed(1);
  const int32_t expected[] = {16838, 5758, 10113, 17515, 31051, 5627, 23010, 7419, 16212, 4086};
  for (int32_t value : expected) EXPECT_EQ(RandomNext(), value);
  // The state wraps modulo 2^32 and only bits 16 to 30 come out.
  RandomSeed(0xFFFFFFFFu);
  EXPECT_EQ(RandomNext(), static_cast<int32_t>(((0xFFFFFFFFu * 1103515245u + 12345u) >> 16) & 0x7FFF));
  EXPECT_EQ(seed, 0xFFFFFFFFu * 1103515245u + 12345u);
}

TEST_F(PiecesTest, EveryOrientationOfEveryShape) {
  // Spawn orientation, then one, two and three quarter turns; rows top down.
  const char* const orientations[8][4] = {
      {},
      {".... .XX. .XX. ....", ".... .XX. .XX. ....", ".... .XX. .XX. ....", ".... .XX. .XX. ...."},
      {".... .XX. XX.. ....", ".... .X.. .XX. ..X.", ".... ..XX .XX. ....", ".X.. .XX. ..X. ...."},
      {".... XX.. .XX. ....", ".... ..X. .XX. .X..", ".... .XX. ..XX ....", "..X. .XX. .X.. ...."},
      {".... .XXX .X.. ....", ".X.. .X.. .XX. ....", ".... ..X. XXX. ....", ".... .XX. ..X. ..X."},
      {".... XXX. ..X. ....", ".... .XX. .X.. .X..", ".... .X.. .XXX ....", "..X. ..X. .XX. ...."},
      {".... XXXX .... ....", ".X.. .X.. .X.. .X..", ".... .... XXXX ....", "..X. ..X. ..X. ..X."},
      {".... .XXX ..X. ....", ".X.. .XX. .X.. ....", ".... .X.. XXX. ....", ".... ..X. .XX. ..X."},
  };
  for (int type = 1; type <= 7; ++type) {
    PlayerState p;
    LoadShape(p, type);
    for (int turns = 0; turns < 4; ++turns) {
      EXPECT_EQ(BoxText(p), orientations[type][turns]) << "type " << type << " after " << turns << " turns";
      Turn(p);
    }
    EXPECT_EQ(BoxText(p), orientations[type][0]) << "four turns give back type " << type;
  }
}

TEST_F(PiecesTest, SpawnsStandInTheTopRows) {
  PlayerState& p = players[0];
  RandomSeed(SeedGiving({6}));
  SpawnPiece(p);
  EXPECT_EQ(p.pieceX, 3);
  EXPECT_EQ(p.pieceY, -1);
  EXPECT_EQ(p.pieceColour, 6);
  EXPECT_EQ(BoxText(p), ".... XXXX .... ....");  // columns 3 to 6 of row 0
  EXPECT_EQ(p.state, kPlaying);

  RandomSeed(SeedGiving({2}));
  SpawnPiece(p);
  EXPECT_EQ(p.pieceY, -1);
  EXPECT_EQ(BoxText(p), ".... .XX. XX.. ....");  // row 0: 4, 5; row 1: 3, 4
  EXPECT_TRUE(PlayedEffects().empty());
}

TEST_F(PiecesTest, NormalSpawnsDrawOnceAndColourByShapeBlobSpawnsDrawTwice) {
  PlayerState& p = players[0];
  const uint32_t start = SeedGiving({5, 5});
  RandomSeed(start);
  SpawnPiece(p);
  EXPECT_EQ(p.pieceColour, 5);
  SpawnPiece(p);
  EXPECT_EQ(p.pieceColour, 5);
  Lcg lcg{start};
  lcg.Next();
  lcg.Next();
  EXPECT_EQ(seed, lcg.state);

  blobStyle = 1;
  const uint32_t blobStart = SeedGiving({5, 2, 5, 7});
  RandomSeed(blobStart);
  SpawnPiece(p);
  EXPECT_EQ(BoxText(p), ".... XXX. ..X. ....");
  EXPECT_EQ(p.pieceColour, 2);
  SpawnPiece(p);
  EXPECT_EQ(p.pieceColour, 7);
  Lcg blob{blobStart};
  for (int k = 0; k < 4; ++k) blob.Next();
  EXPECT_EQ(seed, blob.state);
}

TEST_F(PiecesTest, ABlockedSpawnEndsTheGameWithALoss) {
  PlayerState& p = players[0];
  p.losses = -2;
  // The bar needs row 0 only; a block in row 1 does not stop it.
  p.well[WellIndex(5, 1)] = 3;
  RandomSeed(SeedGiving({6}));
  SpawnPiece(p);
  EXPECT_EQ(p.state, kPlaying);
  EXPECT_EQ(p.pieceY, -1);

  p.well[WellIndex(6, 0)] = 3;
  RandomSeed(SeedGiving({6}));
  SpawnPiece(p);
  EXPECT_EQ(p.state, kGameJustOver);
  EXPECT_EQ(p.pieceY, -2);
  EXPECT_EQ(p.losses, -3);
  EXPECT_EQ(PlayedEffects(), std::vector<std::string>{"GAMEOVER"});

  // Shape 2 also needs row 1, at columns 3 and 4.
  PlayerState q;
  q.state = kPlaying;
  q.well[WellIndex(3, 1)] = 1;
  RandomSeed(SeedGiving({2}));
  SpawnPiece(q);
  EXPECT_EQ(q.state, kGameJustOver);
  EXPECT_EQ(q.losses, -1);
}

}  // namespace
}  // namespace game_test
