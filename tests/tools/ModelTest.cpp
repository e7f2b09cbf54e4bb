// The models built from records, in what the program's outputs do not
// show: the run model's captions, times and warnings, and coverage records
// that cannot be read.
#include "CoverageModel.h"
#include "LogReader.h"
#include "RunModel.h"

#include "probex/PxTexts.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Adds the records that the log's bytes hold.
void Add(CRunModel& model, const std::string& log) {
  CLogReader().Feed(log.data(), log.size(), [&model](const SLogRecord& r) { model.Add(r); });
}

TEST(RunModel, KeepsTheTestCaptionOfAFailureAndTheTimeOfItsCase) {
  CReadIssues issues;
  CRunModel model(issues);
  Add(model, "ClCp|stack\rCaCp|first\rTtCp|sums\rTtEL|/src/t.cpp(12):\rTtEx|b == 2  ?\r"
             "TtNg|b is not 2\rCaTm|15ms\rTtOk|\rCaTm|garbage\r");
  const std::vector<SCase>& cases = model.Classes().at(0).cases;
  ASSERT_EQ(cases.size(), 2u);
  ASSERT_EQ(cases[0].failures.size(), 1u);
  EXPECT_EQ(cases[0].failures[0].testCaption, "sums");
  EXPECT_EQ(cases[0].timeMs, 15);
  EXPECT_EQ(cases[1].timeMs, 0);
}

TEST(RunModel, TiesWarningsToTheirClass) {
  CReadIssues issues;
  CRunModel model(issues);
  Add(model, std::string("ClNm|CNoCaption\rEtc.|") + NPxText::kCaptionWarning +
                 "\rClCp|no end\rTtOk|\rClRe|Failures \t0\rEtc.|" + NPxText::kEndMarkerWarning +
                 "\r");
  ASSERT_EQ(model.Classes().size(), 2u);
  EXPECT_EQ(model.Classes()[0].warnings, std::vector<std::string>{NPxText::kCaptionWarning});
  EXPECT_TRUE(model.Classes()[0].cases.empty());
  EXPECT_EQ(model.Classes()[1].warnings, std::vector<std::string>{NPxText::kEndMarkerWarning});
  EXPECT_FALSE(model.Failed());
}

TEST(CoverageModel, SkipsRecordsItCannotReadAndSaysSo) {
  CReadIssues issues;
  CCoverageModel model;
  const std::string log = "PxCt|?3,120();00000\rPxCt|?3,120();00000G\rPxCt|?x,1();000001\r"
                          "PxCt|?3,120\rPxLn|?3,120(1):\rPxLn|?3,120(1)\rPxLn|3,120(1\r"
                          "PxLn|?3,120(1):1G\rPxPs|!1,2;name\rPxPs|!1,2;f(0):0\rPxPs|!1,2;f(0):ZZ\r"
                          "PxPs|!1;f(0):\rPxFn|anything\r";
  CLogReader().Feed(log.data(), log.size(), [&](const SLogRecord& r) { model.Add(r, issues); });
  EXPECT_EQ(issues.Count(READ_ISSUE_BAD_COVERAGE), 12u);
  EXPECT_TRUE(model.Empty());
}

} // namespace
