#include <gtest/gtest.h>

#include "media/wave_convert.h"
#include "media/wave_file.h"
#include "sound_test_support.h"

namespace {

struct Parsed {
  int result = -1;
  const uint8_t* format = nullptr;
  const uint8_t* data = nullptr;
  uint32_t size = 0;
  uint32_t formatSize = 0;
};

Parsed Parse(const Bytes& image) {
  Parsed p;
  p.result = ParseWaveImage(image.data(), image.size(), &p.format, &p.data, &p.size, &p.formatSize);
  return p;
}

const Bytes kSamples = {1, 2, 3, 4, 5, 6, 7, 8};

TEST(ParseWaveImageTest, StepsOverOtherChunksAndPadBytes) {
  // LIST between fmt and data, and an odd-length chunk whose pad byte must
  // be skipped to find the next chunk.
  Bytes image = RiffWave({Chunk("fmt ", PcmFormat(1, 22050, 8)), Chunk("LIST", Bytes(10, 'x')),
                          Chunk("junk", Bytes(3, 'y')), Chunk("data", kSamples)});
  Parsed p = Parse(image);
  ASSERT_EQ(p.result, 1);
  EXPECT_EQ(p.format, image.data() + 20);
  EXPECT_EQ(p.formatSize, 16u);
  EXPECT_EQ(p.size, kSamples.size());
  ASSERT_NE(p.data, nullptr);
  EXPECT_EQ(Bytes(p.data, p.data + p.size), kSamples);
  EXPECT_EQ(p.data + p.size, image.data() + image.size());
}

TEST(ParseWaveImageTest, FindsDataBeforeFormat) {
  Bytes image = RiffWave({Chunk("data", kSamples), Chunk("fmt ", PcmFormat(2, 44100, 16))});
  Parsed p = Parse(image);
  ASSERT_EQ(p.result, 1);
  EXPECT_EQ(p.data, image.data() + 20);
  EXPECT_EQ(p.format, image.data() + 20 + 8 + 8);
}

TEST(ParseWaveImageTest, FormatOfFourteenBytesIsEnoughTwelveIsNot) {
  Bytes fourteen = RiffWave({Chunk("fmt ", PcmFormat(2, 11025, 16, 14)), Chunk("data", kSamples)});
  Parsed p = Parse(fourteen);
  ASSERT_EQ(p.result, 1);
  EXPECT_EQ(p.formatSize, 14u);
  WaveFormat format;
  ASSERT_TRUE(ReadWaveFormat(p.format, p.formatSize, format));
  EXPECT_EQ(format.channels, 2);
  EXPECT_EQ(format.samplesPerSec, 11025u);
  // No sample-size field: taken from the block of one frame, not from the
  // bytes behind the chunk.
  EXPECT_EQ(format.bitsPerSample, 16);

  Bytes twelve = RiffWave({Chunk("fmt ", PcmFormat(1, 11025, 8, 12)), Chunk("data", kSamples)});
  EXPECT_EQ(Parse(twelve).result, 0);
  EXPECT_FALSE(ReadWaveFormat(p.format, 12, format));
}

TEST(ParseWaveImageTest, OutputsThatAreNotAskedForAreNotWaitedFor) {
  // Without a data chunk, asking only for the format still succeeds.
  Bytes formatOnly = RiffWave({Chunk("fmt ", PcmFormat(1, 8000, 8))});
  const uint8_t* format = nullptr;
  EXPECT_EQ(ParseWaveImage(formatOnly.data(), formatOnly.size(), &format, nullptr, nullptr), 1);
  EXPECT_NE(format, nullptr);
  EXPECT_EQ(Parse(formatOnly).result, 0);

  // Asking only for the size: a short fmt chunk is stepped over unchecked.
  Bytes shortFormat = RiffWave({Chunk("fmt ", Bytes(4, 0)), Chunk("data", kSamples)});
  uint32_t size = 0;
  EXPECT_EQ(ParseWaveImage(shortFormat.data(), shortFormat.size(), nullptr, nullptr, &size), 1);
  EXPECT_EQ(size, kSamples.size());
}

TEST(ParseWaveImageTest, RejectsForeignAndDamagedImages) {
  Bytes good = RiffWave({Chunk("fmt ", PcmFormat(1, 8000, 8)), Chunk("data", kSamples)});
  ASSERT_EQ(Parse(good).result, 1);

  Bytes notRiff = good;
  notRiff[0] = 'X';
  EXPECT_EQ(Parse(notRiff).result, 0);
  Bytes notWave = good;
  notWave[8] = 'X';
  EXPECT_EQ(Parse(notWave).result, 0);
  EXPECT_EQ(Parse(RiffWave({Chunk("fmt ", PcmFormat(1, 8000, 8))})).result, 0);  // no data
  EXPECT_EQ(Parse(RiffWave({Chunk("data", kSamples)})).result, 0);                // no fmt

  // A RIFF size beyond the bytes read makes the file invalid, even by one.
  EXPECT_EQ(Parse(RiffWave({Chunk("fmt ", PcmFormat(1, 8000, 8)), Chunk("data", kSamples)}, 1)).result, 0);

  // A data chunk that claims more bytes than the file holds.
  Bytes longData = good;
  longData[good.size() - kSamples.size() - 4] = 200;
  EXPECT_EQ(Parse(longData).result, 0);

  // Every truncation of a good file: no reads past the end, never valid.
  for (size_t length = 0; length < good.size(); ++length) {
    Bytes cut(good.begin(), good.begin() + static_cast<ptrdiff_t>(length));
    EXPECT_EQ(Parse(cut).result, 0) << length;
  }
  EXPECT_EQ(ParseWaveImage(nullptr, 0, nullptr, nullptr, nullptr), 0);
}

TEST(ParseWaveImageTest, WalkStopsAtTheRiffSize) {
  // A RIFF size that ends before the data chunk hides it, though the bytes
  // are there.
  Bytes image = RiffWave({Chunk("fmt ", PcmFormat(1, 8000, 8)), Chunk("data", kSamples)},
                         -static_cast<int64_t>(kSamples.size() + 8));
  EXPECT_EQ(Parse(image).result, 0);
}

TEST(ConvertWaveTest, ResamplesEightBitMonoToStereoAtTheMixerRate) {
  WaveFormat format{1, 1, 24000, 24000, 1, 8};
  const uint8_t samples[] = {128, 192, 64};  // 0, +0.5, -0.5
  std::vector<float> out;
  ASSERT_TRUE(ConvertWaveToFrames(format, samples, 3, 48000, out));
  ASSERT_EQ(out.size(), 6u * 2);
  const float expected[] = {0.0f, 0.25f, 0.5f, 0.0f, -0.5f, -0.5f};
  for (int i = 0; i < 6; ++i) {
    EXPECT_FLOAT_EQ(out[i * 2], expected[i]) << i;
    EXPECT_FLOAT_EQ(out[i * 2 + 1], expected[i]) << i;
  }
}

TEST(ConvertWaveTest, KeepsSixteenBitStereoChannelsApart) {
  WaveFormat format{1, 2, 48000, 192000, 4, 16};
  Bytes samples;
  PutU16(samples, 16384);             // left +0.5
  PutU16(samples, static_cast<uint16_t>(-32768));  // right -1
  samples.push_back(0xFF);  // a partial frame at the end is left out
  std::vector<float> out;
  ASSERT_TRUE(ConvertWaveToFrames(format, samples.data(), static_cast<uint32_t>(samples.size()), 48000, out));
  ASSERT_EQ(out.size(), 2u);
  EXPECT_FLOAT_EQ(out[0], 0.5f);
  EXPECT_FLOAT_EQ(out[1], -1.0f);

  // 44.1 kHz to 48 kHz keeps the duration.
  Bytes second(44100 * 4, 0);
  format.samplesPerSec = 44100;
  ASSERT_TRUE(ConvertWaveToFrames(format, second.data(), static_cast<uint32_t>(second.size()), 48000, out));
  EXPECT_EQ(out.size(), 48000u * 2);
}

TEST(ConvertWaveTest, RefusesFormatsTheMixerDoesNotPlay) {
  const uint8_t samples[16] = {};
  std::vector<float> out;
  WaveFormat adpcm{2, 1, 8000, 8000, 1, 8};
  WaveFormat threeChannels{1, 3, 8000, 24000, 3, 8};
  WaveFormat twentyFourBit{1, 1, 8000, 24000, 3, 24};
  WaveFormat noRate{1, 1, 0, 0, 1, 8};
  for (const WaveFormat& f : {adpcm, threeChannels, twentyFourBit, noRate}) {
    EXPECT_FALSE(ConvertWaveToFrames(f, samples, sizeof samples, 48000, out));
    EXPECT_TRUE(out.empty());
  }
  // A hundred seconds of sound is no effect: refused instead of taking gigabytes.
  const uint8_t hundred[100] = {};
  WaveFormat slow{1, 1, 1, 1, 1, 8};
  EXPECT_FALSE(ConvertWaveToFrames(slow, hundred, sizeof hundred, 48000, out));
}

}  // namespace
