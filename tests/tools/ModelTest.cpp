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

TEST(RunModel, FailsOnReportedFailuresAndTiesWarningsToTheirClass) {
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
  // A class may report failures that no check shows.
  Add(model, "ClCp|c\rClRe|Failures \t2\r");
  EXPECT_EQ(model.Totals().failed, 0);
  EXPECT_TRUE(model.Failed());
}

TEST(CoverageModel, SkipsRecordsItCannotReadAndSaysSo) {
  CReadIssues issues;
  CCoverageModel model;
  const auto add = [&](EPxMsgType kind, const char* text) {
    model.Add(SLogRecord{kind, text}, issues);
  };
  for (const char* bad : {"?3,120();00000", "?3,120();00000G", "?x,1();000001", "?3,120"})
    add(PX_MSG_COVERAGE_COUNT, bad);
  for (const char* bad : {"?3,120(1):", "?3,120(1)", "3,120(1", "?3,120(1):1G"})
    add(PX_MSG_COVERAGE_LINE, bad);
  for (const char* bad : {"!1,2;name", "!1,2;f(0):0", "!1,2;f(0):ZZ", "!1;f(0):"})
    add(PX_MSG_COVERAGE_PASSABLE, bad);
  add(PX_MSG_COVERAGE_FUNC_IN, "anything");
  EXPECT_EQ(issues.Count(READ_ISSUE_BAD_COVERAGE), 12u);
  EXPECT_TRUE(model.Empty());
}

} // namespace
