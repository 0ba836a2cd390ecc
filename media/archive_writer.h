// Writing ".ONE" archives.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ArchiveMember {
  std::string name;  // stored as given, complemented
  std::vector<uint8_t> bytes;
};

// The whole archive: magic "OO", entry count, directory, member data.
std::vector<uint8_t> EncodeArchive(const std::vector<ArchiveMember>& members);
