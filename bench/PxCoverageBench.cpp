// What a passage costs the code under test. Count mode: one new passage with
// 10, 1,000 and 100,000 lines already stored (the index keeps it flat; the
// map's own scan by key, for comparison, grows with the store), the same
// through OutputLine, and an exact repeat; step-log mode: one record to the
// log. The mode block and the log live in a directory of the run's own.
#include "probex/coverage/PxCoverage.h"
#include "probex/coverage/PxCoverageMode.h"
#include "probex/coverage/PxLineCounts.h"
#include "probex/platform/SharedBlock.h"

#include "PxBenchDir.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

CSharedBlock g_modeBlock;

void UseMode(std::int32_t word) {
  g_modeBlock.Lock();
  g_modeBlock.WriteRecordWord(kPxModeWordIndex, word);
  g_modeBlock.Unlock();
  NPxCoverage::SetStepLogMode();
}

void Fill(CPxLineCounts& store, int lines) {
  for (int line = 0; line < lines; ++line)
    store.CountPassage(1, line, 1);
}

void BM_CountNewPassage(benchmark::State& state) {
  const int lines = static_cast<int>(state.range(0));
  CPxLineCounts store;
  Fill(store, lines);
  int line = 0;
  for (auto _ : state) {
    store.CountPassage(1, line, 2);
    line = line + 1 == lines ? 0 : line + 1;
  }
}
BENCHMARK(BM_CountNewPassage)->Arg(10)->Arg(1000)->Arg(100000);

void BM_MapScanByKey(benchmark::State& state) {
  const int lines = static_cast<int>(state.range(0));
  KRN::CKrnLineCountMap map;
  for (int line = 0; line < lines; ++line)
    map.AddRange(1, nullptr);
  for (int line = 0; line < lines; ++line)
    map.WritableElement(static_cast<std::uint32_t>(line))->m_key = (1u << 16) + line;
  std::uint32_t line = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(map.Find((1u << 16) + line));
    line = line + 1 == static_cast<std::uint32_t>(lines) ? 0 : line + 1;
  }
}
BENCHMARK(BM_MapScanByKey)->Arg(10)->Arg(1000)->Arg(100000);

void BM_OutputLineCountMode(benchmark::State& state) {
  UseMode(PX_MODE_COUNT);
  int point = 1;
  for (auto _ : state) {
    NPxCoverage::OutputLine(2, 10, point);
    point = 3 - point;
  }
}
BENCHMARK(BM_OutputLineCountMode);

void BM_OutputLineExactRepeat(benchmark::State& state) {
  UseMode(PX_MODE_COUNT);
  for (auto _ : state)
    NPxCoverage::OutputLine(2, 20, 1);
}
BENCHMARK(BM_OutputLineExactRepeat);

void BM_OutputLineStepLogRecord(benchmark::State& state) {
  UseMode(PX_MODE_STEP_LOG);
  int line = 30;
  for (auto _ : state) {
    NPxCoverage::OutputLine(2, line, 1);
    line = 61 - line;
  }
  UseMode(PX_MODE_COUNT);
}
BENCHMARK(BM_OutputLineStepLogRecord);

} // namespace

int main(int argc, char** argv) {
  const CPxBenchDir dir;
  if (!dir.IsReady() || !g_modeBlock.Attach(kPxModeBlockName))
    return 1;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  g_modeBlock.Detach();
  return 0;
}
