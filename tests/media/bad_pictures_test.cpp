// Damaged or hostile picture files are "not found": result 0, no surface,
// the caller's palette untouched. (The fuzzers check that nothing is read
// out of bounds on the way.)
#include "gfx/image_loader.h"
#include "media/pix_writer.h"
#include "tests/media/media_test_support.h"

namespace {

class BadPicturesTest : public MediaTest {
 protected:
  void ExpectRefused(const char* name, const Bytes& file) {
    WriteFile(name, file);
    Surface* surface = nullptr;
    Bytes palette(768, 0x11);
    EXPECT_EQ(LoadImageFile(name, &surface, palette.data()), 0) << name << " of " << file.size() << " bytes";
    EXPECT_EQ(surface, nullptr);
    EXPECT_EQ(palette, Bytes(768, 0x11));
    ReleaseSurface(surface);
  }
};

Bytes Cut(const Bytes& b, size_t size) { return Bytes(b.begin(), b.begin() + static_cast<ptrdiff_t>(size)); }

TEST_F(BadPicturesTest, Pix) {
  const Bytes pixels(8 * 4, 3);
  const Bytes good = EncodePixFile(8, 4, pixels.data(), TestPalette().data());
  for (size_t size : {size_t{0}, size_t{5}, size_t{12}, size_t{16}, good.size() - 1}) ExpectRefused("A.PIX", Cut(good, size));
  ExpectRefused("B.PIX", MakePix(2, 2, {1, 2, 3, 4, 5}, 4));        // length beyond width x height
  ExpectRefused("C.PIX", MakePix(2, 2, {0x85, 1}, 4));              // expands beyond
  ExpectRefused("D.PIX", MakePix(2, 2, {0x83, 1}, 4));              // expands short
  ExpectRefused("E.PIX", MakePix(2, 2, {0x02, 1}, 4));              // literal past the data
  ExpectRefused("F.PIX", MakePix(0, 2, {}, 4));
  ExpectRefused("G.PIX", MakePix(-3, 2, {0x86, 1}, 4));
  ExpectRefused("H.PIX", MakePix(4097, 1, {0xFF, 1}, 4));
  ExpectRefused("I.PIX", MakePix(4096, 4096, {0xFF, 1}, 4));  // claims far more than its data can make
  Bytes flagged = good;
  flagged[9] = 1;
  ExpectRefused("J.PIX", flagged);
  Bytes offset = good;
  offset[4] = 250;
  ExpectRefused("K.PIX", offset);
  Bytes length = good;
  PutLe32(length, 11, 0xFFFFFFFF);
  ExpectRefused("L.PIX", length);
  // Headerless: length past the end, data not filling the screen.
  ExpectRefused("M.PIX", Bytes{0xFF, 0xFF, 0x81, 1});
  Bytes small{2, 0, 0x81, 1};
  small.resize(small.size() + 768);
  ExpectRefused("N.PIX", small);
  ExpectRefused("O.PIC", Bytes(640 * 480 + 767, 1));
}

TEST_F(BadPicturesTest, Tga) {
  Bytes tga(18, 0);
  tga[2] = 2;
  tga[16] = 24;
  auto sized = [&](int w, int h, size_t pixelBytes) {
    Bytes t = tga;
    PutLe16(t, 12, static_cast<uint16_t>(w));
    PutLe16(t, 14, static_cast<uint16_t>(h));
    t.resize(18 + pixelBytes, 9);
    return t;
  };
  ExpectRefused("A.TGA", Cut(tga, 17));
  ExpectRefused("B.TGA", sized(2, 2, 11));
  ExpectRefused("C.TGA", sized(0, 2, 0));
  ExpectRefused("D.TGA", sized(641, 480, 641 * 480 * 3));  // more than the screen-sized buffer
  Bytes packed = sized(1, 1, 3);
  packed[2] = 10;
  ExpectRefused("E.TGA", packed);
  Bytes depth = sized(1, 1, 4);
  depth[16] = 32;
  ExpectRefused("F.TGA", depth);
}

TEST_F(BadPicturesTest, Bmp) {
  Bytes bmp(14 + 40 + 1024, 0);
  PutLe32(bmp, 10, static_cast<uint32_t>(bmp.size()));
  PutLe32(bmp, 14, 40);
  PutLe16(bmp, 28, 8);
  auto sized = [&](int32_t w, int32_t h, size_t pixelBytes) {
    Bytes b = bmp;
    PutLe32(b, 18, static_cast<uint32_t>(w));
    PutLe32(b, 22, static_cast<uint32_t>(h));
    b.resize(b.size() + pixelBytes, 1);
    return b;
  };
  ExpectRefused("A.BMP", Cut(bmp, 53));
  ExpectRefused("B.BMP", sized(4, -2, 8));
  ExpectRefused("C.BMP", sized(4097, 1, 4100));
  ExpectRefused("D.BMP", sized(4, 2, 7));
  ExpectRefused("E.BMP", sized(4096, 4096, 4096));
  Bytes depth = sized(4, 1, 12);
  PutLe16(depth, 28, 24);
  ExpectRefused("F.BMP", depth);
  Bytes rle = sized(4, 1, 4);
  PutLe32(rle, 30, 1);
  ExpectRefused("G.BMP", rle);
  Bytes offset = sized(4, 1, 4);
  PutLe32(offset, 10, 0xFFFFFFF0);
  ExpectRefused("H.BMP", offset);
}

TEST_F(BadPicturesTest, PcxAndPi1) {
  Bytes pcx(128, 0);
  auto sized = [&](int x0, int x1, int y1, int lineBytes, const Bytes& data) {
    Bytes p = pcx;
    PutLe16(p, 4, static_cast<uint16_t>(x0));
    PutLe16(p, 8, static_cast<uint16_t>(x1));
    PutLe16(p, 10, static_cast<uint16_t>(y1));
    PutLe16(p, 66, static_cast<uint16_t>(lineBytes));
    p.insert(p.end(), data.begin(), data.end());
    return p;
  };
  ExpectRefused("A.PCX", Cut(pcx, 127));
  ExpectRefused("B.PCX", sized(0, 3, 0, 4, {1, 2, 3}));        // data ends early
  ExpectRefused("C.PCX", sized(0, 3, 0, 4, {1, 2, 3, 0xC1}));  // run without its value
  ExpectRefused("D.PCX", sized(0, 3, 0, 2, {1, 2, 3, 4}));     // line shorter than the width
  ExpectRefused("E.PCX", sized(5, 3, 0, 4, {1, 2, 3, 4}));     // Xmax before Xmin
  ExpectRefused("F.PCX", sized(0, 999, 999, 1000, {0xFF, 1}));
  ExpectRefused("A.PI1", Bytes(34 + 31999, 0));
}

TEST_F(BadPicturesTest, MembersEndWhereTheArchiveSaysEvenIfMoreBytesFollow) {
  const Bytes pixels(8 * 4, 3);
  const Bytes pix = EncodePixFile(8, 4, pixels.data(), TestPalette().data());
  Bytes archive = MakeArchive({{"A.PIX", pix}, {"after", Bytes(1000, 0)}});
  PutLe32(archive, 6 + 1028, static_cast<uint32_t>(pix.size() - 1));
  WriteFile("DATA.ONE", archive);
  Surface* surface = nullptr;
  EXPECT_EQ(LoadImageFile("A.PIX", &surface, nullptr), 0);
  EXPECT_EQ(surface, nullptr);
}

}  // namespace
