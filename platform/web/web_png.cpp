// PNG files in the builds without libpng: screenshots of headless runs are
// written with stored deflate blocks; nothing in these builds reads PNGs.
#include "platform/platform.h"
#include "platform/png.h"
#include "platform/stored_png.h"

namespace platform {

bool WritePngRgb(const std::string& path, const RgbPicture& picture) {
  if (picture.rgb.size() != static_cast<size_t>(picture.width) * picture.height * 3) return false;
  const std::vector<uint8_t> file =
      EncodeStoredPng(picture.width, picture.height, PngColour::Rgb, picture.rgb.data(), picture.width * 3);
  return !file.empty() && WriteFileAtomically(path, file.data(), file.size());
}

bool WritePngIndexed(const std::string& path, const IndexedPicture& picture) {
  if (picture.pixels.size() != static_cast<size_t>(picture.width) * picture.height) return false;
  const std::vector<uint8_t> file = EncodeStoredPng(picture.width, picture.height, PngColour::Palette,
                                                    picture.pixels.data(), picture.width, picture.palette);
  return !file.empty() && WriteFileAtomically(path, file.data(), file.size());
}

bool ReadPngRgb(const std::string&, RgbPicture&) { return false; }

bool ReadPngIndexed(const std::string& path, IndexedPicture&, std::string& error) {
  error = path + ": this build reads no PNG files";
  return false;
}

}  // namespace platform
