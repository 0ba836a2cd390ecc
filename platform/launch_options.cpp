// The command line of the game, read with getopt_long as any Linux program's.
#include <getopt.h>

#include <cstdlib>

#include "platform/platform.h"

namespace platform {
namespace {

enum OptionCode : int {
  kWindow = 'w',
  kFullscreen = 'f',
  kHelp = 'h',
  kVersion = 'V',
  kHeadless = 1000,
  kScript,
  kMaxMs,
  kAudioLog,
  kReplay,
  kSpeed,
  kVerify,
};

const option kOptions[] = {
    {"window", no_argument, nullptr, kWindow},
    {"fullscreen", no_argument, nullptr, kFullscreen},
    {"help", no_argument, nullptr, kHelp},
    {"version", no_argument, nullptr, kVersion},
    {"headless", no_argument, nullptr, kHeadless},
    {"script", required_argument, nullptr, kScript},
    {"max-ms", required_argument, nullptr, kMaxMs},
    {"audio-log", required_argument, nullptr, kAudioLog},
    {"replay", required_argument, nullptr, kReplay},
    {"speed", required_argument, nullptr, kSpeed},
    {"verify", no_argument, nullptr, kVerify},
    {nullptr, 0, nullptr, 0},
};

std::optional<uint32_t> Milliseconds(const char* text) {
  if (!text || *text < '0' || *text > '9') return std::nullopt;
  char* end = nullptr;
  const unsigned long long n = std::strtoull(text, &end, 10);
  if (*end != '\0' || n > 0xFFFFFFFFull) return std::nullopt;
  return static_cast<uint32_t>(n);
}

// --speed N: 0.25 to 16 times the match's pace, kept in quarters.
std::optional<int> SpeedQuarters(const char* text) {
  char* end = nullptr;
  const double speed = text && *text ? std::strtod(text, &end) : 0.0;
  if (!text || !*text || *end != '\0' || !(speed >= 0.25 && speed <= 16.0)) return std::nullopt;
  return static_cast<int>(speed * 4.0 + 0.5);
}

}  // namespace

std::optional<std::string> ParseLaunchOptions(int argc, char** argv, LaunchOptions& out) {
  optind = 0;  // starts getopt afresh, also when it ran before in this process
  opterr = 0;  // the caller reports errors in its own words
  for (;;) {
    // "+": no reordering, so the first word that is not an option is an error.
    const int code = getopt_long(argc, argv, "+:wfhV", kOptions, nullptr);
    if (code == -1) break;
    const std::string given =
        optopt ? std::string("-") + static_cast<char>(optopt) : std::string(argv[optind - 1]);
    switch (code) {
      case kWindow:
        out.window = true;
        out.fullscreen = false;
        break;
      case kFullscreen:
        out.fullscreen = true;
        out.window = false;
        break;
      case kHelp: out.help = true; break;
      case kVersion: out.version = true; break;
      case kHeadless: out.backend = Backend::Headless; break;
      case kScript: out.scriptPath = optarg; break;
      case kAudioLog: out.audioLogPath = optarg; break;
      case kMaxMs:
        out.maxMs = Milliseconds(optarg);
        if (!out.maxMs) return "--max-ms needs a number of milliseconds, not \"" + std::string(optarg) + "\"";
        break;
      case kReplay:
        if (!*optarg) return "--replay needs a file";
        out.replayPath = optarg;
        break;
      case kSpeed:
        if (auto quarters = SpeedQuarters(optarg)) {
          out.replaySpeedQuarters = *quarters;
        } else {
          return "--speed needs a number from 0.25 to 16";
        }
        break;
      case kVerify: out.verifyReplay = true; break;
      case ':': return given + " needs a value";
      default: return "unknown option " + given;
    }
  }
  if (optind < argc) return "unexpected argument \"" + std::string(argv[optind]) + "\"";
  if (out.help || out.version) return std::nullopt;
  if (out.replayPath.empty() && (out.verifyReplay || out.replaySpeedQuarters != 4)) {
    return "--speed and --verify go with --replay FILE";
  }
  if (out.verifyReplay && !out.scriptPath.empty()) return "--verify checks a replay without a screen: no --script";
  if (out.backend == Backend::Headless && out.scriptPath.empty() && out.replayPath.empty()) {
    return "--headless needs --script FILE";
  }
  if (out.backend == Backend::Sdl && (!out.scriptPath.empty() || out.maxMs || !out.audioLogPath.empty())) {
    return "--script, --max-ms and --audio-log go with --headless";
  }
  return std::nullopt;
}

}  // namespace platform
