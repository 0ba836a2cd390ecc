// The TGA, BMP, PCX and PI1 readers, through LoadImageFile.
#include "gfx/image_loader.h"
#include "tests/media/media_test_support.h"

namespace {

class PictureReadersTest : public MediaTest {
 protected:
  // Loads `name` into a new surface; the palette buffer starts as `palette_`.
  Surface* Load(const char* name) {
    Surface* surface = nullptr;
    EXPECT_EQ(LoadImageFile(name, &surface, palette_.data()), 1) << name;
    surfaces_.push_back(surface);
    return surface;
  }
  void TearDown() override {
    for (Surface*& s : surfaces_) ReleaseSurface(s);
    MediaTest::TearDown();
  }
  Bytes palette_ = Bytes(768, 0x2A);
  std::vector<Surface*> surfaces_;
};

Bytes TgaHeader(int width, int height) {
  Bytes tga(18, 0);
  tga[2] = 2;
  PutLe16(tga, 12, static_cast<uint16_t>(width));
  PutLe16(tga, 14, static_cast<uint16_t>(height));
  tga[16] = 24;
  return tga;
}

void AppendBgr(Bytes& b, int r, int g, int blue) { b.insert(b.end(), {uint8_t(blue), uint8_t(g), uint8_t(r)}); }

TEST_F(PictureReadersTest, TgaBuildsThePaletteInTheOrderColoursAreMet) {
  Bytes tga = TgaHeader(301, 1);
  AppendBgr(tga, 0, 0, 0);
  // 300 colours that differ in their top 6 bits, none black.
  for (int i = 1; i <= 300; ++i) AppendBgr(tga, (i & 63) << 2, (i >> 6) << 2, 4);
  WriteFile("C.TGA", tga);
  Surface* s = Load("C.TGA");
  ASSERT_EQ(s->Width(), 301);
  EXPECT_EQ(s->Row(0)[0], 0);
  for (int i = 1; i <= 255; ++i) ASSERT_EQ(s->Row(0)[i], i);
  for (int i = 256; i <= 300; ++i) ASSERT_EQ(s->Row(0)[i], 0);
  EXPECT_EQ((Bytes{palette_[3], palette_[4], palette_[5]}), (Bytes{1, 0, 1}));
  EXPECT_EQ((Bytes{palette_[0], palette_[1], palette_[2]}), (Bytes{0, 0, 0}));
}

TEST_F(PictureReadersTest, TgaShadesDifferingInLowBitsShareAnEntryAndRowsStayInFileOrder) {
  Bytes tga = TgaHeader(2, 2);
  AppendBgr(tga, 0x80, 0x40, 0x20);
  AppendBgr(tga, 0x83, 0x41, 0x22);
  AppendBgr(tga, 0x03, 0x02, 0x01);  // black once reduced
  AppendBgr(tga, 0xFF, 0, 0);
  WriteFile("S.TGA", tga);
  Surface* s = Load("S.TGA");
  EXPECT_EQ(RowOf(s, 0, 0, 2), (Bytes{1, 1}));
  EXPECT_EQ(RowOf(s, 1, 0, 2), (Bytes{0, 2}));
  EXPECT_EQ(Bytes(palette_.begin(), palette_.begin() + 9), (Bytes{0, 0, 0, 32, 16, 8, 63, 0, 0}));
  EXPECT_EQ(palette_[9], 0);  // the palette was cleared first
}

// An 8-bit BMP: 14-byte file header, information header of `infoSize`
// bytes, 256 colours of (i, 255-i, 4i) in B, G, R order, then the rows.
Bytes Bmp(int width, int height, uint32_t infoSize, const Bytes& rows) {
  Bytes bmp(14 + infoSize, 0);
  bmp[0] = 'B';
  bmp[1] = 'M';
  PutLe32(bmp, 10, 14 + infoSize + 1024);
  PutLe32(bmp, 14, infoSize);
  PutLe32(bmp, 18, static_cast<uint32_t>(width));
  PutLe32(bmp, 22, static_cast<uint32_t>(height));
  PutLe16(bmp, 26, 1);
  PutLe16(bmp, 28, 8);
  for (int i = 0; i < 256; ++i) bmp.insert(bmp.end(), {uint8_t(4 * i), uint8_t(255 - i), uint8_t(i), 0});
  bmp.insert(bmp.end(), rows.begin(), rows.end());
  return bmp;
}

TEST_F(PictureReadersTest, BmpRowsAreBottomUpAndSkipTheirPadding) {
  // Width 5: each stored row is padded to 8 bytes.
  WriteFile("P.BMP", Bmp(5, 2, 40, {1, 2, 3, 4, 5, 0xEE, 0xEE, 0xEE, 6, 7, 8, 9, 10, 0xEE, 0xEE, 0xEE}));
  Surface* s = Load("P.BMP");
  EXPECT_EQ(RowOf(s, 0, 0, 5), (Bytes{6, 7, 8, 9, 10}));
  EXPECT_EQ(RowOf(s, 1, 0, 5), (Bytes{1, 2, 3, 4, 5}));
  EXPECT_EQ((Bytes{palette_[3 * 7], palette_[3 * 7 + 1], palette_[3 * 7 + 2]}), (Bytes{7 >> 2, 248 >> 2, 28 >> 2}));
  // A larger information header moves the colour table along.
  WriteFile("V5.BMP", Bmp(4, 1, 124, {1, 2, 3, 4}));
  s = Load("V5.BMP");
  EXPECT_EQ(RowOf(s, 0, 0, 4), (Bytes{1, 2, 3, 4}));
  EXPECT_EQ(palette_[3 * 255 + 1], 0);
}

TEST_F(PictureReadersTest, BmpTallerOrWiderThanTheScreenIsCut) {
  Bytes rows;
  for (int r = 0; r < 600; ++r) rows.insert(rows.end(), {uint8_t(r), uint8_t(r >> 8), 1, 1});
  WriteFile("T.BMP", Bmp(4, 600, 40, rows));
  Surface* s = Load("T.BMP");
  ASSERT_EQ(s->Height(), 600);
  EXPECT_EQ(RowOf(s, 479, 0, 2), (Bytes{0, 0}));  // the first stored row
  EXPECT_EQ(RowOf(s, 0, 0, 2), (Bytes{479 & 0xFF, 1}));
  EXPECT_EQ(RowOf(s, 480, 0, 4), Bytes(4, 0));
  EXPECT_EQ(RowOf(s, 599, 0, 4), Bytes(4, 0));

  rows.clear();
  for (int r = 0; r < 2; ++r) {
    for (int x = 0; x < 700; ++x) rows.push_back(static_cast<uint8_t>(r * 100 + x % 7));
  }
  WriteFile("W.BMP", Bmp(700, 2, 40, rows));
  s = Load("W.BMP");
  EXPECT_EQ(s->Row(1)[0], 0);
  EXPECT_EQ(s->Row(0)[0], 100);
  EXPECT_EQ(s->Row(0)[639], 100 + 639 % 7);
  EXPECT_EQ(RowOf(s, 0, 640, 700), Bytes(60, 0));
}

Bytes Pcx(int width, int height, int lineBytes, const Bytes& data) {
  Bytes pcx(128, 0);
  pcx[0] = 10;
  pcx[3] = 8;
  PutLe16(pcx, 4, 2);  // Xmin, Ymin not 0 to show the sizes are differences
  PutLe16(pcx, 6, 3);
  PutLe16(pcx, 8, static_cast<uint16_t>(2 + width - 1));
  PutLe16(pcx, 10, static_cast<uint16_t>(3 + height - 1));
  pcx[65] = 1;
  PutLe16(pcx, 66, static_cast<uint16_t>(lineBytes));
  pcx.insert(pcx.end(), data.begin(), data.end());
  return pcx;
}

TEST_F(PictureReadersTest, PcxRunsAndTheLineLength) {
  // Width 3 in lines of 4 bytes: the fourth byte of each line is dropped.
  // 0xC0 writes nothing, 0xC1 0xC5 writes 0xC5 once, a run may cross lines.
  WriteFile("R.PCX", Pcx(3, 2, 4, {0xC0, 9, 0xC1, 0xC5, 7, 0xC3, 8, 0xC2, 1, 2}));
  Surface* s = Load("R.PCX");
  ASSERT_EQ(s->Width(), 3);
  ASSERT_EQ(s->Height(), 2);
  EXPECT_EQ(RowOf(s, 0, 0, 3), (Bytes{0xC5, 7, 8}));
  EXPECT_EQ(RowOf(s, 1, 0, 3), (Bytes{8, 1, 1}));
  EXPECT_EQ(palette_, Bytes(768, 0x2A));  // no marker: as it was
}

TEST_F(PictureReadersTest, PcxPaletteBehindTheMarker) {
  Bytes tail{0x0C};
  for (int i = 0; i < 768; ++i) tail.push_back(static_cast<uint8_t>(i));
  Bytes data{5, 6};
  data.insert(data.end(), tail.begin(), tail.end());
  WriteFile("P.PCX", Pcx(2, 1, 2, data));
  Surface* s = Load("P.PCX");
  EXPECT_EQ(RowOf(s, 0, 0, 2), (Bytes{5, 6}));
  EXPECT_EQ(palette_[0], 0);
  EXPECT_EQ(palette_[767], 767 % 256 >> 2);
}

TEST_F(PictureReadersTest, Pi1PlanesAndPaletteScaling) {
  Bytes pi1(34, 0);
  pi1[2] = 0x07;  // colour 0: red 7
  pi1[3] = 0x00;
  pi1[4] = 0x01;  // colour 1: red 1, green 2, blue 3
  pi1[5] = 0x23;
  Bytes data(32000, 0);
  // First group: pixel 0 from bit 15 of every plane = 15; pixel 1 plane 1 only = 2.
  data[0] = 0x80;
  data[2] = 0xC0;
  data[4] = 0x80;
  data[6] = 0x80;
  data[32000 - 1] = 0x01;  // last pixel, plane 3 only = 8
  pi1.insert(pi1.end(), data.begin(), data.end());
  WriteFile("A.PI1", pi1);
  Surface* s = Load("A.PI1");
  ASSERT_EQ(s->Width(), 320);
  ASSERT_EQ(s->Height(), 200);
  EXPECT_EQ(RowOf(s, 0, 0, 3), (Bytes{15, 2, 0}));
  EXPECT_EQ(s->Row(199)[319], 8);
  EXPECT_EQ(Bytes(palette_.begin(), palette_.begin() + 6), (Bytes{63, 0, 0, 9, 18, 27}));
  EXPECT_EQ(palette_[48], 0x2A);  // entries from 16 on are left as they were
}

}  // namespace
