// Coverage records that cannot be read; those that can are checked through
// the program's lcov output.
#include "CoverageModel.h"

#include <gtest/gtest.h>

namespace {

TEST(CoverageModel, SkipsRecordsItCannotReadAndSaysSo) {
  CReadIssues issues;
  CCoverageModel model;
  const auto add = [&](EPxMsgType kind, const char* text) {
    SLogRecord record;
    record.kind = kind;
    record.text = text;
    model.Add(record, issues);
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
