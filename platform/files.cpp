// Files, directories and the options store on a POSIX system.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/platform.h"

namespace platform {
namespace {

bool WriteAll(int fd, const uint8_t* data, size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

std::string ConfigHome() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') return xdg;
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : ".") + "/.config";
}

}  // namespace

// "SOFTWARE\Kolvanic\Stakkor" + "Options" -> $XDG_CONFIG_HOME/Kolvanic/Stakkor/Options.
std::optional<std::string> OptionFilePath(const std::string& keyPath, const std::string& valueName) {
  std::string relative;
  size_t start = 0;
  bool first = true;
  while (start <= keyPath.size()) {
    size_t sep = keyPath.find('\\', start);
    if (sep == std::string::npos) sep = keyPath.size();
    std::string part = keyPath.substr(start, sep - start);
    start = sep + 1;
    if (first && (part == "SOFTWARE" || part == "Software")) {
      first = false;
      continue;
    }
    first = false;
    if (part.empty()) continue;
    if (part == "." || part == ".." || part.find('/') != std::string::npos) return std::nullopt;
    relative += "/" + part;
  }
  if (valueName.empty() || valueName == "." || valueName == ".." ||
      valueName.find('/') != std::string::npos) {
    return std::nullopt;
  }
  return ConfigHome() + relative + "/" + valueName;
}

