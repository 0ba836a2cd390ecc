#include "media/archive_writer.h"

#include <cstring>

#include "media/archive_format.h"
#include "media/byte_order.h"

std::vector<uint8_t> EncodeArchive(const std::vector<ArchiveMember>& members) {
  std::vector<uint8_t> archive;
  if (members.size() > static_cast<size_t>(INT32_MAX / kArchiveEntrySize)) return archive;
  uint64_t dataStart = kArchiveHeaderSize + members.size() * kArchiveEntrySize;
  uint64_t total = dataStart;
  for (const ArchiveMember& member : members) {
    // A name must fit its 1024 bytes with the terminator, and a byte 0xFF
    // would be stored as 0x00 and end the name early.
    if (member.name.size() >= kArchiveNameSize || member.name.find('\xFF') != std::string::npos) return archive;
    total += member.bytes.size();
  }
  // Offsets and sizes are 32-bit.
  if (total > UINT32_MAX) return archive;

  archive.assign(static_cast<size_t>(dataStart), 0);
  archive[0] = 'O';
  archive[1] = 'O';
  WriteLe32(archive.data() + 2, static_cast<uint32_t>(members.size()));
  uint64_t offset = dataStart;
  for (size_t i = 0; i < members.size(); ++i) {
    uint8_t* entry = archive.data() + kArchiveHeaderSize + i * kArchiveEntrySize;
    const std::string& name = members[i].name;
    for (size_t k = 0; k < name.size(); ++k) entry[k] = static_cast<uint8_t>(~static_cast<uint8_t>(name[k]));
    entry[name.size()] = 0x00;  // the terminator is stored plain
    WriteLe32(entry + kArchiveNameSize, static_cast<uint32_t>(offset));
    WriteLe32(entry + kArchiveNameSize + 4, static_cast<uint32_t>(members[i].bytes.size()));
    offset += members[i].bytes.size();
  }
  archive.reserve(static_cast<size_t>(total));
  for (const ArchiveMember& member : members) archive.insert(archive.end(), member.bytes.begin(), member.bytes.end());
  return archive;
}
