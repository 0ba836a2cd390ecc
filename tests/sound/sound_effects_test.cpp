#include <gtest/gtest.h>

#include <cmath>

#include "media/midi_stream.h"
#include "media/mds.h"
#include "media/mixer.h"
#include "media/sound_effects.h"
#include "media/wave_loader.h"
#include "platform/audio.h"
#include "platform/headless/headless_backend.h"
#include "platform/platform.h"
#include "sound_test_support.h"

namespace {

const char* const kFiles[] = {"WURF.WAV", "REIHEN.WAV", "VIERER.WAV", "GAMEOVER.WAV",
                              "START.WAV", "LACH.WAV", "TSCHAU.WAV"};

// The effects on the null device of the headless backend, in a scratch
// directory that holds their files.
class SoundEffectsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::audio::Close();
    platform::headless::StartForTests();
  }
  void TearDown() override {
    ReleaseSoundEffects();
    platform::audio::SetTap(nullptr);
    platform::audio::SetLogPath("");
    platform::audio::Close();
  }

  static void RunMilliseconds(int ms) {
    for (int i = 0; i < ms; ++i) platform::Wait();
  }

  ScratchDirectory scratch;
};

TEST_F(SoundEffectsTest, LoadsWhatItCanAndNamesTheMissingFile) {
  scratch.Write("WURF.WAV", SimpleWave(1, 11025, 8, 1103));
  scratch.Write("REIHEN.WAV", SimpleWave(2, 44100, 16, 4410));
  scratch.Write("VIERER.WAV", SimpleWave(1, 48000, 16, 480));
  scratch.Write("GAMEOVER.WAV", SimpleWave(2, 22050, 8, 100));
  // Valid chunks, but a fmt of 12 bytes: silent without a message.
  scratch.Write("START.WAV", RiffWave({Chunk("fmt ", PcmFormat(1, 8000, 8, 12)), Chunk("data", Bytes(8, 1))}));
  // A format the mixer does not play (IEEE float): silent too.
  Bytes floatFormat = PcmFormat(1, 8000, 32);
  floatFormat[0] = 3;
  scratch.Write("LACH.WAV", RiffWave({Chunk("fmt ", floatFormat), Chunk("data", Bytes(8, 0))}));
  // TSCHAU.WAV is missing.

  ASSERT_EQ(InitSoundEffects(), 1);
  EXPECT_EQ(platform::headless::LastMessageBox(), "Error reading file: TSCHAU.WAV");
  const size_t expectedFrames[] = {4803, 4800, 480, 218};
  for (int slot = 0; slot < 4; ++slot) {
    ASSERT_NE(soundEffects[slot], nullptr) << kFiles[slot];
    EXPECT_EQ(soundEffects[slot]->frames.size() / 2, expectedFrames[slot]) << kFiles[slot];
  }
  for (int slot = 4; slot < 7; ++slot) EXPECT_EQ(soundEffects[slot], nullptr) << kFiles[slot];

  // Silent effects play as nothing at all.
  PlaySoundStart();
  PlaySoundLach();
  PlaySoundTschau();
  for (int slot = 4; slot < 7; ++slot) EXPECT_FALSE(MixerEffectSounding(slot));
}

TEST_F(SoundEffectsTest, APlayCallWhileSoundingLeavesItAndAfterTheEndStartsAgain) {
  scratch.Write("WURF.WAV", SimpleWave(1, 48000, 16, 4800));  // 100 ms
  platform::audio::SetLogPath((scratch.path() / "audio.log").string());
  std::vector<float> heard;
  ASSERT_EQ(InitSoundEffects(), 1);
  platform::audio::SetTap([&](const float* frames, int count) { heard.insert(heard.end(), frames, frames + count * 2); });

  PlaySoundWurf();
  RunMilliseconds(50);
  EXPECT_EQ(soundEffects[0]->position.load(), 2400);
  PlaySoundWurf();  // still sounding: goes on from where it is
  EXPECT_EQ(soundEffects[0]->position.load(), 2400);
  RunMilliseconds(50);
  EXPECT_FALSE(MixerEffectSounding(0));
  RunMilliseconds(10);
  PlaySoundWurf();  // ended: plays again from the start
  EXPECT_EQ(soundEffects[0]->position.load(), 0);
  RunMilliseconds(1);

  // One sound, not two on top of each other: frame 2400 holds sample 2400.
  ASSERT_GE(heard.size(), 4801u * 2);
  EXPECT_FLOAT_EQ(heard[0], 1000 / 32768.0f * kEffectGain);
  EXPECT_FLOAT_EQ(heard[2400 * 2], (1000 + 2400 % 1000) / 32768.0f * kEffectGain);
  EXPECT_FLOAT_EQ(heard[4800 * 2], 0.0f);
  EXPECT_FLOAT_EQ(heard[5280 * 2], 1000 / 32768.0f * kEffectGain);

  EXPECT_EQ(ReadLines(scratch.path() / "audio.log"),
            (std::vector<std::string>{"0 effect WURF.WAV", "110 effect WURF.WAV"}));
}

TEST_F(SoundEffectsTest, ReleasedEffectsAreSilent) {
  scratch.Write("VIERER.WAV", SimpleWave(1, 8000, 8, 800));
  ASSERT_EQ(InitSoundEffects(), 1);
  ASSERT_NE(soundEffects[2], nullptr);
  ReleaseSoundEffects();
  EXPECT_EQ(soundEffects[2], nullptr);
  PlaySoundVierer();
  EXPECT_FALSE(MixerEffectSounding(2));
}

