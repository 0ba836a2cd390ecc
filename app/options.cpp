#include "app/options.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/platform.h"

int32_t controlLayout[2] = {0, 0};
uint8_t musicOff = 0;
uint8_t musicOffChoice = 0;

namespace {

constexpr char kOptionsKey[] = "SOFTWARE\\Kolvanic\\Stakkor";
constexpr char kOptionsValue[] = "Options";
// The stored text, its terminating zero included, must fit this buffer.
constexpr size_t kOptionsBuffer = 80;

// One "%d" of formatted scanning: leading white space, a sign, decimal
// digits. Out-of-range numbers are clamped to a long and then cut to 32 bits,
// as the C library's scanning does, without its undefined behaviour.
bool ScanInt(const char*& text, int32_t& value) {
  char* end = nullptr;
  errno = 0;
  const long number = std::strtol(text, &end, 10);
  if (end == text) return false;
  text = end;
  value = static_cast<int32_t>(static_cast<uint32_t>(static_cast<unsigned long>(number)));
  return true;
}

}  // namespace

void ReadOptions() {
  controlLayout[0] = controlLayout[1] = 0;
  musicOff = musicOffChoice = 0;
  const std::optional<std::string> stored = platform::ReadOptionValue(kOptionsKey, kOptionsValue);
  // A value too long for the buffer is not read at all.
  if (!stored || stored->size() + 1 > kOptionsBuffer) return;
  const char* text = stored->c_str();
  int32_t third = 0;
  if (!ScanInt(text, controlLayout[0]) || !ScanInt(text, controlLayout[1]) || !ScanInt(text, third)) return;
  musicOff = musicOffChoice = static_cast<uint8_t>(third & 0xFF);
}

void WriteOptions() {
  char text[48];
  std::snprintf(text, sizeof text, "%d %d %d", controlLayout[0], controlLayout[1], static_cast<unsigned>(musicOffChoice));
  if (!platform::WriteOptionValue(kOptionsKey, kOptionsValue, text)) {
    // The game goes on as it is; the player hears once why the choices
    // will be gone at the next start.
    static bool said = false;
    if (!said) std::fprintf(stderr, "stakkor: the options could not be saved\n");
    said = true;
  }
}
