#include "coverage/PxCoverageFixture.h"

namespace {

using LineCounts = CPxCoverageTest;

TEST_F(LineCounts, ACounterOf2To24PrintsSevenDigitsAndAFlushSendsEachLineOnce) {
  UseMode(PX_MODE_COUNT);
  CPxLineCounts store;
  for (std::uint32_t i = 0; i < (1u << 24); ++i)
    store.CountPassage(3, 120, 2);
  store.CountPassage(3, 120, 0);
  store.CountPassage(3, 120, NPxCoverage::kMaxPassagePoint + 1);
  store.CountPassage(2, 7, 1);
  store.Flush();
  store.Flush();
  EXPECT_EQ(Sent(), (Records{"PxCt|?3,120();0000001000000", "PxCt|?2,7();000001"}));
}

} // namespace