TEST_F(SoundEffectsTest, EverythingAtOnceBendsIntoFullScale) {
  // Seven effects at full scale and the music together.
  Bytes loud;
  for (int i = 0; i < 4800; ++i) PutU16(loud, i % 2 ? 32767 : static_cast<uint16_t>(-32768));
  for (const char* name : kFiles) {
    scratch.Write(name, RiffWave({Chunk("fmt ", PcmFormat(1, 48000, 16)), Chunk("data", loud)}));
  }
  ASSERT_EQ(InitSoundEffects(), 1);
  float loudest = 0.0f;
  platform::audio::SetTap([&](const float* frames, int count) {
    for (int i = 0; i < count * 2; ++i) loudest = std::max(loudest, std::fabs(frames[i]));
  });
  PlaySoundWurf();
  PlaySoundReihen();
  PlaySoundVierer();
  PlaySoundGameOver();
  PlaySoundStart();
  PlaySoundLach();
  PlaySoundTschau();
  RunMilliseconds(20);
  EXPECT_GT(loudest, 0.95f);
  EXPECT_LE(loudest, 1.0f);
}

TEST_F(SoundEffectsTest, LevelsAboveTheKneeAreBentSoftlyNotCut) {
  Bytes loud;
  for (int i = 0; i < 4800; ++i) PutU16(loud, i % 2 ? 32767 : static_cast<uint16_t>(-32768));
  for (const char* name : {"WURF.WAV", "REIHEN.WAV"}) {
    scratch.Write(name, RiffWave({Chunk("fmt ", PcmFormat(1, 48000, 16)), Chunk("data", loud)}));
  }
  ASSERT_EQ(InitSoundEffects(), 1);
  float loudest = 0.0f;
  platform::audio::SetTap([&](const float* frames, int count) {
    for (int i = 0; i < count * 2; ++i) loudest = std::max(loudest, std::fabs(frames[i]));
  });
  // One effect at full scale plays at the effects' level, a little above
  // the knee: it comes out a little lower.
  PlaySoundWurf();
  RunMilliseconds(20);
  EXPECT_GT(loudest, 0.75f);
  EXPECT_LT(loudest, kEffectGain - 0.0005f);
  // Two at once would go far past full scale: bent just under the
  // limiter's ceiling, where a hard clip would sit flat on it.
  loudest = 0.0f;
  RunMilliseconds(200);
  PlaySoundWurf();
  PlaySoundReihen();
  RunMilliseconds(20);
  EXPECT_GT(loudest, 0.97f);
  EXPECT_LT(loudest, 0.9799f);
}

TEST_F(SoundEffectsTest, TheEffectsVolumeScalesByItsSquareAndZeroIsSilent) {
  scratch.Write("WURF.WAV", SimpleWave(1, 48000, 16, 4800));
  std::vector<float> heard;
  ASSERT_EQ(InitSoundEffects(), 1);
  platform::audio::SetTap([&](const float* frames, int count) { heard.insert(heard.end(), frames, frames + count * 2); });
  SetMixerVolumes(100, 50);
  PlaySoundWurf();
  RunMilliseconds(2);
  SetMixerVolumes(100, 0);
  RunMilliseconds(2);
  SetMixerVolumes(100, 100);
  ASSERT_GE(heard.size(), 192u * 2);
  EXPECT_FLOAT_EQ(heard[0], 1000 / 32768.0f * kEffectGain * 0.25f);
  EXPECT_FLOAT_EQ(heard[50 * 2], (1000 + 50) / 32768.0f * kEffectGain * 0.25f);
  EXPECT_FLOAT_EQ(heard[100 * 2], 0.0f);  // the effect plays on, unheard
  EXPECT_FLOAT_EQ(VolumeFactor(100), 1.0f);
  EXPECT_FLOAT_EQ(VolumeFactor(-3), 0.0f);
  EXPECT_FLOAT_EQ(VolumeFactor(250), 1.0f);
}

TEST_F(SoundEffectsTest, AllSevenAtFullScaleAndFullVolumeBendInsteadOfClipping) {
  // Every sample at the top of the 16-bit range.
  Bytes loud = SimpleWave(2, 48000, 16, 0);
  Bytes body;
  for (int i = 0; i < 4800 * 2; ++i) PutU16(body, 32767);
  loud = RiffWave({Chunk("fmt ", PcmFormat(2, 48000, 16)), Chunk("data", body)});
  for (const char* file : kFiles) scratch.Write(file, loud);
  float loudest = 0;
  ASSERT_EQ(InitSoundEffects(), 1);
  platform::audio::SetTap([&](const float* frames, int count) {
    for (int i = 0; i < count * 2; ++i) loudest = std::max(loudest, std::fabs(frames[i]));
  });
  SetMixerVolumes(100, 100);
  PlaySoundWurf();
  PlaySoundReihen();
  PlaySoundVierer();
  PlaySoundGameOver();
  PlaySoundStart();
  PlaySoundLach();
  PlaySoundTschau();
  RunMilliseconds(20);
  EXPECT_GT(loudest, 0.95f);
  EXPECT_LE(loudest, 0.98f);
}

}  // namespace
