// The wall time of one rendezvous of 2, 4 and 8 parties (threads on one
// CProbexSync), beside the floor the polling design sets: the first arrival
// sleeps 5 ms after each look for a party, so n opposite parties cost at
// least n x 5 ms. The "floor_ms" counter shows that floor next to the time.
#include "probex/concurrent/ProbexSync.h"
#include "probex/core/ProbexMacros.h"

#include "PxBenchDir.h"

#include <benchmark/benchmark.h>

#include <string>
#include <thread>
#include <vector>

namespace {

class CBenchSync : public CProbexSync {
public:
  explicit CBenchSync(int opposite) {
    PX_CAPTION_CLASS("bench");
    SetOppositeCount(opposite);
  }
  // Takes the working count and frees the points of the last rendezvous.
  void Reset() { m_BeginRun(); }
  PX_DECLARATION_END();
};

void BM_Rendezvous(benchmark::State& state) {
  const int parties = static_cast<int>(state.range(0));
  CBenchSync sync(parties - 1);
  int point = 0;
  for (auto _ : state) {
    sync.Reset();
    ++point;
    std::vector<std::thread> others;
    for (int i = 1; i < parties; ++i)
      others.emplace_back([&sync, point] { sync.x_SyncPoint(__FILE__, point, true); });
    sync.x_SyncPoint(__FILE__, point, true);
    for (std::thread& other : others)
      other.join();
  }
  state.counters["floor_ms"] = (parties - 1) * 5.0;
}
BENCHMARK(BM_Rendezvous)->Arg(2)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
  const CPxBenchDir dir;
  if (!dir.IsReady())
    return 2;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
