// doctest doing the work of Probex's check benchmark: a passing and a
// failing CHECK, and runs of many empty cases against runs of one.
#define DOCTEST_CONFIG_IMPLEMENT
#include "../PxBenchTimer.h"

#include <doctest/doctest.h>

namespace {

double g_passingNs = 0;
double g_failingNs = 0;

TEST_CASE("checks passing") {
  g_passingNs = PxMedianNs(kPxBenchChecks, [](long n) {
    for (long i = 0; i < n; ++i)
      CHECK(PxOpaque(i) == i);
  });
}

TEST_CASE("checks failing") {
  g_failingNs = PxMedianNs(kPxBenchChecks, [](long n) {
    for (long i = 0; i < n; ++i)
      CHECK(PxOpaque(i) == i + 1);
  });
}

#define PX_DOCTEST_CASE_(n)                                                                        \
  TEST_CASE("many " #n) {}
#define PX_DOCTEST_CASE_EXPANDED(n) PX_DOCTEST_CASE_(n)
#define PX_DOCTEST_CASE() PX_DOCTEST_CASE_EXPANDED(__COUNTER__)
PX_BENCH_1000(PX_DOCTEST_CASE)

TEST_CASE("one") {}

void RunAll(doctest::Context& context, const char* filter) {
  context.clearFilters();
  context.setOption("test-case", filter);
  (void)context.run();
}

} // namespace

int main() {
  doctest::Context context;
  RunAll(context, "checks*");
  PxPrintFigures(
      g_passingNs, g_failingNs, [&context] { RunAll(context, "many*"); },
      [&context] { RunAll(context, "one"); });
  return 0;
}
