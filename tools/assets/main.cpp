// stakkor-assets OUTDIR [--midi FILE] [--preview DIR] [--icons DIR]: writes
// every data file of the game into OUTDIR, the music as a standard MIDI file
// (OUTDIR/MUSIC.MID unless --midi names another place), with --preview
// pictures of the game's screens drawn from the new files, and with --icons
// the desktop icon at every size as DIR/stakkor-SIZE.png.
#include <getopt.h>

#include <cstdio>
#include <string>

#include "platform/platform.h"
#include "platform/png.h"
#include "tools/assets/generate.h"
#include "tools/assets/icon.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: stakkor-assets OUTDIR [--midi FILE] [--preview DIR] [--icons DIR]\n");
  return 2;
}

bool WriteIcons(const assets::Artwork& art, const std::string& dir) {
  for (int size : assets::kIconSizes) {
    const std::string path = dir + "/stakkor-" + std::to_string(size) + ".png";
    if (!platform::WritePngRgba(path, assets::DrawIcon(art.sheet, art.gamePalette, size))) {
      std::fprintf(stderr, "stakkor-assets: cannot write %s\n", path.c_str());
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const option options[] = {{"midi", required_argument, nullptr, 'm'},
                            {"preview", required_argument, nullptr, 'p'},
                            {"icons", required_argument, nullptr, 'i'},
                            {nullptr, 0, nullptr, 0}};
  std::string midiPath, previewDir, iconDir;
  opterr = 0;
  for (int code; (code = getopt_long(argc, argv, "", options, nullptr)) != -1;) {
    switch (code) {
      case 'm': midiPath = optarg; break;
      case 'p': previewDir = optarg; break;
      case 'i': iconDir = optarg; break;
      default: return Usage();
    }
  }
  if (optind != argc - 1) return Usage();
  const std::string outDir = argv[optind];
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
  if (!iconDir.empty() && !WriteIcons(data.art, iconDir)) return 1;
  return 0;
}
