// stakkor-tool replayinfo: a replay's header, length and end, read with the
// game's own reader.
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "game/replay_format.h"
#include "platform/platform.h"
#include "tools/verb.h"

namespace {

std::string DateText(int64_t seconds) {
  if (seconds == 0) return "unknown";
  const std::time_t time = static_cast<std::time_t>(seconds);
  std::tm utc{};
  char text[64];
  if (!gmtime_r(&time, &utc) || !std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &utc)) {
    return std::to_string(seconds);
  }
  return text;
}

const char* LayoutName(int players, int player, int layout) {
  if (players == 2 && player == 0) return layout ? "A D, W turns, S drops" : "A D, S turns, SHIFT drops";
  return layout ? "arrows, UP turns, DOWN drops" : "arrows, DOWN turns, CTRL drops";
}

const std::pair<uint8_t, const char*> kEventNames[] = {{kEventEscape, "escape"},    {kEventPause, "pause"},
                                                       {kEventMusic, "music"},      {kEventLayout1, "layout 1"},
                                                       {kEventLayout2, "layout 2"}, {kEventFocusBack, "focus back"}};

std::string EventCounts(const Replay& replay) {
  std::string text;
  for (const auto& [bit, name] : kEventNames) {
    int count = 0;
    for (const StepEvents& e : replay.events) count += (e.events & bit) ? 1 : 0;
    if (count) text += std::string(text.empty() ? "" : ", ") + name + " " + std::to_string(count);
  }
  return text.empty() ? "none" : text;
}

// The first steps with events, so that a viewer can find them.
std::string EventSteps(const Replay& replay) {
  constexpr size_t kShown = 20;
  std::string text;
  for (size_t k = 0; k < replay.events.size() && k < kShown; ++k) {
    text += std::string(k ? ", " : "") + std::to_string(replay.events[k].step);
    for (const auto& [bit, name] : kEventNames) {
      if (replay.events[k].events & bit) text += std::string(" ") + name;
    }
  }
  if (replay.events.size() > kShown) text += ", ...";
  return text;
}

int RunReplayInfo(const std::vector<std::string>& args) {
  if (args.size() != 1) return VerbError("replayinfo", "usage: replayinfo FILE");
  std::vector<uint8_t> bytes;
  if (!platform::ReadWholeFile(args[0], bytes, kMaxReplayFileBytes + 1)) {
    return VerbError("replayinfo", "cannot read " + args[0]);
  }
  Replay r;
  if (auto error = DecodeReplay(bytes.data(), bytes.size(), r)) {
    return VerbError("replayinfo", args[0] + ": not a replay this game can play: " + *error);
  }
  std::printf("%s: a replay, %zu bytes\n", args[0].c_str(), bytes.size());
  std::printf("format version %u, game version %u%s\n", kReplayFormatVersion, r.gameVersion,
              r.gameVersion == kGameVersion ? "" : " (this game is another version)");
  std::printf("date: %s\n", DateText(r.date).c_str());
  std::printf("match: %u player%s, %s, seed %u, music %s at the start\n", r.playerCount, r.playerCount == 1 ? "" : "s",
              r.blobStyle ? "BLOB" : "NORMAL", r.matchSeed, r.musicOff ? "off" : "on");
  for (int p = 0; p < r.playerCount; ++p) {
    const int layout = (r.layouts >> p) & 1;
    std::printf("player %d: layout %d (%s), latches at the start %d%d%d%d\n", p + 1, layout,
                LayoutName(r.playerCount, p, layout), (r.startLatches >> (4 * p)) & 1,
                (r.startLatches >> (4 * p + 1)) & 1, (r.startLatches >> (4 * p + 2)) & 1,
                (r.startLatches >> (4 * p + 3)) & 1);
  }
  std::printf("length: %u steps (%s), runs of held keys: %zu", r.stepCount, StepTime(r.stepCount).c_str(),
              r.actionRuns[0].size());
  if (r.playerCount == 2) std::printf(" and %zu", r.actionRuns[1].size());
  std::printf("\nevents: %s\n", EventCounts(r).c_str());
  if (!r.events.empty()) std::printf("steps with events: %s\n", EventSteps(r).c_str());
  std::printf("checkpoints: %zu, one every %u steps\n", r.checkpoints.size(), r.checkpointInterval);
  std::printf("end: %s\n", r.quit ? "the program was closed during the match" : "the match ended");
  for (int p = 0; p < r.playerCount; ++p) {
    const ReplayFinal& f = r.finals[p];
    std::printf("player %d at the end: state %d, %d points, %d rows, level %d\n", p + 1, f.state, f.points, f.rows,
                f.level);
  }
  std::printf("final state hash: %016llx\n", static_cast<unsigned long long>(r.finalHash));
  return 0;
}

VerbRegistration replayInfoVerb{
    Verb{70, "replayinfo", "replayinfo FILE  a replay's header, length and end", RunReplayInfo}};

}  // namespace
