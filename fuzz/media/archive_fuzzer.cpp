// The archive lookup on a "DATA.ONE" made of the input: a member looked up
// and read to its end, a picture loaded from it, and the whole directory read.
#include <cstdio>
#include <vector>

#include "fuzz/media/fuzz_support.h"
#include "media/archive_format.h"
#include "media/data_file.h"
#include "gfx/image_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInputFile input("DATA.ONE", data, size);
  if (std::FILE* member = OpenDataFile("font1.pix")) {
    // A member lies wholly inside the archive.
    if (uint64_t{dataFileOffset} + dataFileSize > size) __builtin_trap();
    std::vector<uint8_t> bytes(dataFileSize);
    if (!bytes.empty() && std::fread(bytes.data(), 1, bytes.size(), member) != bytes.size()) __builtin_trap();
    std::fclose(member);
  }
  Surface* surface = nullptr;
  LoadImageFile("FONT1.PIX", &surface, nullptr);
  ReleaseSurface(surface);

  ArchiveReader reader;
  if (OpenArchive("DATA.ONE", reader)) {
    ArchiveEntry entry;
    while (ReadNextArchiveEntry(reader, entry)) {
    }
    CloseArchive(reader);
  }
  return 0;
}
