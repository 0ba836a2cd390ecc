// stakkor-tool list / pack / unpack: ".ONE" archives, read and written with
// the game's own archive code.
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "media/archive_format.h"
#include "media/archive_writer.h"
#include "media/data_file.h"
#include "platform/platform.h"
#include "tools/verb.h"

namespace {

// Member files larger than this cannot be stored: offsets are 32-bit.
constexpr size_t kMaxMemberSize = 0xFFFFFFFFu;

const char* StateText(ArchiveEntryState state) {
  switch (state) {
    case ArchiveEntryState::Ok:
      return "";
    case ArchiveEntryState::NameUnterminated:
      return "  (name without terminator: never found)";
    case ArchiveEntryState::BeyondEnd:
      return "  (data beyond the end of the archive: never found)";
  }
  return "";
}

std::string Folded(const std::string& name) {
  std::string folded = name;
  for (char& c : folded) c = FoldToLower(c);
  return folded;
}

// The entries of an archive as the game reads them, or an error text.
bool ReadDirectory(const std::string& path, std::vector<ArchiveEntry>& entries, int32_t& count, std::string& error) {
  ArchiveReader reader;
  if (!OpenArchive(path.c_str(), reader)) {
    error = "cannot read \"" + path + "\" as an archive (missing, or no \"OO\" magic)";
    return false;
  }
  count = reader.count;
  ArchiveEntry entry;
  while (ReadNextArchiveEntry(reader, entry)) entries.push_back(entry);
  CloseArchive(reader);
  return true;
}

int RunList(const std::vector<std::string>& args) {
  if (args.size() != 1) return VerbError("list", "usage: list ARCHIVE");
  std::vector<ArchiveEntry> entries;
  int32_t count = 0;
  std::string error;
  if (!ReadDirectory(args[0], entries, count, error)) return VerbError("list", error);
  std::printf("%d entries\n", count > 0 ? count : 0);
  std::printf("%10s %10s  %s\n", "offset", "size", "name");
  for (const ArchiveEntry& entry : entries) {
    std::printf("%10u %10u  %s%s\n", entry.offset, entry.size, entry.name, StateText(entry.state));
  }
  if (count > 0 && entries.size() < static_cast<size_t>(count)) {
    std::printf("(the directory ends after %zu of %d entries)\n", entries.size(), count);
  }
  return 0;
}

int RunPack(const std::vector<std::string>& args) {
  if (args.size() < 2) return VerbError("pack", "usage: pack ARCHIVE FILE...");
  std::vector<ArchiveMember> members;
  std::set<std::string> seen;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& path = args[i];
    const size_t slash = path.rfind('/');
    ArchiveMember member;
    member.name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (member.name.empty() || member.name.size() >= kArchiveNameSize ||
        member.name.find('\xFF') != std::string::npos) {
      return VerbError("pack", "\"" + path + "\": its name cannot be stored in an archive");
    }
    // The game sees only the first of two names that differ in case alone.
    if (!seen.insert(Folded(member.name)).second) {
      return VerbError("pack", "\"" + member.name + "\" is given twice (names are matched without regard to case)");
    }
    if (!platform::ReadWholeFile(path, member.bytes, kMaxMemberSize)) {
      return VerbError("pack", "cannot read \"" + path + "\"");
    }
    members.push_back(std::move(member));
  }
  const std::vector<uint8_t> archive = EncodeArchive(members);
  if (archive.empty()) return VerbError("pack", "the members do not fit an archive (4 GiB at most)");
  if (!platform::WriteFileAtomically(args[0], archive.data(), archive.size())) {
    return VerbError("pack", "cannot write \"" + args[0] + "\"");
  }
  return 0;
}

// A member name that names a file inside the target directory and nothing
// else: no directory parts, no way up.
bool IsSafeMemberName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
         name.find('\\') == std::string::npos;
}

int RunUnpack(const std::vector<std::string>& args) {
  if (args.size() != 2) return VerbError("unpack", "usage: unpack ARCHIVE DIR");
  const std::string& archive = args[0];
  const std::string& dir = args[1];
  std::vector<ArchiveEntry> entries;
  int32_t count = 0;
  std::string error;
  if (!ReadDirectory(archive, entries, count, error)) return VerbError("unpack", error);
  // Everything is checked before anything is written.
  for (const ArchiveEntry& entry : entries) {
    if (entry.state != ArchiveEntryState::Ok) {
      return VerbError("unpack", "entry \"" + std::string(entry.name) + "\"" + StateText(entry.state));
    }
    if (!IsSafeMemberName(entry.name)) {
      return VerbError("unpack", "refusing member name \"" + std::string(entry.name) + "\": it would not land inside " + dir);
    }
  }
  std::vector<platform::DirectoryEntry> listing;
  if (!platform::ListDirectory(dir, listing)) return VerbError("unpack", "cannot open directory \"" + dir + "\"");

  std::set<std::string> seen;
  for (const ArchiveEntry& entry : entries) {
    if (!seen.insert(Folded(entry.name)).second) {
      std::fprintf(stderr, "stakkor-tool unpack: skipping \"%s\": the game only ever finds the earlier entry\n",
                   entry.name);
      continue;
    }
    // The bytes as the game gets them.
    std::FILE* member = OpenArchiveMember(archive.c_str(), entry.name);
    if (!member) return VerbError("unpack", "cannot read member \"" + std::string(entry.name) + "\"");
    std::vector<uint8_t> bytes(dataFileSize);
    const bool complete = bytes.empty() || std::fread(bytes.data(), 1, bytes.size(), member) == bytes.size();
    std::fclose(member);
    if (!complete) return VerbError("unpack", "member \"" + std::string(entry.name) + "\" is cut short");
    const std::string out = dir + "/" + entry.name;
    if (!platform::WriteFileAtomically(out, bytes.data(), bytes.size())) {
      return VerbError("unpack", "cannot write \"" + out + "\"");
    }
    std::printf("%s\n", out.c_str());
  }
  return 0;
}

VerbRegistration listVerb{Verb{10, "list", "list ARCHIVE  names, offsets and sizes of an archive's members", RunList}};
VerbRegistration packVerb{
    Verb{11, "pack", "pack ARCHIVE FILE...  writes an archive of the files, each under its base name", RunPack}};
VerbRegistration unpackVerb{Verb{12, "unpack", "unpack ARCHIVE DIR  writes every member into DIR", RunUnpack}};

}  // namespace
