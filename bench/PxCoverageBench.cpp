// What coverage costs the code under test, beside a gcov counter built with
// -fprofile-update=atomic in the same program: the first passage of a new
// line into a store of 10 and of 100,000 lines, and a passage of a known
// line (two instrumented functions called in turn, so no passage is an
// exact repeat of the last one) in count mode.
#include "probex/coverage/PxLineCounts.h"

#include "PxBenchDir.h"
#include "PxBenchTimer.h"

#include <probex/probex.h>

#include <cstdio>

// Two functions of a source built with gcov's atomic counters.
void PxGcovFirst();
void PxGcovSecond();

namespace {

constexpr int kNewLines = 1000;
// Lines per source cookie, below the 65,536 at which keys would wrap.
constexpr int kLinesPerCookie = 50000;

void Pass(CPxLineCounts& store, int line) {
  store.CountPassage(1 + line / kLinesPerCookie, line % kLinesPerCookie, 1);
}

// The mean first passage of kNewLines new lines into a store of `stored`.
double FirstPassageNs(int stored) {
  return PxMedianNs(kNewLines, [stored](long count) {
    CPxLineCounts store;
    for (int line = 0; line < stored; ++line)
      Pass(store, line);
    const auto start = std::chrono::steady_clock::now();
    for (int line = stored; line < stored + count; ++line)
      Pass(store, line);
    return std::chrono::steady_clock::now() - start;
  });
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
  const CPxBenchDir dir;
  if (!dir.IsReady())
    return 2;
  const double at10 = FirstPassageNs(10);
  const double at100k = FirstPassageNs(100000);
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
