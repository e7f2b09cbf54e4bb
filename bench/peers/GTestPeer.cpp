// GoogleTest doing the work of Probex's check benchmark: a passing and a
// failing EXPECT_EQ, and runs of many empty cases against runs of one.
#include "../PxBenchTimer.h"

#include <gtest/gtest.h>

namespace {

double g_passingNs = 0;
double g_failingNs = 0;

TEST(Checks, Passing) {
  g_passingNs = PxMedianNs(kPxBenchChecks, [](long n) {
    for (long i = 0; i < n; ++i)
      EXPECT_EQ(PxOpaque(i), i);
  });
}

TEST(Checks, Failing) {
  g_failingNs = PxMedianNs(kPxBenchChecks, [](long n) {
    for (long i = 0; i < n; ++i)
      EXPECT_EQ(PxOpaque(i), i + 1);
  });
}

#define PX_GTEST_CASE_(n)                                                                          \
  TEST(Many, PX_BENCH_CAT(Case, n)) {}
#define PX_GTEST_CASE() PX_GTEST_CASE_(__COUNTER__)
PX_BENCH_1000(PX_GTEST_CASE)

TEST(One, Case) {}

void RunAll(const char* filter) {
  GTEST_FLAG_SET(filter, filter);
  const int failed = RUN_ALL_TESTS();
  (void)failed;
}

} // namespace

int main(int, char** argv) {
  int args = 1;
  ::testing::InitGoogleTest(&args, argv);
  RunAll("Checks.*");
  PxPrintFigures(
      g_passingNs, g_failingNs, [] { RunAll("Many.*"); }, [] { RunAll("One.*"); });
  return 0;
}