namespace {

// Opens a file for reading only when it is a regular file. The open itself
// does not block: a named pipe in place of a data file would otherwise hold
// the game inside open() for good, clock and all. Sets errno on failure.
int OpenRegularDescriptor(const std::string& path) {
  // Not every file system passes O_NONBLOCK on (the one the web build's
  // node programs use drops it), so what is there already and is no file
  // is not opened at all.
  struct stat before;
  if (::stat(path.c_str(), &before) == 0 && !S_ISREG(before.st_mode)) {
    errno = ENOENT;
    return -1;
  }
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return -1;
  struct stat info;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    errno = ENOENT;  // anything but a file counts as missing
    return -1;
  }
  // Reads of a regular file never block; the flag goes for good measure.
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

// Reads until `size` bytes or the end of the file; -1 on a read error.
ssize_t ReadUpTo(int fd, uint8_t* data, size_t size) {
  size_t done = 0;
  while (done < size) {
    ssize_t n = ::read(fd, data + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  return static_cast<ssize_t>(done);
}

// A save killed between writing its temporary file and the rename leaves
// "<name>.tmp-XXXXXX" behind. Ours that are older than a minute are
// stale: no save takes that long, so none of them is being written now.
void RemoveStaleTemporaries(const std::string& path) {
  const size_t slash = path.rfind('/');
  const std::string dir = slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
  const std::string prefix = path.substr(slash == std::string::npos ? 0 : slash + 1) + ".tmp-";
  DIR* listing = ::opendir(dir.c_str());
  if (!listing) return;
  const time_t now = ::time(nullptr);
  while (dirent* entry = ::readdir(listing)) {
    const std::string name = entry->d_name;
    if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string full = dir + "/" + name;
    struct stat info;
    if (::lstat(full.c_str(), &info) == 0 && S_ISREG(info.st_mode) && now - info.st_mtime > 60) {
      ::unlink(full.c_str());
    }
  }
  ::closedir(listing);
}

// A rename reaches the disk with its directory, so the directory is flushed
// too; in the browser build this is what writes the saves back to the
// browser's storage. The file has been replaced either way, so a directory
// that cannot be flushed changes nothing about the result.
void SyncDirectoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  const std::string directory = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

bool MakeDirectories(const std::string& path) {
  std::string partial;
  size_t start = 0;
  while (start <= path.size()) {
    size_t slash = path.find('/', start);
    if (slash == std::string::npos) slash = path.size();
    partial = path.substr(0, slash);
    if (!partial.empty() && ::mkdir(partial.c_str(), 0755) != 0 && errno != EEXIST) return false;
    start = slash + 1;
  }
  return true;
}

bool IsDirectory(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0 || errno == ENOENT; }

bool WriteFileAtomically(const std::string& path, const void* data, size_t size) {
  std::string temp = path + ".tmp-XXXXXX";
  int fd = ::mkstemp(temp.data());
  if (fd < 0) return false;
  bool ok = WriteAll(fd, static_cast<const uint8_t*>(data), size) && ::fsync(fd) == 0;
  ok = (::fchmod(fd, 0644) == 0) && ok;
  ok = (::close(fd) == 0) && ok;
  if (ok && ::rename(temp.c_str(), path.c_str()) == 0) {
    SyncDirectoryOf(path);
    RemoveStaleTemporaries(path);
    return true;
  }
  ::unlink(temp.c_str());
  return false;
}

std::optional<std::string> ReadOptionValue(const std::string& keyPath, const std::string& valueName) {
  auto path = OptionFilePath(keyPath, valueName);
  if (!path) return std::nullopt;
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(*path, bytes, 4096)) return std::nullopt;
  return std::string(bytes.begin(), bytes.end());
}

bool WriteOptionValue(const std::string& keyPath, const std::string& valueName, const std::string& text) {
  auto path = OptionFilePath(keyPath, valueName);
  if (!path) return false;
  std::string dir = path->substr(0, path->rfind('/'));
  if (!MakeDirectories(dir)) return false;
  return WriteFileAtomically(*path, text.data(), text.size());
}

bool ListDirectory(const std::string& path, std::vector<DirectoryEntry>& entries) {
  entries.clear();
  DIR* dir = ::opendir(path.c_str());
  if (!dir) return false;
  while (dirent* entry = ::readdir(dir)) {
    std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    bool isDirectory = false;
    if (entry->d_type == DT_DIR) {
      isDirectory = true;
    } else if (entry->d_type == DT_UNKNOWN) {
      struct stat info;
      std::string full = path + "/" + name;
      isDirectory = ::lstat(full.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    }
    entries.push_back(DirectoryEntry{std::move(name), isDirectory});
  }
  ::closedir(dir);
  return true;
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, size_t limit) {
  bytes.clear();
  int fd = OpenRegularDescriptor(path);
  if (fd < 0) return false;
  struct stat info;
  if (::fstat(fd, &info) != 0 || static_cast<uint64_t>(info.st_size) > limit) {
    ::close(fd);
    return false;
  }
  bytes.resize(static_cast<size_t>(info.st_size));
  const ssize_t got = ReadUpTo(fd, bytes.data(), bytes.size());
  ::close(fd);
  // A read error keeps what came before it, as a short file would.
  bytes.resize(got < 0 ? 0 : static_cast<size_t>(got));
  return got >= 0;
}

FileStart ReadFileStart(const std::string& path, std::vector<uint8_t>& bytes, size_t count) {
  bytes.clear();
  int fd = OpenRegularDescriptor(path);
  if (fd < 0) return errno == EACCES || errno == EPERM || errno == EIO ? FileStart::Refused : FileStart::Missing;
  bytes.resize(count);
  const ssize_t got = ReadUpTo(fd, bytes.data(), bytes.size());
  ::close(fd);
  if (got < 0) {
    bytes.clear();
    return FileStart::Refused;
  }
  bytes.resize(static_cast<size_t>(got));
  return FileStart::Read;
}

std::FILE* OpenRegularFile(const std::string& path) {
  int fd = OpenRegularDescriptor(path);
  if (fd < 0) return nullptr;
  std::FILE* file = ::fdopen(fd, "rb");
  if (!file) ::close(fd);
  return file;
}

bool IsRegularFile(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool MayReplaceFile(const std::string& path) {
  struct stat info;
  if (::lstat(path.c_str(), &info) != 0) return errno == ENOENT;
  return ::access(path.c_str(), W_OK) == 0;
}

bool SameDirectory(const std::string& a, const std::string& b) {
  struct stat infoA, infoB;
  if (::stat(a.c_str(), &infoA) != 0 || ::stat(b.c_str(), &infoB) != 0) return a == b;
  return infoA.st_dev == infoB.st_dev && infoA.st_ino == infoB.st_ino;
}

uint16_t UserLanguageId() {
  // The first of these that is set decides, as for any POSIX program.
  const char* names[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
  for (const char* name : names) {
    const char* value = std::getenv(name);
    if (!value || !*value) continue;
    if (std::strncmp(value, "de", 2) == 0 && (value[2] == '\0' || value[2] == '_' || value[2] == '.')) {
      return 0x0407;  // German (Germany)
    }
    return 0x0409;  // English (United States) for everything else
  }
  return 0x0409;
}

}  // namespace platform
