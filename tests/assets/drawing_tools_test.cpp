// The generator's own tools: choosing and mapping palette colours, distance
// fields and grown shapes, the letter shapes and their layout, the WAV
// writer and the synthesiser's building blocks.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "tools/assets/display_letters.h"
#include "tools/assets/fonts.h"
#include "tools/assets/glyphs.h"
#include "tools/assets/palettes.h"
#include "tools/assets/quantize.h"
#include "tools/assets/shading.h"
#include "tools/assets/synth.h"
#include "tools/assets/wave_writer.h"

namespace {

using namespace assets;

TEST(Quantize, FewColoursAreKeptExactlyAndMappedToThemselves) {
  RgbCanvas picture(40, 10);
  const Colour colours[4] = {Rgb8(252, 0, 0), Rgb8(0, 252, 0), Rgb8(0, 0, 252), Rgb8(128, 128, 128)};
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 40; ++x) picture.At(x, y) = colours[x / 10];
  }
  Palette palette;
  ChoosePaletteColours({{&picture, nullptr, 1.0f}}, palette, 100, 8);
  IndexCanvas out(40, 10, 7);
  MapToPalette(picture, nullptr, palette, 100, 8, 1.0f, out);
  for (int x = 0; x < 40; ++x) {
    uint8_t index = out.At(x, 5);
    ASSERT_GE(index, 100);
    ASSERT_LT(index, 108);
    Colour got = palette.Get(index);
    EXPECT_NEAR(got.r, colours[x / 10].r, 0.02f);
    EXPECT_NEAR(got.g, colours[x / 10].g, 0.02f);
    EXPECT_NEAR(got.b, colours[x / 10].b, 0.02f);
  }
  // Entries outside the range are not touched.
  for (int i = 0; i < 100; ++i) EXPECT_EQ(palette.bytes[3 * i], 0);
}

TEST(Quantize, MaskedPixelsAreLeftAloneAndDitherKeepsTheAverage) {
  RgbCanvas picture(64, 64, Colour{0.5f, 0.5f, 0.5f});
  Palette palette;
  palette.Set(10, Colour{0.3f, 0.3f, 0.3f});
  palette.Set(11, Colour{0.7f, 0.7f, 0.7f});
  IndexCanvas mask(64, 64, 1);
  mask.Fill(0, 0, 64, 8, 0);
  IndexCanvas out(64, 64, 3);
  MapToPalette(picture, &mask, palette, 10, 2, 1.0f, out);
  double sum = 0;
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      if (y < 8) {
        ASSERT_EQ(out.At(x, y), 3);
        continue;
      }
      sum += palette.Get(out.At(x, y)).r;
    }
  }
  EXPECT_NEAR(sum / (64 * 56), 0.5, 0.01);
}

TEST(Shapes, DistancesGrowingAndShrinking) {
  IndexCanvas square(20, 20);
  square.Fill(5, 5, 15, 15, 1);
  std::vector<float> inside = DistanceToEdge(square, true);
  EXPECT_FLOAT_EQ(inside[5 * 20 + 5], 1.0f);    // a corner pixel: its neighbour is outside
  EXPECT_FLOAT_EQ(inside[10 * 20 + 7], 3.0f);   // three pixels in from the left edge
  std::vector<float> outside = DistanceToEdge(square, false);
  EXPECT_FLOAT_EQ(outside[10 * 20 + 2], 3.0f);
  EXPECT_FLOAT_EQ(outside[2 * 20 + 2], std::sqrt(18.0f));
  IndexCanvas grown = Grow(square, 2.0f);
  EXPECT_EQ(grown.At(3, 10), 1);
  EXPECT_EQ(grown.At(2, 10), 0);
  IndexCanvas shrunk = Grow(square, -2.0f);
  EXPECT_EQ(shrunk.At(6, 10), 0);
  EXPECT_EQ(shrunk.At(7, 10), 1);
  // Rounding keeps the body and takes off the corners.
  IndexCanvas round = Smooth(square, 3.0f);
  EXPECT_EQ(round.At(10, 10), 1);
  EXPECT_EQ(round.At(5, 5), 0);
  EXPECT_EQ(round.At(10, 5), 1);
}

TEST(Shapes, BevelledPaintCoversTheShapeAndLightsItsUpperLeftEdge) {
  const int scale = 2;
  IndexCanvas fine(40 * scale, 40 * scale);
  fine.Fill(10 * scale, 10 * scale, 30 * scale, 30 * scale, 1);
  Layer layer = PaintBevelled(fine, scale, 4.0f, false, [](const Surfel& s) {
    return Shade(Colour{0.5f, 0.5f, 0.5f}, s, 0.3f, 0.0f, 1.0f);
  });
  EXPECT_FLOAT_EQ(layer.Coverage(20, 20), 1.0f);
  EXPECT_FLOAT_EQ(layer.Coverage(5, 5), 0.0f);
  // The flat top keeps its colour; the edge facing the light is brighter
  // than the one facing away.
  EXPECT_NEAR(layer.colour.At(20, 20).r, 0.5f, 0.01f);
  EXPECT_GT(layer.colour.At(20, 10).r, layer.colour.At(20, 29).r);
  EXPECT_GT(layer.colour.At(10, 20).r, layer.colour.At(29, 20).r);
}

