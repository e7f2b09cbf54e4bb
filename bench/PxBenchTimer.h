// The timing that Probex and its peers share, so a ratio compares the checks
// and not the clocks: nanoseconds per operation as the median of five runs.
// Figures go to standard error as "figure <key> <ns>" lines for the driver.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <type_traits>

// A value the optimiser cannot see through, so a check is really made.
template <class T> T PxOpaque(T value) {
  asm volatile("" : "+r"(value));
  return value;
}

// `run(count)` makes count operations; when it returns a duration, that is
// the time charged, so it can leave its own preparation out.
template <class F> double PxMedianNs(long count, F&& run) {
  double runs[5];
  for (double& ns : runs) {
    const auto start = std::chrono::steady_clock::now();
    std::chrono::steady_clock::duration elapsed{};
    if constexpr (std::is_void_v<decltype(run(count))>) {
      run(count);
      elapsed = std::chrono::steady_clock::now() - start;
    } else {
      elapsed = run(count);
    }
    ns = std::chrono::duration<double, std::nano>(elapsed).count() / static_cast<double>(count);
  }
  std::sort(runs, runs + 5);
  return runs[2];
}

// Checks per timed run; empty cases of the run whose time, less that of a
// run of one case, gives the overhead of a case.
constexpr long kPxBenchChecks = 20000;
constexpr long kPxBenchCases = 1000;
constexpr long kPxBenchRuns = 10;

// Times runs of the many cases and of the one case (each a callable that
// makes one run) and prints the figures of a framework.
template <class FMany, class FOne>
void PxPrintFigures(double passingNs, double failingNs, FMany&& many, FOne&& one) {
  const auto perRun = [](auto&& run) {
    return PxMedianNs(kPxBenchRuns, [&run](long runs) {
      for (long i = 0; i < runs; ++i)
        run();
    });
  };
  const double caseNs = (perRun(many) - perRun(one)) / static_cast<double>(kPxBenchCases - 1);
  std::fprintf(stderr,
               "figure passing_check %.2f\nfigure failing_check %.2f\n"
               "figure case_overhead %.2f\n",
               passingNs, failingNs, caseNs);
}

// Declares kPxBenchCases empty cases with a framework's own macro M().
#define PX_BENCH_CAT_(a, b) a##b
#define PX_BENCH_CAT(a, b) PX_BENCH_CAT_(a, b)
#define PX_BENCH_10(M) M() M() M() M() M() M() M() M() M() M()
#define PX_BENCH_100(M)                                                                            \
  PX_BENCH_10(M)                                                                                   \
  PX_BENCH_10(M)                                                                                   \
  PX_BENCH_10(M)                                                                                   \
  PX_BENCH_10(M) PX_BENCH_10(M) PX_BENCH_10(M) PX_BENCH_10(M) PX_BENCH_10(M) PX_BENCH_10(M)        \
      PX_BENCH_10(M)
#define PX_BENCH_1000(M)                                                                           \
  PX_BENCH_100(M)                                                                                  \
  PX_BENCH_100(M)                                                                                  \
  PX_BENCH_100(M)                                                                                  \
  PX_BENCH_100(M) PX_BENCH_100(M) PX_BENCH_100(M) PX_BENCH_100(M) PX_BENCH_100(M) PX_BENCH_100(M)  \
      PX_BENCH_100(M)
