// The store on its own, without threads: first-reached order over many
// lines, and counters past six hex digits.
#include "coverage/PxCoverageFixture.h"

#include "probex/coverage/PxCoverage.h"
#include "probex/coverage/PxLineCounts.h"

#include <gtest/gtest.h>

namespace {

using NPxCoverage::OutputLine;
using Messages = std::vector<SPxMessage>;

SPxMessage Count(const std::string& text) {
  return {PX_MSG_COVERAGE_COUNT, text};
}

class LineCounts : public CPxCoverageTest {};

TEST_F(LineCounts, LinesComeBackInTheOrderTheyWereFirstReached) {
  std::vector<int> lines;
  for (int i = 0; i < 1000; ++i)
    lines.push_back((i * 7919) % 1000);
  for (int line : lines)
    OutputLine(8, line, 1);
  OutputLine(8, lines[10], 2);
  FlushLineCounts();
  const Messages records = Records();
  ASSERT_EQ(records.size(), lines.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string head = "?8," + std::to_string(lines[i]) + "();000001";
    EXPECT_EQ(records[i].text, i == 10 ? head + "000001" : head);
  }
}

TEST_F(LineCounts, ACounterOf2To24PrintsSevenDigitsAndPointsOutsideTheRangeAreIgnored) {
  CPxLineCounts store;
  for (std::uint32_t i = 0; i < (1u << 24); ++i)
    store.CountPassage(3, 120, 2);
  store.CountPassage(3, 120, 0);
  store.CountPassage(3, 120, NPxCoverage::kMaxPassagePoint + 1);
  store.Flush();
  EXPECT_EQ(Records(), (Messages{Count("?3,120();0000001000000")}));
}

} // namespace
