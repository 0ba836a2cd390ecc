#include "platform/png.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <memory>

#include "platform/platform.h"

namespace platform {
namespace {

constexpr int kMaxSide = 16384;

struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<FILE, FileCloser>;

// Writes through a memory buffer so the file on disk appears atomically.
void AppendToBuffer(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}
void FlushNothing(png_structp) {}

bool WritePng(const std::string& path, int width, int height, int colourType, const uint8_t* rows,
              int rowBytes, const std::vector<uint8_t>* palette) {
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  std::vector<uint8_t> encoded;
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, info ? &info : nullptr);
    return false;
  }
  png_set_write_fn(png, &encoded, AppendToBuffer, FlushNothing);
  png_set_IHDR(png, info, width, height, 8, colourType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_color entries[256];
  if (palette) {
    int count = static_cast<int>(palette->size() / 3);
    for (int i = 0; i < count; ++i) {
      entries[i] = png_color{(*palette)[3 * i], (*palette)[3 * i + 1], (*palette)[3 * i + 2]};
    }
    png_set_PLTE(png, info, entries, count);
  }
  png_write_info(png, info);
  for (int y = 0; y < height; ++y) {
    png_write_row(png, const_cast<png_bytep>(rows + static_cast<ptrdiff_t>(y) * rowBytes));
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return WriteFileAtomically(path, encoded.data(), encoded.size());
}

// Reads any PNG; `wantIndexed` keeps palette pictures as indices.
bool ReadPng(const std::string& path, bool wantIndexed, RgbPicture* rgbOut, IndexedPicture* indexedOut,
             std::string& error) {
  File file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    error = "cannot open " + path;
    return false;
  }
  uint8_t signature[8];
  if (std::fread(signature, 1, 8, file.get()) != 8 || png_sig_cmp(signature, 0, 8) != 0) {
    error = path + " is not a PNG file";
    return false;
  }
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  // Everything with a destructor lives above the jump point: libpng's errors
  // jump back here and must not skip over a constructed object.
  std::vector<uint8_t> pixels;
  std::vector<png_bytep> rows;
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    if (error.empty()) error = path + " is a damaged PNG file";
    return false;
  }
  png_set_user_limits(png, kMaxSide, kMaxSide);
  png_init_io(png, file.get());
  png_set_sig_bytes(png, 8);
  png_read_info(png, info);
  png_uint_32 width = png_get_image_width(png, info);
  png_uint_32 height = png_get_image_height(png, info);
  int colourType = png_get_color_type(png, info);
  int bitDepth = png_get_bit_depth(png, info);

  if (wantIndexed) {
    if (colourType != PNG_COLOR_TYPE_PALETTE) {
      error = path + " is not a palette PNG (save it with at most 256 indexed colours)";
      png_destroy_read_struct(&png, &info, nullptr);
      return false;
    }
    if (bitDepth < 8) png_set_packing(png);
  } else {
    if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    if (bitDepth == 16) png_set_strip_16(png);
    if (bitDepth < 8) png_set_packing(png);
    png_set_strip_alpha(png);
  }
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  size_t rowBytes = png_get_rowbytes(png, info);
  size_t expected = wantIndexed ? width : static_cast<size_t>(width) * 3;
  if (rowBytes != expected) {
    error = path + " has a pixel layout this reader does not take";
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  pixels.resize(rowBytes * height);
  rows.resize(height);
  for (png_uint_32 y = 0; y < height; ++y) rows[y] = pixels.data() + y * rowBytes;
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);

  if (wantIndexed) {
    png_colorp entries = nullptr;
    int count = 0;
    png_get_PLTE(png, info, &entries, &count);
    indexedOut->width = static_cast<int>(width);
    indexedOut->height = static_cast<int>(height);
    indexedOut->palette.clear();
    for (int i = 0; i < count; ++i) {
      indexedOut->palette.push_back(entries[i].red);
      indexedOut->palette.push_back(entries[i].green);
      indexedOut->palette.push_back(entries[i].blue);
    }
    indexedOut->pixels = std::move(pixels);
  } else {
    rgbOut->width = static_cast<int>(width);
    rgbOut->height = static_cast<int>(height);
    rgbOut->rgb = std::move(pixels);
  }
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

}  // namespace

bool WritePngRgb(const std::string& path, const RgbPicture& picture) {
  if (picture.rgb.size() != static_cast<size_t>(picture.width) * picture.height * 3) return false;
  return WritePng(path, picture.width, picture.height, PNG_COLOR_TYPE_RGB, picture.rgb.data(), picture.width * 3,
                  nullptr);
}

bool WritePngRgba(const std::string& path, const RgbaPicture& picture) {
  if (picture.rgba.size() != static_cast<size_t>(picture.width) * picture.height * 4) return false;
  return WritePng(path, picture.width, picture.height, PNG_COLOR_TYPE_RGB_ALPHA, picture.rgba.data(),
                  picture.width * 4, nullptr);
}

bool WritePngIndexed(const std::string& path, const IndexedPicture& picture) {
  if (picture.pixels.size() != static_cast<size_t>(picture.width) * picture.height) return false;
  if (picture.palette.empty() || picture.palette.size() % 3 != 0 || picture.palette.size() > 768) return false;
  return WritePng(path, picture.width, picture.height, PNG_COLOR_TYPE_PALETTE, picture.pixels.data(), picture.width,
                  &picture.palette);
}

bool ReadPngRgb(const std::string& path, RgbPicture& picture) {
  std::string error;
  return ReadPng(path, false, &picture, nullptr, error);
}

bool ReadPngIndexed(const std::string& path, IndexedPicture& picture, std::string& error) {
  return ReadPng(path, true, nullptr, &picture, error);
}

}  // namespace platform
