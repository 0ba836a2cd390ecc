// What replays cost: a ten-minute match played back from its frames with no
// screen (as --verify and the corpus test do), recording a step, and reading
// the file.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/replay_check.h"
#include "app/replay_match.h"
#include "app/replay_recorder.h"
#include "app/replay_store.h"
#include "game/game_tick.h"
#include "platform/headless/headless_backend.h"
#include "platform/platform.h"

namespace {

constexpr char kTenMinutes[] = REPLAY_CORPUS_DIR "/1p-normal-ten-minutes.rpl";

const Replay& TenMinutes() {
  static const Replay replay = [] {
    platform::headless::StartForTests();
    Replay r;
    if (auto error = LoadReplay(kTenMinutes, r)) {
      std::fprintf(stderr, "%s: %s\n", kTenMinutes, error->c_str());
      std::exit(1);
    }
    return r;
  }();
  return replay;
}

// The whole check of a ten-minute match (23,119 steps): set-up, every step
// from its frame, every checkpoint and the end compared.
void BM_CheckTenMinuteReplay(benchmark::State& state) {
  const Replay& replay = TenMinutes();
  for (auto _ : state) {
    const ReplayCheck check = CheckReplay(replay);
    if (!check.reproduces) state.SkipWithError(check.report.c_str());
  }
  state.SetItemsProcessed(state.iterations() * replay.stepCount);
}
BENCHMARK(BM_CheckTenMinuteReplay)->Unit(benchmark::kMillisecond);

// Recording: what the game tick hands the recorder after each step of the
// same match, its checkpoints included. Items are steps.
void BM_RecordStep(benchmark::State& state) {
  const Replay& replay = TenMinutes();
  std::vector<InputFrame> frames;
  FrameCursor cursor(replay);
  while (!cursor.Done()) frames.push_back(cursor.Next());
  ReplaySandbox sandbox;
  StartRecordedMatch(replay);
  for (auto _ : state) {
    BeginRecording();
    for (const InputFrame& frame : frames) stepDoneHook(frame);
    benchmark::DoNotOptimize(FinishRecording(false));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(frames.size()));
}
BENCHMARK(BM_RecordStep)->Unit(benchmark::kMillisecond);

void BM_ReadTenMinuteReplay(benchmark::State& state) {
  TenMinutes();
  std::vector<uint8_t> bytes;
  platform::ReadWholeFile(kTenMinutes, bytes, kMaxReplayFileBytes);
  for (auto _ : state) {
    Replay r;
    benchmark::DoNotOptimize(DecodeReplay(bytes.data(), bytes.size(), r));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_ReadTenMinuteReplay)->Unit(benchmark::kMicrosecond);

}  // namespace
