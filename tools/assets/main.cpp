// stakkor-assets OUTDIR [--midi FILE] [--preview DIR]: writes every data file
// of the game into OUTDIR, the music as a standard MIDI file (OUTDIR/MUSIC.MID
// unless --midi names another place), and with --preview pictures of the
// game's screens drawn from the new files.
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/platform.h"
#include "tools/assets/generate.h"

int main(int argc, char** argv) {
  std::string outDir, midiPath, previewDir;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--midi") == 0 && i + 1 < argc) {
      midiPath = argv[++i];
    } else if (std::strcmp(argv[i], "--preview") == 0 && i + 1 < argc) {
      previewDir = argv[++i];
    } else if (argv[i][0] != '-' && outDir.empty()) {
      outDir = argv[i];
    } else {
      outDir.clear();
      break;
    }
  }
  if (outDir.empty()) {
    std::fprintf(stderr, "usage: stakkor-assets OUTDIR [--midi FILE] [--preview DIR]\n");
    return 2;
  }
  if (midiPath.empty()) midiPath = outDir + "/MUSIC.MID";
  assets::GeneratedData data = assets::GenerateAll();
  for (const assets::DataFile& file : data.files) {
    std::string path = outDir + "/" + file.name;
    if (!platform::WriteFileAtomically(path, file.bytes.data(), file.bytes.size())) {
      std::fprintf(stderr, "stakkor-assets: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  if (!platform::WriteFileAtomically(midiPath, data.midi.data(), data.midi.size())) {
    std::fprintf(stderr, "stakkor-assets: cannot write %s\n", midiPath.c_str());
    return 1;
  }
  if (!previewDir.empty() && !assets::WritePreviews(data.art, previewDir)) {
    std::fprintf(stderr, "stakkor-assets: cannot write the previews into %s\n", previewDir.c_str());
    return 1;
  }
  return 0;
}
