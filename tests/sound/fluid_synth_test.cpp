#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "media/mds.h"
#include "media/midi_stream.h"
#include "platform/audio.h"
#include "platform/headless/headless_backend.h"
#include "platform/midi_synth.h"
#include "platform/platform.h"
#include "sound_test_support.h"

namespace {

TEST(SoundFontTest, TheEnvironmentVariableComesFirst) {
  ScratchDirectory scratch;
  scratch.Write("mine.sf2", Bytes{1, 2, 3});
  std::string path = (scratch.path() / "mine.sf2").string();
  const char* old = std::getenv("STAKKOR_SOUNDFONT");
  std::string saved = old ? old : "";
  setenv("STAKKOR_SOUNDFONT", path.c_str(), 1);
  EXPECT_EQ(platform::FindSoundFont(), path);
  // A font that is no SoundFont does not load.
  EXPECT_EQ(platform::CreateFluidSynth(48000, path), nullptr);
  // A variable naming nothing falls back to the system's fonts.
  setenv("STAKKOR_SOUNDFONT", (scratch.path() / "none.sf2").string().c_str(), 1);
  EXPECT_NE(platform::FindSoundFont(), path);
  if (old) {
    setenv("STAKKOR_SOUNDFONT", saved.c_str(), 1);
  } else {
    unsetenv("STAKKOR_SOUNDFONT");
  }
}

TEST(FluidSynthTest, ANoteSoundsThroughTheWholePath) {
  std::string font = platform::FindSoundFont();
  if (font.empty()) GTEST_SKIP() << "no SoundFont installed";
  platform::audio::Close();
  platform::headless::StartForTests();
  std::unique_ptr<platform::MidiSynth> synth = platform::CreateFluidSynth(48000, font);
  ASSERT_NE(synth, nullptr);
  UseMidiSynth(synth.get());
  double sumOfSquares = 0;
  float loudest = 0;
  int64_t frames = 0;
  platform::audio::SetTap([&](const float* out, int count) {
    for (int i = 0; i < count * 2; ++i) {
      sumOfSquares += out[i] * out[i];
      loudest = std::max(loudest, std::fabs(out[i]));
    }
    frames += count;
  });

  Bytes events = StreamEvents({{0, 0x00C0u}, {0, NoteOn(0, 60, 110)}, {480, NoteOn(0, 60, 0)}});
  Bytes file = MdsFile({events});
  MdsHandle* handle = nullptr;
  ASSERT_EQ(MdsOpenImage(file.data(), file.size(), &handle), kMdsDone);
  ASSERT_EQ(MdsPlay(handle, 0), kMdsDone);
  for (int ms = 0; ms < 500; ++ms) platform::Wait();
  MdsClose(handle);
  UseMidiSynth(nullptr);
  platform::audio::SetTap(nullptr);
  platform::audio::Close();

  ASSERT_EQ(frames, 24000);
  double rms = std::sqrt(sumOfSquares / (frames * 2));
  EXPECT_GT(rms, 0.01) << "a piano note should be heard";
  EXPECT_LT(loudest, 1.0f);
}

}  // namespace
