// Bitmap fonts: glyph placement, whole glyphs only, empty cells, stretching.
#include "gfx/font.h"
#include "media/pix_writer.h"
#include "tests/media/media_test_support.h"

namespace {

constexpr int kCellW = 16, kCellH = 14;

// Glyph cell k is filled with colour k + 1, but its top left pixel is 0.
void WriteFont(const char* name, int width, int height) {
  Bytes pixels(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int cell = (y / kCellH) * (width / kCellW) + x / kCellW;
      pixels[y * width + x] = (x % kCellW == 0 && y % kCellH == 0) ? 0 : static_cast<uint8_t>(cell + 1);
    }
  }
  WriteFile(name, EncodePixFile(width, height, pixels.data(), TestPalette().data()));
}

class FontTest : public MediaTest {
 protected:
  void SetUp() override {
    MediaTest::SetUp();
    WriteFont("FONT1.PIX", 128, 12 * kCellH);
    FontInit(&font_, "FONT1.PIX", 0, 32, kCellW, kCellH);
    dest_ = CreateSurface(640, 480);
    BlitFill(dest_, Rect{0, 0, 640, 480}, 250);
  }
  void TearDown() override {
    FontRelease(&font_);
    ReleaseSurface(dest_);
    MediaTest::TearDown();
  }
  // Whether the box holds only `colour`, the transparent corner aside.
  bool Glyph(int x, int y, int w, int h, uint8_t colour) {
    for (int j = 0; j < h; ++j) {
      for (int i = 0; i < w; ++i) {
        const uint8_t want = (i == 0 && j == 0) ? 250 : colour;
        if (dest_->Row(y + j)[x + i] != want) return false;
      }
    }
    return true;
  }
  bool Untouched(int x0, int y0, int x1, int y1) {
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) {
        if (dest_->Row(y)[x] != 250) return false;
      }
    }
    return true;
  }
  BitmapFont font_;
  Surface* dest_ = nullptr;
};

constexpr uint8_t ColourOf(char c) { return static_cast<uint8_t>(c - 32 + 1); }

TEST_F(FontTest, InitFillsTheRecord) {
  EXPECT_EQ(font_.glyphsPerRow, 8);
  EXPECT_EQ(font_.advance, kCellW);
  EXPECT_EQ(font_.drawHeight, kCellH);
  EXPECT_EQ(font_.firstCharOffset, 0);
  ASSERT_NE(font_.surface, nullptr);
  EXPECT_TRUE(font_.surface->HasColourKey());
  BitmapFont other;
  FontInit(&other, "FONT1.PIX", 0, 40, 16, 14);
  EXPECT_EQ(other.firstCharOffset, 8);
  FontRelease(&other);
  EXPECT_EQ(other.surface, nullptr);
}

TEST_F(FontTest, GlyphsSitSideBySideKeyedOrOpaque) {
  PrintText(&font_, dest_, 100, 50, "AB");
  EXPECT_TRUE(Glyph(100, 50, 16, 14, ColourOf('A')));
  EXPECT_TRUE(Glyph(116, 50, 16, 14, ColourOf('B')));
  EXPECT_TRUE(Untouched(132, 50, 150, 64));
  EXPECT_TRUE(Untouched(100, 64, 132, 70));
  PrintTextOpaque(&font_, dest_, 100, 100, "A");
  EXPECT_EQ(dest_->Row(100)[100], 0);  // the background comes along
  PrintText(&font_, dest_, 0, 0, "");
  EXPECT_TRUE(Untouched(0, 0, 50, 20));
}

TEST_F(FontTest, OddBytesLeaveEmptyCellsAndEdgesCutWholeGlyphs) {
  PrintText(&font_, dest_, 0, 0, "A\xE4\x07" "B");
  EXPECT_TRUE(Glyph(0, 0, 16, 14, ColourOf('A')));
  EXPECT_TRUE(Untouched(16, 0, 48, 14));
  EXPECT_TRUE(Glyph(48, 0, 16, 14, ColourOf('B')));
  PrintText(&font_, dest_, 600, 100, "ABC");
  EXPECT_TRUE(Glyph(616, 100, 16, 14, ColourOf('B')));
  EXPECT_TRUE(Untouched(632, 100, 640, 114));
  PrintText(&font_, dest_, 10, 470, "A");
  EXPECT_TRUE(Untouched(10, 470, 26, 480));
  PrintText(&font_, dest_, -5, 200, "A");
  EXPECT_TRUE(Untouched(0, 200, 11, 214));
}

TEST_F(FontTest, AdvanceOtherThanTheCellStretches) {
  font_.advance = 8;
  PrintTextOpaque(&font_, dest_, 0, 0, "AB");
  EXPECT_EQ(RowOf(dest_, 0, 0, 9), (Bytes{0, ColourOf('A'), ColourOf('A'), ColourOf('A'), ColourOf('A'),
                                          ColourOf('A'), ColourOf('A'), ColourOf('A'), 0}));
  EXPECT_EQ(dest_->Row(13)[15], ColourOf('B'));
  EXPECT_EQ(dest_->Row(0)[16], 250);
}

TEST_F(FontTest, MissingOrSmallPictureDrawsWhatItHas) {
  BitmapFont missing;
  FontInit(&missing, "NOFONT.PIX", 0, 32, kCellW, kCellH);
  EXPECT_EQ(missing.surface, nullptr);
  PrintText(&missing, dest_, 0, 0, "A");
  EXPECT_TRUE(Untouched(0, 0, 16, 14));
  // Two cells: ' ' and '!'; 'A' lies outside the picture.
  WriteFont("TINY.PIX", 32, kCellH);
  BitmapFont tiny;
  FontInit(&tiny, "TINY.PIX", 0, 32, kCellW, kCellH);
  PrintTextOpaque(&tiny, dest_, 0, 300, "!A");
  EXPECT_EQ(dest_->Row(301)[1], 2);
  EXPECT_TRUE(Untouched(16, 300, 32, 314));
  FontRelease(&tiny);
}

}  // namespace
