#include "app/replay_store.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <sstream>

#include "platform/platform.h"
#include "platform/platform.h"

namespace {

constexpr char kPrefix[] = "match-";
constexpr char kSuffix[] = ".rpl";
constexpr char kLinksFile[] = "hiscore-links.txt";
constexpr size_t kLinksFileLimit = 64 * 1024;

std::string FileName(uint32_t number) {
  char name[32];
  std::snprintf(name, sizeof name, "%s%06u%s", kPrefix, number, kSuffix);
  return name;
}

// The replays in the directory, by number.
std::vector<std::pair<uint32_t, std::string>> ListReplays() {
  std::vector<platform::DirectoryEntry> entries;
  std::vector<std::pair<uint32_t, std::string>> replays;
  if (!platform::ListDirectory(ReplayDirectory(), entries)) return replays;
  for (const platform::DirectoryEntry& entry : entries) {
    if (entry.isDirectory) continue;
    if (auto number = ReplayNumber(entry.name)) replays.emplace_back(*number, entry.name);
  }
  std::sort(replays.begin(), replays.end());
  return replays;
}

std::string Hex(const std::string& text) {
  static const char digits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char c : text) {
    hex += digits[c >> 4];
    hex += digits[c & 15];
  }
  return hex.empty() ? "-" : hex;
}

std::optional<std::string> FromHex(const std::string& hex) {
  if (hex == "-") return std::string();
  if (hex.size() % 2 != 0 || hex.size() > 58) return std::nullopt;
  std::string text;
  for (size_t i = 0; i < hex.size(); i += 2) {
    int value = 0;
    for (size_t k = i; k < i + 2; ++k) {
      const char c = hex[k];
      const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
      if (digit < 0) return std::nullopt;
      value = value * 16 + digit;
    }
    if (value == 0) return std::nullopt;
    text += static_cast<char>(value);
  }
  return text;
}

bool ReadInt(std::istringstream& in, int32_t& value) {
  long long v = 0;
  if (!(in >> v) || v < INT32_MIN || v > INT32_MAX) return false;
  value = static_cast<int32_t>(v);
  return true;
}

}  // namespace

std::string ReplayDirectory() { return platform::GameDirectory() + "/replays"; }

std::optional<uint32_t> ReplayNumber(const std::string& name) {
  const size_t prefix = sizeof kPrefix - 1, suffix = sizeof kSuffix - 1;
  if (name.size() <= prefix + suffix || name.size() > prefix + suffix + 9) return std::nullopt;
  if (name.compare(0, prefix, kPrefix) != 0 || name.compare(name.size() - suffix, suffix, kSuffix) != 0) {
    return std::nullopt;
  }
  const std::string digits = name.substr(prefix, name.size() - prefix - suffix);
  if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) return std::nullopt;
  return static_cast<uint32_t>(std::strtoul(digits.c_str(), nullptr, 10));
}

std::string SaveReplay(const Replay& replay) {
  const std::string dir = ReplayDirectory();
  if (!platform::MakeDirectories(dir)) return "";
  const auto existing = ListReplays();
  const uint32_t last = existing.empty() ? 0 : existing.back().first;
  if (last >= 999999999u) return "";  // no name left; nothing is overwritten
  const std::string name = FileName(last + 1);
  const std::vector<uint8_t> bytes = EncodeReplay(replay);
  if (!platform::WriteFileAtomically(dir + "/" + name, bytes.data(), bytes.size())) return "";
  PruneReplays();
  return name;
}

std::optional<std::string> LoadReplay(const std::string& path, Replay& out) {
  std::vector<uint8_t> bytes;
  if (!platform::ReadWholeFile(path, bytes, kMaxReplayFileBytes + 1)) {
    return std::string("it cannot be read, or is larger than 4 MiB");
  }
  return DecodeReplay(bytes.data(), bytes.size(), out);
}

std::vector<ReplayLink> ReadReplayLinks() {
  std::vector<ReplayLink> links;
  std::vector<uint8_t> bytes;
  if (!platform::ReadWholeFile(ReplayDirectory() + "/" + kLinksFile, bytes, kLinksFileLimit)) return links;
  std::istringstream lines(std::string(bytes.begin(), bytes.end()));
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    ReplayLink link;
    std::string hex, extra;
    if (!(words >> link.file) || !ReplayNumber(link.file) || !ReadInt(words, link.points) ||
        !ReadInt(words, link.level) || !ReadInt(words, link.rows) || !(words >> hex) || (words >> extra)) {
      continue;
    }
    auto name = FromHex(hex);
    if (!name) continue;
    link.name = *name;
    links.push_back(link);
  }
  return links;
}

bool WriteReplayLinks(const std::vector<ReplayLink>& links) {
  const std::string dir = ReplayDirectory();
  if (!platform::MakeDirectories(dir)) return false;
  std::string text;
  for (const ReplayLink& link : links) {
    text += link.file + " " + std::to_string(link.points) + " " + std::to_string(link.level) + " " +
            std::to_string(link.rows) + " " + Hex(link.name) + "\n";
  }
  return platform::WriteFileAtomically(dir + "/" + kLinksFile, text.data(), text.size());
}

void PruneReplays() {
  const auto replays = ListReplays();
  if (replays.size() <= static_cast<size_t>(kReplaysKept)) return;
  std::set<std::string> linked;
  for (const ReplayLink& link : ReadReplayLinks()) linked.insert(link.file);
  const size_t old = replays.size() - kReplaysKept;
  for (size_t i = 0; i < old; ++i) {
    if (!linked.count(replays[i].second)) platform::RemoveFile(ReplayDirectory() + "/" + replays[i].second);
  }
}
