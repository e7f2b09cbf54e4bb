// What coverage costs the code under test, beside a gcov counter built with
// -fprofile-update=atomic in the same program: the first passage of a new
// line into a store of 10 and of 100,000 lines, and a passage of a known
// line (two instrumented functions called in turn, so no passage is an
// exact repeat of the last one) in count mode.
#include "probex/coverage/PxLineCounts.h"

#include "PxBenchDir.h"
#include "PxBenchTimer.h"

#include <probex/probex.h>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

// Two functions of a source built with gcov's atomic counters.
void PxGcovFirst();
void PxGcovSecond();

namespace {

constexpr int kNewLines = 1000;
constexpr int kStores = 15;
// Lines per source cookie, below the 65,536 at which keys would wrap.
constexpr int kLinesPerCookie = 50000;

void Pass(CPxLineCounts& store, int line) {
  store.CountPassage(1 + line / kLinesPerCookie, line % kLinesPerCookie, 1);
}

// The mean first passage of kNewLines new lines into one store, once it
// holds 10 lines and again once it holds 100,000, as medians of kStores
// stores: a sample lasts microseconds, so one preemption would move a
// median of few.
std::pair<double, double> FirstPassageNs() {
  std::vector<double> early, late;
  for (int run = 0; run < kStores; ++run) {
    CPxLineCounts store;
    int line = 0;
    const auto timeNew = [&store, &line] {
      const auto start = std::chrono::steady_clock::now();
      for (const int end = line + kNewLines; line < end; ++line)
        Pass(store, line);
      return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start)
                 .count() /
             kNewLines;
    };
    for (; line < 10; ++line)
      Pass(store, line);
    early.push_back(timeNew());
    for (; line < 100000; ++line)
      Pass(store, line);
    late.push_back(timeNew());
  }
  std::sort(early.begin(), early.end());
  std::sort(late.begin(), late.end());
  return {early[kStores / 2], late[kStores / 2]};
}

__attribute__((noinline)) void ProbexFirst() {
  PX_COVERAGE_LINE();
  asm volatile("");
}
__attribute__((noinline)) void ProbexSecond() {
  PX_COVERAGE_LINE();
  asm volatile("");
}

template <class F1, class F2> double AlternatingNs(F1 first, F2 second) {
  return PxMedianNs(2000000,
                    [&](long count) {
                      for (long i = 0; i < count; ++i) {
                        first();
                        second();
                      }
                    }) /
         2;
}

} // namespace

int main() {
  // Every store takes its memory from a heap already mapped, so the first
  // passages show the store's own growth, not the kernel's first touch of
  // fresh pages, which any store of new lines pays alike.
  ::mallopt(M_TOP_PAD, 256 << 20);
  ::mallopt(M_TRIM_THRESHOLD, 512 << 20);
  const CPxBenchDir dir;
  if (!dir.IsReady())
    return 2;
  const auto [at10, at100k] = FirstPassageNs();
  const double repeat = AlternatingNs(ProbexFirst, ProbexSecond);
  const double gcov = AlternatingNs(PxGcovFirst, PxGcovSecond);
  std::printf("ns  first passage at 10 lines %.1f, at 100,000 lines %.1f\n"
              "ns  passage of a known line %.1f, gcov atomic counter %.1f\n",
              at10, at100k, repeat, gcov);
  std::printf("figure probex.first_passage_10 %.2f\nfigure probex.first_passage_100000 %.2f\n"
              "figure probex.repeat_passage %.2f\nfigure gcov.repeat_passage %.2f\n",
              at10, at100k, repeat, gcov);
  return 0;
}
