// The PIX format: its run-length code, the writer, and LoadImageFile with
// the reader chosen by name.
#include <algorithm>
#include <filesystem>

#include "gfx/display.h"
#include "gfx/image_loader.h"
#include "media/picture_readers.h"
#include "media/pix_writer.h"
#include "tests/media/media_test_support.h"

namespace {

class PixTest : public MediaTest {};

Bytes Decode(const Bytes& packed, size_t room, ptrdiff_t* written) {
  Bytes out(room, 0xEE);
  *written = DecodePixRle(packed.data(), packed.size(), out.data(), out.size());
  return out;
}

Bytes Gradient(int width, int height) {
  Bytes pixels(static_cast<size_t>(width) * height);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>((i / 7) % 5);
  return pixels;
}

TEST_F(PixTest, RunLengthControlBytes) {
  ptrdiff_t n = 0;
  Bytes out = Decode({0x80, 9, 0x00, 0x82, 4, 0x01, 7}, 8, &n);
  EXPECT_EQ(n, 3);
  EXPECT_EQ(Bytes(out.begin(), out.begin() + 3), (Bytes{4, 4, 7}));
  out = Decode({0xFF, 3}, 200, &n);
  EXPECT_EQ(n, 127);
  EXPECT_EQ(out[126], 3);
  EXPECT_EQ(out[127], 0xEE);
  Bytes literal{0x7F};
  for (int i = 0; i < 127; ++i) literal.push_back(static_cast<uint8_t>(i));
  out = Decode(literal, 127, &n);
  EXPECT_EQ(n, 127);
  EXPECT_EQ(out[126], 126);
  // Tokens that reach past the data or the room are refused.
  Decode({0x83}, 10, &n);
  EXPECT_EQ(n, -1);
  Decode({0x03, 1, 2}, 10, &n);
  EXPECT_EQ(n, -1);
  Decode({0x83, 1}, 2, &n);
  EXPECT_EQ(n, -1);
}

TEST_F(PixTest, WriterPacksWhenItPaysAndUsesTheShortLengthOnlyFor320x200) {
  const Bytes palette = TestPalette();
  Bytes flat(320 * 200, 5);
  Bytes file = EncodePixFile(320, 200, flat.data(), palette.data());
  EXPECT_EQ(Bytes(file.begin(), file.begin() + 11), (Bytes{'P', 'I', 'X', 0, 11, 64, 1, 200, 0, 0, 0}));
  const size_t packedLength = file[11] | (file[12] << 8);
  EXPECT_EQ(file.size(), 11 + 2 + packedLength + 768);
  EXPECT_LT(packedLength, 1100u);
  file = EncodePixFile(320, 201, Bytes(320 * 201, 5).data(), palette.data());
  EXPECT_EQ(file.size(), 11 + 4 + (file[11] | (file[12] << 8)) + 768u);
  // Noise does not pack: stored raw, its length the pixel count.
  Bytes noise(97 * 3);
  for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<uint8_t>(i * 37 % 251);
  file = EncodePixFile(97, 3, noise.data(), palette.data());
  EXPECT_EQ(file[11] | (file[12] << 8), 97 * 3);
  EXPECT_EQ(Bytes(file.begin() + 15, file.begin() + 15 + noise.size()), noise);
  EXPECT_TRUE(EncodePixFile(0, 3, noise.data(), palette.data()).empty());
}

TEST_F(PixTest, WrittenPicturesLoadBackWithTheirPalette) {
  const Bytes palette = TestPalette();
  for (auto [w, h] : {std::pair{320, 200}, {640, 480}, {33, 7}, {1, 1}}) {
    const Bytes pixels = Gradient(w, h);
    WriteFile("P.PIX", EncodePixFile(w, h, pixels.data(), palette.data()));
    Surface* surface = nullptr;
    Bytes got(768, 0);
    ASSERT_EQ(LoadImageFile("P.PIX", &surface, got.data()), 1) << w << "x" << h;
    ASSERT_EQ(surface->Width(), w);
    ASSERT_EQ(surface->Height(), h);
    EXPECT_EQ(Bytes(surface->Pixels(), surface->Pixels() + pixels.size()), pixels);
    EXPECT_EQ(got, palette);
    ReleaseSurface(surface);
  }
}

TEST_F(PixTest, LengthOfWidthTimesHeightIsRawEvenIfItReadsAsTokens) {
  WriteFile("R.PIX", MakePix(2, 2, {0x83, 9, 0x01, 4}, 4));
  Surface* surface = nullptr;
  ASSERT_EQ(LoadImageFile("R.PIX", &surface, nullptr), 1);
  EXPECT_EQ(RowOf(surface, 0, 0, 2), (Bytes{0x83, 9}));
  EXPECT_EQ(RowOf(surface, 1, 0, 2), (Bytes{1, 4}));
  ReleaseSurface(surface);
}

TEST_F(PixTest, HeaderlessAndScreenDumpsAreFullScreen) {
  Bytes packed;
  for (int i = 0; i < 640 * 480 / 120; ++i) packed.insert(packed.end(), {0xF8, static_cast<uint8_t>(i % 3)});
  Bytes headerless(2 + packed.size());
  PutLe16(headerless, 0, static_cast<uint16_t>(packed.size()));
  std::copy(packed.begin(), packed.end(), headerless.begin() + 2);
  const Bytes palette = TestPalette();
  headerless.insert(headerless.end(), palette.begin(), palette.end());
  WriteFile("H.PIX", headerless);
  Bytes dump(640 * 480 + palette.size(), 3);
  dump[641] = 8;
  std::copy(palette.begin(), palette.end(), dump.begin() + 640 * 480);
  WriteFile("S.PIC", dump);

  Surface* surface = nullptr;
  Bytes got(768);
  ASSERT_EQ(LoadImageFile("H.PIX", &surface, got.data()), 1);
  EXPECT_EQ(surface->Width(), 640);
  EXPECT_EQ(surface->Row(479)[639], (640 * 480 / 120 - 1) % 3);
  EXPECT_EQ(got, palette);
  ReleaseSurface(surface);
  ASSERT_EQ(LoadImageFile("S.PIC", &surface, got.data()), 1);
  EXPECT_EQ(surface->Row(1)[1], 8);
  EXPECT_EQ(surface->Height(), 480);
  ReleaseSurface(surface);
}

TEST_F(PixTest, ReaderIsChosenByTheFirstTextFoundAnywhereInTheName) {
  // A screen dump named like a PIX file in a directory whose name holds ".PIC".
  std::filesystem::create_directory("art.pic");
  Bytes dump(640 * 480 + 768, 6);
  WriteFile("art.pic/TITELS.PIX", dump);
  Surface* surface = nullptr;
  ASSERT_EQ(LoadImageFile("art.pic/TITELS.PIX", &surface, nullptr), 1);
  EXPECT_EQ(surface->Width(), 640);
  ReleaseSurface(surface);
  // ".BMP" comes before ".PIX".
  Bytes bmp(14 + 40 + 1024, 0);
  PutLe32(bmp, 10, static_cast<uint32_t>(bmp.size()));
  PutLe32(bmp, 14, 40);
  PutLe32(bmp, 18, 4);
  PutLe32(bmp, 22, 1);
  PutLe16(bmp, 28, 8);
  bmp.insert(bmp.end(), {1, 2, 3, 4});
  WriteFile("x.bmp.pix", bmp);
  ASSERT_EQ(LoadImageFile("x.bmp.pix", &surface, nullptr), 1);
  EXPECT_EQ(RowOf(surface, 0, 0, 4), (Bytes{1, 2, 3, 4}));
  ReleaseSurface(surface);
  // No reader: ".GIF", or none of the texts.
  WriteFile("A.GIF", dump);
  WriteFile("A.PNG", dump);
  EXPECT_EQ(LoadImageFile("A.GIF", &surface, nullptr), 0);
  EXPECT_EQ(LoadImageFile("A.PNG", &surface, nullptr), 0);
  EXPECT_EQ(LoadImageFile("MISSING.PIX", &surface, nullptr), 0);
  EXPECT_EQ(surface, nullptr);
}

TEST_F(PixTest, PictureInAnArchiveIsReadFromTheMembersStart) {
  const Bytes pixels = Gradient(20, 10);
  const Bytes palette = TestPalette();
  WriteFile("DATA.ONE", MakeArchive({{"pad", Bytes(333, 1)},
                                     {"TITELS.PIX", EncodePixFile(20, 10, pixels.data(), palette.data())},
                                     {"after", Bytes(50, 2)}}));
  Surface* surface = nullptr;
  Bytes got(768);
  ASSERT_EQ(LoadImageFile("titels.pix", &surface, got.data()), 1);
  EXPECT_EQ(Bytes(surface->Pixels(), surface->Pixels() + pixels.size()), pixels);
  EXPECT_EQ(got, palette);
  ReleaseSurface(surface);
}

TEST_F(PixTest, LoadingIntoAnExistingSurfaceReplacesOnlyItsTopLeft) {
  WriteFile("P.PIX", MakePix(3, 2, {1, 2, 3, 4, 5, 6}, 4));
  Surface* surface = CreateSurface(5, 4);
  Surface* const before = surface;
  BlitFill(surface, Rect{0, 0, 5, 4}, 9);
  ASSERT_EQ(LoadImageFile("P.PIX", &surface, nullptr), 1);
  EXPECT_EQ(surface, before);
  EXPECT_EQ(RowOf(surface, 0, 0, 5), (Bytes{1, 2, 3, 9, 9}));
  EXPECT_EQ(RowOf(surface, 1, 0, 5), (Bytes{4, 5, 6, 9, 9}));
  EXPECT_EQ(RowOf(surface, 2, 0, 5), Bytes(5, 9));
  // A surface smaller than the picture takes what fits.
  Surface* small = CreateSurface(2, 1);
  ASSERT_EQ(LoadImageFile("P.PIX", &small, nullptr), 1);
  EXPECT_EQ(RowOf(small, 0, 0, 2), (Bytes{1, 2}));
  ReleaseSurface(small);
  ReleaseSurface(surface);
}

TEST_F(PixTest, SurfaceFailureIsMinusTwoAndLeavesSlotAndPalette) {
  WriteFile("P.PIX", MakePix(3, 2, {1, 2, 3, 4, 5, 6}, 4, TestPalette()));
  SetSurfaceCreationFailsForTests(true);
  Surface* surface = nullptr;
  Bytes got(768, 1);
  EXPECT_EQ(LoadImageFile("P.PIX", &surface, got.data()), -2);
  EXPECT_EQ(surface, nullptr);
  EXPECT_EQ(got, Bytes(768, 1));
}

}  // namespace
