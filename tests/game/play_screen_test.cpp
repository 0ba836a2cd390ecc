// The play screen: merged block shapes, the piece, the frame and the texts
// of both layouts, read back from the back buffer.
#include "game/match_flags.h"
#include "game/play_assets.h"
#include "game/play_screen.h"
#include "gfx/display.h"
#include "tests/game/game_fixture.h"

namespace game_test {
namespace {

class PlayScreenTest : public GameTest {
 protected:
  // Spaces draw nothing: they read back as '?'.
  void ExpectText(int x, int y, std::string text, int advance = 16) {
    for (char& c : text) c = c == ' ' ? '?' : c;
    EXPECT_EQ(TextAt(x, y, static_cast<int>(text.size()), advance), text) << "at " << x << ", " << y;
  }
  // The tile index in the middle of well cell (c, r) of a board at `left`.
  uint8_t CellPixel(int left, int c, int r) const { return Pixel(left + 20 * c + 10, 8 + 20 * r + 10); }
};

TEST_F(PlayScreenTest, TouchingBlocksOfOneColourMerge) {
  PlayerState& p = players[0];
  SetBottomRows(p, {"...22.....", "...225...."});
  EXPECT_EQ(EdgeMask(p, 3, 22), kEdgeLeft | kEdgeBottom);
  EXPECT_EQ(EdgeMask(p, 4, 22), kEdgeRight | kEdgeBottom);
  EXPECT_EQ(EdgeMask(p, 3, 21), kEdgeLeft | kEdgeTop);
  EXPECT_EQ(EdgeMask(p, 5, 22), 15);
  // The walls close the outer sides.
  PlayerState q;
  q.well[WellIndex(0, 0)] = 1;
  q.well[WellIndex(9, 22)] = 1;
  EXPECT_EQ(EdgeMask(q, 0, 0), 15);
  EXPECT_EQ(EdgeMask(q, 9, 22), 15);

  PlacePiece(p, 6, 3, 10);
  DrawPlayScreen();
  EXPECT_EQ(CellPixel(220, 3, 22), TileIndex(2, kEdgeLeft | kEdgeBottom));
  EXPECT_EQ(CellPixel(220, 4, 22), TileIndex(2, kEdgeRight | kEdgeBottom));
  EXPECT_EQ(CellPixel(220, 5, 22), TileIndex(5, 15));
  EXPECT_EQ(CellPixel(220, 0, 22), kEmptyTileIndex);
  EXPECT_EQ(Pixel(5, 470), kBackgroundIndex);
}

TEST_F(PlayScreenTest, TheFallingPieceKeepsItsOwnSidesUntilItIsLocked) {
  PlayerState& p = players[0];
  p.well[WellIndex(3, 21)] = 1;
  PlacePiece(p, 1, 3, 19);  // square of colour 1 at (4, 20)..(5, 21)
  DrawPlayScreen();
  EXPECT_EQ(CellPixel(220, 4, 21), TileIndex(1, kEdgeLeft | kEdgeBottom));
  EXPECT_EQ(CellPixel(220, 3, 21), TileIndex(1, 15));
  EXPECT_EQ(CellPixel(220, 5, 20), TileIndex(1, kEdgeTop | kEdgeRight));
  p.well[WellIndex(4, 21)] = p.well[WellIndex(4, 20)] = p.well[WellIndex(5, 21)] = p.well[WellIndex(5, 20)] = 1;
  PlacePiece(p, 6, 3, 5);
  DrawPlayScreen();
  EXPECT_EQ(CellPixel(220, 4, 21), TileIndex(1, kEdgeBottom));
  EXPECT_EQ(CellPixel(220, 3, 21), TileIndex(1, kEdgeTop | kEdgeLeft | kEdgeBottom));
}

TEST_F(PlayScreenTest, OnlyTheBlocksInsideTheWellAreDrawnAndErased) {
  PlayerState& p = players[0];
  PlacePiece(p, 6, 3, -2, 0, 1);  // upright in column 4, rows -2 to 1
  DrawPlayScreen();
  EXPECT_EQ(CellPixel(220, 4, 0), TileIndex(6, kEdgeLeft | kEdgeRight));
  EXPECT_EQ(CellPixel(220, 4, 1), TileIndex(6, kEdgeLeft | kEdgeRight | kEdgeBottom));
  for (int y = 0; y < 8; ++y) EXPECT_EQ(Pixel(300, y), kBackgroundIndex);
  p.well[WellIndex(4, 1)] = 3;
  ErasePiece(p);
  EXPECT_EQ(CellPixel(220, 4, 0), kEmptyTileIndex);
  EXPECT_EQ(CellPixel(220, 4, 1), kEmptyTileIndex);  // whatever the well holds
  EXPECT_EQ(Pixel(300, 7), kBackgroundIndex);
}

TEST_F(PlayScreenTest, TheFramesStandBesideAndBelowEachWell) {
  DrawPlayScreen();
  EXPECT_EQ(Pixel(216, 8), kSideBarIndex);
  EXPECT_EQ(Pixel(423, 467), kSideBarIndex);
  EXPECT_EQ(Pixel(216, 468), kBottomBarIndex);
  EXPECT_EQ(Pixel(423, 471), kBottomBarIndex);
  EXPECT_EQ(Pixel(215, 100), kBackgroundIndex);
  EXPECT_EQ(Pixel(424, 100), kBackgroundIndex);

  playerCount = 2;
  DrawPlayScreen();
  EXPECT_EQ(Pixel(66, 8), kSideBarIndex);
  EXPECT_EQ(Pixel(270, 8), kSideBarIndex);
  EXPECT_EQ(Pixel(366, 8), kSideBarIndex);
  EXPECT_EQ(Pixel(570, 8), kSideBarIndex);
  EXPECT_EQ(Pixel(366, 470), kBottomBarIndex);
  EXPECT_EQ(CellPixel(70, 0, 22), kEmptyTileIndex);
  EXPECT_EQ(CellPixel(370, 9, 22), kEmptyTileIndex);
  EXPECT_EQ(Pixel(320, 300), kBackgroundIndex);
}

TEST_F(PlayScreenTest, OnePlayerTextsInEnglish) {
  PlayerState& p = players[0];
  p.points = 42;
  p.level = 7;
  p.rows = 35;
  p.controlHandler = ControlHandler::ArrowKeysDownRotate;
  DrawPlayScreen();
  ExpectText(32, 14, "NORMAL");
  ExpectText(4, 42, "POINTS:    42");
  ExpectText(4, 70, "LEVEL:      7");
  ExpectText(4, 98, "ROWS:      35");
  ExpectText(436, 14, "CONTROL KEYS");
  ExpectText(436, 42, "ESC-QUIT");
  ExpectText(436, 70, "LEFT-LEFT");
  ExpectText(436, 98, "RIGHT-RIGHT");
  ExpectText(436, 126, "DOWN-ROTATE");
  ExpectText(436, 154, "CTRL-DROP");
  ExpectText(436, 182, "F1-CHANGE");
}

TEST_F(PlayScreenTest, OnePlayerTextsInGermanWithTheOtherLayout) {
  english = 0;
  blobStyle = 1;
  PlayerState& p = players[0];
  p.points = 1234567;  // wider than its field
  p.rows = 5;
  p.controlHandler = ControlHandler::ArrowKeysUpRotate;
  DrawPlayScreen();
  ExpectText(48, 14, "BLOB");
  EXPECT_EQ(Pixel(40, 21), kBackgroundIndex);  // nothing where "NORMAL" began
  ExpectText(4, 42, "PUNKTE: 1234567");
  ExpectText(4, 98, "REIHEN:     5");
  ExpectText(436, 126, "UP-ROTATE");
  ExpectText(436, 154, "DOWN-DROP");
}

TEST_F(PlayScreenTest, TwoPlayerTextsInHalfWidthCharacters) {
  playerCount = 2;
  english = 0;  // the two-player texts are English in both languages
  players[0].points = 120;
  players[0].level = 3;
  players[0].rows = 17;
  players[0].controlHandler = ControlHandler::LetterKeysShiftDrop;
  players[1].points = 7;
  players[1].controlHandler = ControlHandler::ArrowKeysDownRotate;
  DrawPlayScreen();
  EXPECT_EQ(font2->advance, 16);  // set back after drawing
  ExpectText(296, 14, "NORMAL", 8);
  const char* const left[] = {"PTS:", "120", "LVL:", "3", "ROWS:", "17", "", "CTRL", "A", "D", "SHFT", "S", "F1"};
  const char* const right[] = {"PTS:", "7", "LVL:", "0", "ROWS:", "0", "", "CTRL", "LEFT", "RIGHT", "CTRL", "DOWN", "F2"};
  for (int k = 0; k < 13; ++k) {
    ExpectText(8, 28 + 14 * k, left[k], 8);
    ExpectText(592, 28 + 14 * k, right[k], 8);
  }
  // A character is 8 pixels wide: the pixel right after "A" is not drawn.
  EXPECT_EQ(Pixel(16, 140 + 7), kBackgroundIndex);

  blobStyle = 1;
  players[0].controlHandler = ControlHandler::LetterKeysWRotate;
  players[1].controlHandler = ControlHandler::ArrowKeysUpRotate;
  DrawPlayScreen();
  ExpectText(304, 14, "BLOB", 8);
  ExpectText(8, 168, "S", 8);
  ExpectText(8, 182, "W", 8);
  ExpectText(592, 168, "DOWN", 8);
  ExpectText(592, 182, "UP", 8);
  EXPECT_EQ(Pixel(8 + 8 + 4, 168 + 7), kBackgroundIndex);  // "S" alone, not "SHFT"
}

}  // namespace
}  // namespace game_test
