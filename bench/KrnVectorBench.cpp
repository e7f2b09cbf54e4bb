// The support collections beside the standard ones: copying a vector (one
// atomic increment, whatever its size, against std::vector's element copy),
// appending one element at a time (spare capacity of n / 8, at most 1024,
// against std::vector's doubling), and Find as a scan in insertion order.
#include "probex/support/KrnMap.h"
#include "probex/support/KrnVector.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace {

using CUIntVector = KRN::CKrnVector<std::uint32_t>;

void BM_KrnVectorCopy(benchmark::State& state) {
  CUIntVector source;
  source.AddRange(static_cast<std::uint32_t>(state.range(0)), nullptr);
  for (auto _ : state) {
    CUIntVector copy(source);
    benchmark::DoNotOptimize(copy);
  }
}
BENCHMARK(BM_KrnVectorCopy)->Range(16, 1 << 16);

void BM_StdVectorCopy(benchmark::State& state) {
  const std::vector<std::uint32_t> source(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    std::vector<std::uint32_t> copy(source);
    benchmark::DoNotOptimize(copy.data());
  }
}
BENCHMARK(BM_StdVectorCopy)->Range(16, 1 << 16);

void BM_KrnVectorCopyThenWrite(benchmark::State& state) {
  CUIntVector source;
  source.AddRange(static_cast<std::uint32_t>(state.range(0)), nullptr);
  for (auto _ : state) {
    CUIntVector copy(source);
    copy.Set(0, 1);
    benchmark::DoNotOptimize(copy);
  }
}
BENCHMARK(BM_KrnVectorCopyThenWrite)->Range(16, 1 << 16);

void BM_KrnVectorAppend(benchmark::State& state) {
  const auto count = static_cast<std::uint32_t>(state.range(0));
  for (auto _ : state) {
    CUIntVector vector;
    for (std::uint32_t i = 0; i < count; ++i) {
      vector.Add(i);
    }
    benchmark::DoNotOptimize(vector);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_KrnVectorAppend)->Range(16, 1 << 16);

void BM_StdVectorPushBack(benchmark::State& state) {
  const auto count = static_cast<std::uint32_t>(state.range(0));
  for (auto _ : state) {
    std::vector<std::uint32_t> vector;
    for (std::uint32_t i = 0; i < count; ++i) {
      vector.push_back(i);
    }
    benchmark::DoNotOptimize(vector.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_StdVectorPushBack)->Range(16, 1 << 16);

// The last key inserted: the longest scan.
void BM_KrnMapFindLast(benchmark::State& state) {
  KRN::CKrnLineCountMap map;
  const auto entries = static_cast<std::uint32_t>(state.range(0));
  for (std::uint32_t key = 0; key < entries; ++key) {
    map.Set(key, KRN::CKrnGrowVector<std::uint32_t>());
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(map.Find(entries - 1));
  }
}
BENCHMARK(BM_KrnMapFindLast)->Range(8, 4096);

void BM_UnorderedMapFind(benchmark::State& state) {
  std::unordered_map<std::uint32_t, std::vector<std::uint32_t>> map;
  const auto entries = static_cast<std::uint32_t>(state.range(0));
  for (std::uint32_t key = 0; key < entries; ++key) {
    map[key];
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(map.find(entries - 1));
  }
}
BENCHMARK(BM_UnorderedMapFind)->Range(8, 4096);

} // namespace

BENCHMARK_MAIN();
