// stakkor-tool pix2png / png2pix: pictures to and from PNG, through the
// game's own loader and PIX writer.
#include <cstring>
#include <string>
#include <vector>

#include "gfx/display.h"
#include "gfx/image_loader.h"
#include "media/pix_writer.h"
#include "platform/platform.h"
#include "platform/png.h"
#include "tools/verb.h"

namespace {

// The game's palette has 6 bits a component; PNG has 8. Widening repeats the
// top bits so that 63 becomes 255.
uint8_t Widen(uint8_t v) {
  v &= 63;
  return static_cast<uint8_t>((v << 2) | (v >> 4));
}

int RunPixToPng(const std::vector<std::string>& args) {
  if (args.size() != 2) return VerbError("pix2png", "usage: pix2png PICTURE OUT.png");
  // The readers size full-screen pictures by the game's screen.
  if (screenWidth <= 0 || screenHeight <= 0) {
    screenWidth = platform::kScreenWidth;
    screenHeight = platform::kScreenHeight;
  }
  // The loader opens the name relative to the current directory, so a path
  // opens as a loose file; a bare name is also looked for in the archives
  // and below, as the game would.
  Surface* surface = nullptr;
  uint8_t palette[768] = {};
  const int8_t result = LoadImageFile(args[0].c_str(), &surface, palette);
  if (result == -2) return VerbError("pix2png", "\"" + args[0] + "\": no surface for a picture of that size");
  if (result != 1) {
    return VerbError("pix2png", "\"" + args[0] +
                                    "\" is missing or not a picture the game reads (PIX, PIC, TGA, PI1, BMP, PCX; "
                                    "the kind is taken from the name)");
  }
  platform::IndexedPicture picture;
  picture.width = surface->Width();
  picture.height = surface->Height();
  picture.pixels.assign(surface->Pixels(), surface->Pixels() + static_cast<size_t>(picture.width) * picture.height);
  picture.palette.resize(768);
  for (size_t i = 0; i < 768; ++i) picture.palette[i] = Widen(palette[i]);
  ReleaseSurface(surface);
  if (!platform::WritePngIndexed(args[1], picture)) return VerbError("pix2png", "cannot write \"" + args[1] + "\"");
  return 0;
}

int RunPngToPix(const std::vector<std::string>& args) {
  if (args.size() != 2) return VerbError("png2pix", "usage: png2pix IN.png OUT.PIX");
  platform::IndexedPicture picture;
  std::string error;
  if (!platform::ReadPngIndexed(args[0], picture, error)) {
    return VerbError("png2pix", "\"" + args[0] + "\": " + (error.empty() ? "cannot read" : error));
  }
  if (picture.width < 1 || picture.height < 1 || picture.width > kMaxSurfaceSide ||
      picture.height > kMaxSurfaceSide) {
    return VerbError("png2pix", "\"" + args[0] + "\": pictures are 1 to " + std::to_string(kMaxSurfaceSide) +
                                    " pixels a side");
  }
  if (picture.pixels.size() != static_cast<size_t>(picture.width) * picture.height) {
    return VerbError("png2pix", "\"" + args[0] + "\": pixel data does not match its size");
  }
  // 8-bit components to the game's 6 bits; missing entries stay black.
  uint8_t palette[768] = {};
  for (size_t i = 0; i < picture.palette.size() && i < 768; ++i) palette[i] = picture.palette[i] >> 2;
  const std::vector<uint8_t> file = EncodePixFile(picture.width, picture.height, picture.pixels.data(), palette);
  if (file.empty() || !platform::WriteFileAtomically(args[1], file.data(), file.size())) {
    return VerbError("png2pix", "cannot write \"" + args[1] + "\"");
  }
  return 0;
}

VerbRegistration pixToPngVerb{
    Verb{20, "pix2png", "pix2png PICTURE OUT.png  any picture the game reads, as a palette PNG", RunPixToPng}};
VerbRegistration pngToPixVerb{
    Verb{21, "png2pix", "png2pix IN.png OUT.PIX  a palette PNG as a packed PIX picture", RunPngToPix}};

}  // namespace
