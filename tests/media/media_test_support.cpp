#include "tests/media/media_test_support.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "gfx/display.h"
#include "media/archive_writer.h"

void MediaTest::SetUp() {
  // The readers size their buffers by the screen.
  screenWidth = 640;
  screenHeight = 480;
  previous_ = std::filesystem::current_path();
  std::string pattern = (std::filesystem::temp_directory_path() / "stakkor-media-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  dir_ = pattern;
  std::filesystem::current_path(dir_);
}

void MediaTest::TearDown() {
  std::filesystem::current_path(previous_);
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
  SetSurfaceCreationFailsForTests(false);
}

void WriteFile(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void PutLe16(Bytes& b, size_t at, uint16_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}

void PutLe32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

void AppendLe16(Bytes& b, uint16_t v) {
  b.resize(b.size() + 2);
  PutLe16(b, b.size() - 2, v);
}

void AppendLe32(Bytes& b, uint32_t v) {
  b.resize(b.size() + 4);
  PutLe32(b, b.size() - 4, v);
}

Bytes MakePix(int width, int height, const Bytes& data, int lengthBytes, const Bytes& palette) {
  Bytes file = {'P', 'I', 'X', 0, 11};
  AppendLe16(file, static_cast<uint16_t>(width));
  AppendLe16(file, static_cast<uint16_t>(height));
  file.push_back(0);
  file.push_back(0);
  if (lengthBytes == 2) {
    AppendLe16(file, static_cast<uint16_t>(data.size()));
  } else {
    AppendLe32(file, static_cast<uint32_t>(data.size()));
  }
  file.insert(file.end(), data.begin(), data.end());
  file.insert(file.end(), palette.begin(), palette.end());
  return file;
}

Bytes MakeArchive(const std::vector<std::pair<std::string, Bytes>>& members) {
  std::vector<ArchiveMember> list;
  for (const auto& [name, bytes] : members) list.push_back(ArchiveMember{name, bytes});
  return EncodeArchive(list);
}

Bytes TestPalette() {
  Bytes palette(768);
  for (int i = 0; i < 256; ++i) {
    palette[i * 3] = static_cast<uint8_t>(i & 63);
    palette[i * 3 + 1] = static_cast<uint8_t>((i / 2) & 63);
    palette[i * 3 + 2] = static_cast<uint8_t>((i / 4) & 63);
  }
  return palette;
}

Bytes RowOf(const Surface* surface, int y, int x0, int x1) {
  const uint8_t* row = surface->Row(y);
  return Bytes(row + x0, row + x1);
}
