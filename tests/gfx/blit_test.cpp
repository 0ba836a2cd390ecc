#include <cstring>

#include "tests/gfx/gfx_fixture.h"

namespace {

class BlitTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    ClearBackBuffer(200);
    source = Numbered(20, 10);
    image = ImageFromSurface(source, 0, 0, 20, 10);
  }
  void TearDown() override {
    delete image;
    ReleaseSurface(source);
    DisplayTest::TearDown();
  }
  // The column of the image that landed at screen column x of row y, or -1.
  int ImageColumnAt(int x, int y) {
    uint8_t v = At(backBuffer, x, y);
    if (v == 200) return -1;
    return (v - 1) % 20;
  }
  Surface* source = nullptr;
  Image* image = nullptr;
};

TEST_F(BlitTest, ImageCutAtTheLeftShowsItsRightPart) {
  DrawImage(image, backBuffer, -5, 100);
  for (int x = 0; x < 15; ++x) EXPECT_EQ(ImageColumnAt(x, 100), x + 5) << x;
  EXPECT_EQ(ImageColumnAt(15, 100), -1);
}

TEST_F(BlitTest, ImageCutAtTheRightAndBottomStopsAtTheLastColumnAndRow) {
  DrawImage(image, backBuffer, 630, 475);
  EXPECT_EQ(ImageColumnAt(639, 479), 9);
  EXPECT_EQ(At(backBuffer, 639, 479), 1 + 9 + 4 * 20);
  EXPECT_EQ(ImageColumnAt(629, 479), -1);
}

TEST_F(BlitTest, ImagesWhollyOffTheScreenDrawNothing) {
  DrawImage(image, backBuffer, -20, 100);   // touching the left edge from outside
  DrawImage(image, backBuffer, 640, 100);
  DrawImage(image, backBuffer, 100, 480);
  DrawImage(image, backBuffer, 100, -10);
  for (int y = 0; y < 480; y += 7)
    for (int x = 0; x < 640; x += 3) ASSERT_EQ(At(backBuffer, x, y), 200) << x << "," << y;
}

TEST_F(BlitTest, PictureWiderThanTheScreenCutOnBothSidesFillsEveryColumn) {
  Surface* wide = Numbered(700, 2);
  Image band(wide, 0, 0, 700, 2);
  DrawImage(&band, backBuffer, -30, 0);
  // Column x shows picture column x + 30, right up to the screen's last column.
  EXPECT_EQ(At(backBuffer, 0, 0), 1 + 30 % 255);
  EXPECT_EQ(At(backBuffer, 639, 0), 1 + 669 % 255);
  DrawSurfaceRect(backBuffer, -30, 10, Rect{0, 0, 700, 2}, wide);
  EXPECT_EQ(At(backBuffer, 639, 10), 1 + 669 % 255);
  ReleaseSurface(wide);
}

TEST_F(BlitTest, KeyedCopySkipsIndexZeroAndOpaqueCopyWritesIt) {
  Surface* holey = CreateSurface(4, 1);
  holey->Row(0)[0] = 7;  // the rest stays 0
  Image sprite(holey, 0, 0, 4, 1);
  DrawImageKeyed(&sprite, backBuffer, 10, 10);
  EXPECT_EQ(At(backBuffer, 10, 10), 7);
  EXPECT_EQ(At(backBuffer, 11, 10), 200);
  DrawImage(&sprite, backBuffer, 10, 11);
  EXPECT_EQ(At(backBuffer, 11, 11), 0);
  DrawSurfaceRectKeyed(backBuffer, 20, 12, Rect{0, 0, 4, 1}, holey);  // key set by the caller...
  EXPECT_EQ(At(backBuffer, 21, 12), 0);                               // ...not yet: opaque
  SetColourKey(holey, 0);
  DrawSurfaceRectKeyed(backBuffer, 20, 13, Rect{0, 0, 4, 1}, holey);
  EXPECT_EQ(At(backBuffer, 21, 13), 200);
  ReleaseSurface(holey);
}

TEST_F(BlitTest, StretchedCopyCutOnTheLeftLosesAsManySourcePixelsAsScreenPixels) {
  Surface* strip = Numbered(40, 1);
  DrawSurfaceRectScaled(backBuffer, -10, 0, 80, 1, Rect{0, 0, 40, 1}, strip);
  // 10 pixels cut from both: source 10..39 stretched over screen 0..69.
  EXPECT_EQ(At(backBuffer, 0, 0), 1 + 10);
  EXPECT_EQ(At(backBuffer, 69, 0), 1 + 39);
  EXPECT_EQ(At(backBuffer, 70, 0), 200);
  // Twice as wide, no cut: each source pixel covers two screen pixels.
  DrawSurfaceRectScaled(backBuffer, 100, 5, 80, 1, Rect{0, 0, 40, 1}, strip);
  EXPECT_EQ(At(backBuffer, 100, 5), 1);
  EXPECT_EQ(At(backBuffer, 101, 5), 1);
  EXPECT_EQ(At(backBuffer, 102, 5), 2);
  EXPECT_EQ(At(backBuffer, 179, 5), 40);
  ReleaseSurface(strip);
}

