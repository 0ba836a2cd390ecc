// The SoundFont search, the null synth, and the choice of synth by backend.
#include "platform/midi_synth.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <vector>

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

std::string FindSoundFont() {
  if (const char* chosen = std::getenv("STAKKOR_SOUNDFONT"); chosen && *chosen) {
    if (IsReadableFile(chosen)) return chosen;
  }
  for (const char* path : {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf3/default-GM.sf3"}) {
    if (IsReadableFile(path)) return path;
  }
  for (const char* folder : {"/usr/share/sounds/sf2", "/usr/share/sounds/sf3", "/usr/share/soundfonts"}) {
    std::vector<DirectoryEntry> entries;
    if (!ListDirectory(folder, entries)) continue;
    // The listing order is the file system's; sorted, the choice is stable.
    std::sort(entries.begin(), entries.end(),
              [](const DirectoryEntry& a, const DirectoryEntry& b) { return a.name < b.name; });
    for (const DirectoryEntry& entry : entries) {
      std::string path = std::string(folder) + "/" + entry.name;
      if (HasSoundFontExtension(entry.name) && IsReadableFile(path)) return path;
    }
  }
  return {};
}

std::unique_ptr<MidiSynth> CreateNullSynth() { return std::make_unique<NullSynth>(); }

std::unique_ptr<MidiSynth> CreateMidiSynth(int rate) {
  if (ActiveBackend() == Backend::Headless) return CreateNullSynth();
  std::string soundFont = FindSoundFont();
  if (soundFont.empty()) return nullptr;
  return CreateFluidSynth(rate, soundFont);
}

}  // namespace platform
