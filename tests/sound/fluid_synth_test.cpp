#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "media/mds.h"
#include "media/midi_stream.h"
#include "platform/audio.h"
#include "platform/headless/headless_backend.h"
#include "platform/midi_synth.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_backend.h"
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

TEST(SoundFontTest, ThePlayersChoiceComesFirstThenTheVariableThenFluidSynthsOwn) {
  ScratchDirectory scratch;
  scratch.Write("chosen.sf2", Bytes{1});
  scratch.Write("named.sf2", Bytes{2});
  const std::string chosen = (scratch.path() / "chosen.sf2").string(), named = (scratch.path() / "named.sf2").string();
  const char* old = std::getenv("STAKKOR_SOUNDFONT");
  const std::string saved = old ? old : "";
  setenv("STAKKOR_SOUNDFONT", named.c_str(), 1);
  EXPECT_EQ(platform::FindSoundFont(chosen), chosen);
  EXPECT_EQ(platform::FindSoundFont((scratch.path() / "gone.sf2").string()), named);
  unsetenv("STAKKOR_SOUNDFONT");
  // Debian's FluidSynth is set to a font of its own; when it is there, it
  // is the one, ahead of the folders searched before.
  const std::string fluidDefault = platform::FluidSynthDefaultSoundFont();
  if (!fluidDefault.empty() && std::filesystem::exists(fluidDefault)) {
    EXPECT_EQ(platform::FindSoundFont(), fluidDefault);
  }
  if (old) setenv("STAKKOR_SOUNDFONT", saved.c_str(), 1);
}

// The worker thread of the real game: a font that is no SoundFont ends in
// the message that tells the game, a good one in a synth that sounds.
TEST(PendingSynthTest, LoadsOnAWorkerAndTellsTheGameWhenItFails) {
  platform::LaunchOptions options;
  platform::sdl::Start(options);  // loads happen on a worker thread only here
  ScratchDirectory scratch;
  scratch.Write("broken.sf2", Bytes{1, 2, 3, 4});
  auto broken = platform::PendingSynth::Start(48000, (scratch.path() / "broken.sf2").string(), {});
  for (int i = 0; i < 5000 && broken->GetState() == platform::PendingSynth::State::Loading; ++i) platform::Wait();
  EXPECT_EQ(broken->GetState(), platform::PendingSynth::State::Failed);
  EXPECT_EQ(broken->Synth(), nullptr);
  ASSERT_TRUE(platform::PeekMessage());
  Message message;
  ASSERT_TRUE(platform::GetMessage(message));
  EXPECT_EQ(message.message, WM_APP_MUSIC_FAILED);

  const std::string font = platform::FindSoundFont("/usr/share/sounds/sf2/TimGM6mb.sf2");
  if (!font.empty()) {
    auto good = platform::PendingSynth::Start(48000, font, {{0, 80}, {128, 0}});
    for (int i = 0; i < 20000 && good->GetState() == platform::PendingSynth::State::Loading; ++i) platform::Wait();
    ASSERT_EQ(good->GetState(), platform::PendingSynth::State::Ready);
    platform::MidiSynth* synth = good->Synth();
    synth->Reset();
    synth->ShortMessage(0xC0 | 80 << 8);
    synth->ShortMessage(NoteOn(0, 64, 110));
    std::vector<float> frames(4800 * 2);
    synth->Render(frames.data(), 4800);
    float loudest = 0;
    for (float f : frames) loudest = std::max(loudest, std::fabs(f));
    EXPECT_GT(loudest, 0.01f);
    EXPECT_FALSE(platform::PeekMessage());  // no message for a load that worked
  }
  platform::headless::StartForTests();
}

}  // namespace