TEST_F(BlitTest, StretchingTakesTheNearestSourcePixelRoundedDown) {
  // Every pixel of a stretched or shrunk copy is source pixel d * s / D of
  // its row and column, for sizes up, down and odd, keyed or not.
  Surface* from = Numbered(37, 23);
  from->SetColourKey(5);
  for (int dw : {1, 13, 37, 50, 111}) {
    for (int dh : {1, 7, 23, 46, 61}) {
      for (bool keyed : {false, true}) {
        Surface* to = CreateSurface(120, 70);
        std::memset(to->Pixels(), 250, 120 * 70);
        ASSERT_EQ(BlitStretch(to, Rect{3, 4, 3 + dw, 4 + dh}, from, Rect{0, 0, 37, 23}, keyed), DrawResult::Ok);
        for (int y = 0; y < dh; ++y) {
          for (int x = 0; x < dw; ++x) {
            const uint8_t expected = from->Row(y * 23 / dh)[x * 37 / dw];
            const uint8_t shown = keyed && expected == 5 ? 250 : expected;
            ASSERT_EQ(to->Row(4 + y)[3 + x], shown) << dw << "x" << dh << " at " << x << "," << y;
          }
        }
        ReleaseSurface(to);
      }
    }
  }
  ReleaseSurface(from);
}

TEST_F(BlitTest, FillBoxIsClampedToTheScreenOnEverySide) {
  FillBox(backBuffer, 0, 0, 700, 500, 9);
  EXPECT_EQ(At(backBuffer, 0, 0), 9);
  EXPECT_EQ(At(backBuffer, 639, 479), 9);
  FillBox(backBuffer, -10, -10, 700, 500, 4);  // out on both sides at once
  EXPECT_EQ(At(backBuffer, 0, 0), 4);
  EXPECT_EQ(At(backBuffer, 639, 479), 4);
  FillBox(backBuffer, 10, 10, 10, 20, 5);  // empty: nothing
  EXPECT_EQ(At(backBuffer, 10, 10), 4);
}

TEST_F(BlitTest, LostSurfacesAreRestoredAndTheCopyCompletes) {
  backBuffer->MarkLost();
  image->surface->MarkLost();
  DrawImage(image, backBuffer, 0, 0);
  EXPECT_FALSE(backBuffer->IsLost());
  EXPECT_EQ(ImageColumnAt(3, 0), 3);

  backBuffer->ReportStillDrawing(3);
  FillBox(backBuffer, 0, 0, 10, 10, 77);
  EXPECT_EQ(At(backBuffer, 5, 5), 77);
}

TEST_F(BlitTest, ASurfaceThatNeverComesBackDoesNotHangTheGame) {
  // A keyed copy restores only its source; a lost destination stays lost.
  backBuffer->MarkLost();
  DrawSurfaceRectKeyed(backBuffer, 0, 0, Rect{0, 0, 20, 10}, source);
  EXPECT_TRUE(backBuffer->IsLost());
}

TEST_F(BlitTest, CopyScreenCopiesTheWholeScreenOpaque) {
  Surface* picture = CreateSurface(640, 480);
  picture->Row(479)[639] = 3;
  CopyScreen(backBuffer, picture);
  EXPECT_EQ(At(backBuffer, 0, 0), 0);
  EXPECT_EQ(At(backBuffer, 639, 479), 3);
  ReleaseSurface(picture);
}

TEST(BlitterTest, RejectsRectanglesOutsideTheirSurfaces) {
  Surface* a = CreateSurface(10, 10);
  Surface* b = CreateSurface(10, 10);
  EXPECT_EQ(BlitFast(a, 5, 5, b, Rect{0, 0, 6, 6}, false), DrawResult::Failed);
  EXPECT_EQ(BlitFast(a, 0, 0, b, Rect{2, 2, 1, 1}, false), DrawResult::Failed);
  EXPECT_EQ(BlitFast(a, INT32_MAX, 0, b, Rect{0, 0, 1, 1}, false), DrawResult::Failed);
  EXPECT_EQ(BlitFill(a, Rect{0, 0, 11, 10}, 1), DrawResult::Failed);
  EXPECT_EQ(BlitFast(a, 0, 0, b, Rect{0, 0, 10, 10}, false), DrawResult::Ok);
  EXPECT_EQ(CreateSurface(0, 5), nullptr);
  EXPECT_EQ(CreateSurface(kMaxSurfaceSide + 1, 5), nullptr);
  ReleaseSurface(a);
  ReleaseSurface(b);
}

}  // namespace
