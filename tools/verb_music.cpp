// stakkor-tool mid2mds: turns a standard MIDI file into the game's music
// format, so anyone can give the game a tune of their own.
#include <string>
#include <vector>

#include "platform/platform.h"
#include "tools/mds_file.h"
#include "tools/verb.h"

namespace {

constexpr size_t kMaxMidiFileBytes = 16u << 20;

int RunMidToMds(const std::vector<std::string>& args) {
  const char* verb = "mid2mds";
  std::vector<std::string> files;
  bool withStreamIds = true;
  for (const std::string& arg : args) {
    if (arg == "--no-stream-ids") {
      withStreamIds = false;
    } else if (!arg.empty() && arg[0] == '-') {
      return VerbError(verb, "unknown option " + arg);
    } else {
      files.push_back(arg);
    }
  }
  if (files.size() != 2) return VerbError(verb, "usage: mid2mds IN.mid OUT.MDS [--no-stream-ids]");
  std::vector<uint8_t> midi;
  if (!platform::ReadWholeFile(files[0], midi, kMaxMidiFileBytes)) return VerbError(verb, "cannot read " + files[0]);
  std::vector<uint8_t> mds;
  std::string error;
  if (!ConvertMidiToMds(midi.data(), midi.size(), withStreamIds, mds, error)) {
    return VerbError(verb, files[0] + ": " + error);
  }
  if (!platform::WriteFileAtomically(files[1], mds.data(), mds.size())) return VerbError(verb, "cannot write " + files[1]);
  return 0;
}

VerbRegistration midToMdsVerb{Verb{40, "mid2mds",
                                   "mid2mds IN.mid OUT.MDS [--no-stream-ids]  a standard MIDI file as looping game music",
                                   RunMidToMds}};

}  // namespace
