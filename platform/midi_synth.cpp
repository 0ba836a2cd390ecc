// The SoundFont search, the null synth, and the choice of synth by backend.
#include "platform/midi_synth.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <exception>
#include <thread>
#include <vector>

#include "platform/backend.h"
#include "platform/platform.h"

namespace platform {
namespace {

class NullSynth final : public MidiSynth {
 public:
  void ShortMessage(uint32_t) override {}
  void Reset() override {}
  void Render(float* frames, int frameCount) override {
    std::fill(frames, frames + static_cast<ptrdiff_t>(frameCount) * 2, 0.0f);
  }
};

// Follows symbolic links: the system's default font is one.
bool IsReadableFile(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool HasSoundFontExtension(const std::string& name) {
  if (name.size() < 4) return false;
  std::string ext = name.substr(name.size() - 4);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".sf2" || ext == ".sf3";
}

}  // namespace

std::vector<std::string> ListSoundFonts() {
  std::vector<std::string> found;
  for (const char* folder : {"/usr/share/sounds/sf2", "/usr/share/sounds/sf3", "/usr/share/soundfonts"}) {
    std::vector<DirectoryEntry> entries;
    if (!ListDirectory(folder, entries)) continue;
    // The listing order is the file system's; sorted, the choice is stable.
    std::sort(entries.begin(), entries.end(),
              [](const DirectoryEntry& a, const DirectoryEntry& b) { return a.name < b.name; });
    for (const DirectoryEntry& entry : entries) {
      std::string path = std::string(folder) + "/" + entry.name;
      if (HasSoundFontExtension(entry.name) && IsReadableFile(path)) found.push_back(path);
    }
  }
  return found;
}

std::string FindSoundFont(const std::string& chosen) {
  if (!chosen.empty() && IsReadableFile(chosen)) return chosen;
  if (const char* named = std::getenv("STAKKOR_SOUNDFONT"); named && *named) {
    if (IsReadableFile(named)) return named;
  }
  if (std::string fluidDefault = FluidSynthDefaultSoundFont(); !fluidDefault.empty() && IsReadableFile(fluidDefault)) {
    return fluidDefault;
  }
  for (const char* path : {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf3/default-GM.sf3"}) {
    if (IsReadableFile(path)) return path;
  }
  std::vector<std::string> any = ListSoundFonts();
  return any.empty() ? std::string() : any.front();
}

std::unique_ptr<MidiSynth> CreateNullSynth() { return std::make_unique<NullSynth>(); }

void PendingSynth::Finish(std::unique_ptr<MidiSynth> synth) {
  synth_ = std::move(synth);
  const bool ready = synth_ != nullptr;
  state_.store(ready ? State::Ready : State::Failed, std::memory_order_release);
  if (!ready) detail::PostMessageFromAnyThread(Message{WM_APP_MUSIC_FAILED, 0});
}

std::shared_ptr<PendingSynth> PendingSynth::Start(int rate, const std::string& soundFontPath,
                                                  const std::vector<SynthProgram>& programs) {
  std::shared_ptr<PendingSynth> pending(new PendingSynth(rate, soundFontPath));
  if (ActiveBackend() == Backend::Headless) {
    pending->Finish(CreateNullSynth());
    return pending;
  }
  if (ActiveBackend() == Backend::Web) {
    // The browser's FluidSynth is a module of the page, reached from the
    // game's thread only; its font is in memory already, so it loads at once.
    pending->Finish(CreateFluidSynth(pending->Rate(), pending->SoundFont(), programs));
    return pending;
  }
  try {
    // The thread holds its own share, so the result outlives whoever gave up
    // waiting for it; nothing waits for the thread to end.
    std::thread([pending, programs] {
      pending->Finish(CreateFluidSynth(pending->Rate(), pending->SoundFont(), programs));
    }).detach();
  } catch (const std::exception&) {
    pending->Finish(nullptr);  // no thread to load on: as a font that fails
  }
  return pending;
}

}  // namespace platform