TEST(Letters, CapitalsSitOnTheBaselineAndOnlyTailedLettersDescend) {
  for (int c = 33; c <= 126; ++c) {
    bool descends = false;
    for (int y = 10; y < kGlyphHeight; ++y) {
      for (int x = 0; x < kGlyphWidth; ++x) descends = descends || GlyphInk(c, x, y);
    }
    const std::string tailed = "gjpqy,;_|";
    EXPECT_EQ(descends, tailed.find(static_cast<char>(c)) != std::string::npos) << static_cast<char>(c);
  }
  for (int c = 'A'; c <= 'Z'; ++c) {
    bool onBaseline = false;
    for (int x = 0; x < kGlyphWidth; ++x) onBaseline = onBaseline || GlyphInk(c, x, 9);
    EXPECT_TRUE(onBaseline) << static_cast<char>(c);
  }
  EXPECT_FALSE(GlyphInk(31, 5, 5));
  EXPECT_FALSE(GlyphInk(128, 5, 5));
  EXPECT_FALSE(GlyphInk('A', -1, 0));
  EXPECT_FALSE(GlyphInk('A', 0, kGlyphHeight));
}

TEST(Letters, FontsDrawShadowAndOutlineOnlyBesideTheLetters) {
  IndexCanvas play = DrawPlayFont(), display = DrawDisplayFont();
  ASSERT_EQ(play.width, kFontPictureWidth);
  ASSERT_EQ(play.height, kFontPictureHeight);
  for (int c = 32; c <= 127; ++c) {
    const int left = ((c - 32) % 16) * 16, top = ((c - 32) / 16) * 14;
    for (int y = 0; y < 14; ++y) {
      for (int x = 0; x < 16; ++x) {
        bool ink = GlyphInk(c, x - 1, y - 1);
        bool nearInk = false;
        for (int dy = -1; dy <= 1; ++dy) {
          for (int dx = -1; dx <= 1; ++dx) nearInk = nearInk || GlyphInk(c, x - 1 + dx, y - 1 + dy);
        }
        uint8_t p = play.At(left + x, top + y), d = display.At(left + x, top + y);
        EXPECT_EQ(p == kFont2Shadow, !ink && GlyphInk(c, x - 2, y - 2)) << c;
        EXPECT_EQ(p != 0 && p != kFont2Shadow, ink) << c;
        EXPECT_EQ(d == kFont1Outline, !ink && nearInk) << c;
        EXPECT_EQ(d == 0, !nearInk) << c;
      }
    }
  }
}

TEST(Letters, TextIsSpacedByItsInk) {
  TextStyle style;
  style.pixelWidth = 2;
  style.pixelHeight = 2;
  style.pad = 0;
  style.scale = 1;
  style.round = 0;
  TextMask narrow = LayOutText("II", style), wide = LayOutText("MM", style), spaced = LayOutText("M M", style);
  EXPECT_LT(narrow.width, wide.width);
  EXPECT_EQ(spaced.width, wide.width + static_cast<int>(style.spaceWidth * style.pixelWidth));
  EXPECT_EQ(wide.height, 20);
  EXPECT_EQ(LayOutText("", style).width, 0);
}

TEST(Sound, WaveFilesHoldClampedSixteenBitSamples) {
  std::vector<uint8_t> wave = EncodeWave16({0.0f, 0.5f, -1.0f, 2.0f, -3.0f}, 22050);
  ASSERT_EQ(wave.size(), 44u + 10u);
  EXPECT_EQ(std::string(wave.begin(), wave.begin() + 4), "RIFF");
  EXPECT_EQ(wave[4] | (wave[5] << 8), 36 + 10);
  EXPECT_EQ(std::string(wave.begin() + 8, wave.begin() + 16), "WAVEfmt ");
  EXPECT_EQ(wave[24] | (wave[25] << 8) | (wave[26] << 16), 22050);
  EXPECT_EQ(wave[34], 16);
  EXPECT_EQ(std::string(wave.begin() + 36, wave.begin() + 40), "data");
  auto sample = [&](int i) { return static_cast<int16_t>(wave[44 + 2 * i] | (wave[45 + 2 * i] << 8)); };
  EXPECT_EQ(sample(0), 0);
  EXPECT_EQ(sample(1), 16384);
  EXPECT_EQ(sample(2), -32767);
  EXPECT_EQ(sample(3), 32767);
  EXPECT_EQ(sample(4), -32767);
}

TEST(Sound, BuildingBlocksKeepTheirLevels) {
  // A vocal-tract resonator passes a steady level unchanged.
  Resonator resonator;
  float out = 0;
  for (int i = 0; i < 5000; ++i) out = resonator.Step(1.0f, 700.0f, 90.0f, 22050);
  EXPECT_NEAR(out, 1.0f, 1e-3f);
  Samples s = AdditiveTone(0.1f, 22050, [](float) { return 440.0f; }, SquarePartial, 64);
  Normalise(s, 0.5f);
  float peak = 0;
  for (float v : s) peak = std::max(peak, std::fabs(v));
  EXPECT_FLOAT_EQ(peak, 0.5f);
  FadeEnds(s, 22050, 0.01f, 0.01f);
  EXPECT_EQ(s.front(), 0.0f);
  EXPECT_EQ(s.back(), 0.0f);
  // Noise is the same for the same seed, and different for another.
  EXPECT_EQ(Noise(100, 7), Noise(100, 7));
  EXPECT_NE(Noise(100, 7), Noise(100, 8));
}

}  // namespace
