// The block sheet: tiles whose variants differ exactly on their open sides,
// so that touching blocks of one colour merge into one shape, and the bars,
// the empty cell and the game-over panel where the game cuts them.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/assets/generator_fixture.h"
#include "tools/assets/blocks.h"
#include "tools/assets/palettes.h"

namespace {

using assets::DrawBlockTile;
using assets::IndexCanvas;

constexpr int kSides[4] = {assets::kTopClosed, assets::kRightClosed, assets::kBottomClosed, assets::kLeftClosed};

// How far pixel (x, y) of a 20 x 20 tile lies from the side `side`.
int DistanceToSide(int side, int x, int y) {
  switch (side) {
    case assets::kTopClosed: return y;
    case assets::kRightClosed: return 19 - x;
    case assets::kBottomClosed: return 19 - y;
    default: return x;
  }
}

// The sheet as the game loads it.
IndexCanvas LoadSheet() {
  assets_test::Picture picture;
  assets_test::LoadPicture("STEINES.PIX", picture);
  IndexCanvas sheet(picture.surface ? picture.surface->Width() : 0, picture.surface ? picture.surface->Height() : 0);
  for (int y = 0; y < sheet.height; ++y) {
    for (int x = 0; x < sheet.width; ++x) sheet.At(x, y) = picture.At(x, y);
  }
  return sheet;
}

TEST(BlockSheet, TheSheetHoldsTheTilesWhereTheGameCutsThem) {
  IndexCanvas sheet = LoadSheet();
  ASSERT_GE(sheet.width, 532);
  ASSERT_GE(sheet.height, 460);
  for (int colour = 1; colour <= 7; ++colour) {
    for (int m = 0; m < 16; ++m) {
      IndexCanvas tile = sheet.Crop(20 * m, 20 * (colour - 1), 20 * m + 20, 20 * colour);
      EXPECT_EQ(tile.pixels, DrawBlockTile(colour, m).pixels) << "colour " << colour << " mask " << m;
    }
  }
  EXPECT_EQ(sheet.Crop(0, 380, 20, 400).pixels, assets::DrawEmptyTile().pixels);
}

TEST(BlockSheet, VariantsDifferExactlyOnTheirOpenSides) {
  for (int colour = 1; colour <= 7; ++colour) {
    for (int m = 0; m < 16; ++m) {
      IndexCanvas tile = DrawBlockTile(colour, m);
      for (int side : kSides) {
        if (m & side) continue;
        IndexCanvas closed = DrawBlockTile(colour, m | side);
        bool edgeDiffers = false;
        for (int y = 0; y < 20; ++y) {
          for (int x = 0; x < 20; ++x) {
            if (tile.At(x, y) == closed.At(x, y)) continue;
            // Closing a side changes its border band only (the bevel, and
            // the glint near a closed top left corner).
            ASSERT_LT(DistanceToSide(side, x, y), 7) << "colour " << colour << " mask " << m << " side " << side;
            if (DistanceToSide(side, x, y) == 0) edgeDiffers = true;
          }
        }
        EXPECT_TRUE(edgeDiffers) << "colour " << colour << " mask " << m << " side " << side;
      }
    }
  }
}

TEST(BlockSheet, OpenSidesOfTouchingBlocksMeetWithoutASeam) {
  for (int colour = 1; colour <= 7; ++colour) {
    for (int a = 0; a < 16; ++a) {
      for (int b = 0; b < 16; ++b) {
        IndexCanvas left = DrawBlockTile(colour, a), right = DrawBlockTile(colour, b);
        const int vertical = assets::kTopClosed | assets::kBottomClosed;
        const int horizontal = assets::kLeftClosed | assets::kRightClosed;
        // Side by side: the left block open on its right, the right one on its left.
        if (!(a & assets::kRightClosed) && !(b & assets::kLeftClosed) && (a & vertical) == (b & vertical)) {
          for (int y = 0; y < 20; ++y) ASSERT_EQ(left.At(19, y), right.At(0, y)) << a << "|" << b << " row " << y;
        }
        // One above the other.
        if (!(a & assets::kBottomClosed) && !(b & assets::kTopClosed) && (a & horizontal) == (b & horizontal)) {
          for (int x = 0; x < 20; ++x) ASSERT_EQ(left.At(x, 19), right.At(x, 0)) << a << "/" << b << " column " << x;
        }
      }
    }
  }
}

TEST(BlockSheet, InnerBlockIsPlainFaceAndTheFreeBlockIsFramedAllRound) {
  for (int colour = 1; colour <= 7; ++colour) {
    IndexCanvas inner = DrawBlockTile(colour, 0);
    for (uint8_t v : inner.pixels) ASSERT_EQ(v, assets::BlockIndex(colour, assets::kFace));
    IndexCanvas free = DrawBlockTile(colour, 15);
    for (int i = 1; i < 19; ++i) {
      EXPECT_EQ(free.At(i, 0), assets::BlockIndex(colour, assets::kOutline));
      EXPECT_EQ(free.At(i, 19), assets::BlockIndex(colour, assets::kOutline));
      EXPECT_EQ(free.At(0, i), assets::BlockIndex(colour, assets::kOutline));
      EXPECT_EQ(free.At(19, i), assets::BlockIndex(colour, assets::kOutline));
    }
    // Tiles are drawn opaque: no see-through index anywhere.
    for (int m = 0; m < 16; ++m) {
      for (uint8_t v : DrawBlockTile(colour, m).pixels) ASSERT_NE(v, 0);
    }
  }
}

TEST(BlockSheet, BarsAndPanelAreWhereTheGameCutsThem) {
  IndexCanvas sheet = LoadSheet();
  ASSERT_GE(sheet.width, 532);
  for (int y = 0; y < 460; ++y) {
    for (int x = 320; x < 324; ++x) ASSERT_NE(sheet.At(x, y), 0) << "side bar " << x << "," << y;
  }
  for (int y = 0; y < 4; ++y) {
    for (int x = 324; x < 532; ++x) ASSERT_NE(sheet.At(x, y), 0) << "bottom bar " << x << "," << y;
  }
  // The panel is drawn keyed: its rounded corners are see-through, its
  // middle is not, and the words stand in colours of their own.
  EXPECT_EQ(sheet.At(0, 140), 0);
  EXPECT_EQ(sheet.At(159, 279), 0);
  int words = 0, holes = 0;
  for (int y = 150; y < 270; ++y) {
    for (int x = 10; x < 150; ++x) {
      uint8_t v = sheet.At(x, y);
      holes += v == 0;
      words += v >= assets::kPanelFirst && v < assets::kPanelFirst + assets::kPanelCount;
    }
  }
  EXPECT_EQ(holes, 0);
  EXPECT_GT(words, 2000);
}

}  // namespace
