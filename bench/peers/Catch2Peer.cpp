// Catch2 v2 doing the work of Probex's check benchmark: a passing and a
// failing CHECK, and runs of many empty cases against runs of one.
#define CATCH_CONFIG_RUNNER
#include "../PxBenchTimer.h"

#include <catch2/catch.hpp>

namespace {

double g_passingNs = 0;
double g_failingNs = 0;

TEST_CASE("passing", "[checks]") {
  g_passingNs = PxMedianNs(kPxBenchChecks, [](long n) {
    for (long i = 0; i < n; ++i)
      CHECK(PxOpaque(i) == i);
  });
}

TEST_CASE("failing", "[checks]") {
  g_failingNs = PxMedianNs(kPxBenchChecks, [](long n) {
    for (long i = 0; i < n; ++i)
      CHECK(PxOpaque(i) == i + 1);
  });
}

#define PX_CATCH_CASE_(n)                                                                          \
  TEST_CASE("case " #n, "[many]") {}
#define PX_CATCH_CASE_EXPANDED(n) PX_CATCH_CASE_(n)
#define PX_CATCH_CASE() PX_CATCH_CASE_EXPANDED(__COUNTER__)
PX_BENCH_1000(PX_CATCH_CASE)

TEST_CASE("one", "[one]") {}

void RunAll(Catch::Session& session, const char* tag) {
  Catch::ConfigData config = session.configData();
  config.testsOrTags.assign(1, tag);
  session.useConfigData(config);
  (void)session.run();
}

} // namespace

int main() {
  Catch::Session session;
  RunAll(session, "[checks]");
  PxPrintFigures(
      g_passingNs, g_failingNs, [&session] { RunAll(session, "[many]"); },
      [&session] { RunAll(session, "[one]"); });
  return 0;
}
