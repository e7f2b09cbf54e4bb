// Coverage from its record texts: passable-line tables, step records and
// final counts, and the records that cannot be read.
#include "CoverageModel.h"

#include <gtest/gtest.h>

#include <map>

namespace {

struct SCoverageFixture {
  CReadIssues issues;
  CCoverageModel model;

  void Add(EPxMsgType kind, const char* text) {
    SLogRecord record;
    record.kind = kind;
    record.text = text;
    model.Add(record, issues);
  }
  std::map<long long, std::uint64_t> Lines(long long cookie) const {
    const auto found = model.Sources().find(cookie);
    return found == model.Sources().end() ? std::map<long long, std::uint64_t>()
                                          : found->second.lines;
  }
};

TEST(CoverageModel, ReadsPassableLinesLeastSignificantBitFirst) {
  SCoverageFixture f;
  // Byte 0x05: lines 10 and 12; byte 0x80: line 10 + 8 + 7.
  f.Add(PX_MSG_COVERAGE_PASSABLE, "!2,10;/src/a(b).cpp(0):0580");
  EXPECT_EQ(f.model.Sources().at(2).name, "/src/a(b).cpp");
  EXPECT_EQ(f.Lines(2), (std::map<long long, std::uint64_t>{{10, 0}, {12, 0}, {25, 0}}));
  f.Add(PX_MSG_COVERAGE_PASSABLE, "!3,1;empty(0):");
  EXPECT_TRUE(f.Lines(3).empty());
  EXPECT_TRUE(f.issues.Empty());
}

TEST(CoverageModel, CountsStepRecordsPerLineWhateverThePoint) {
  SCoverageFixture f;
  f.Add(PX_MSG_COVERAGE_PASSABLE, "!0,100;s.cpp(0):03");
  f.Add(PX_MSG_COVERAGE_LINE, "?0,100(1");
  f.Add(PX_MSG_COVERAGE_LINE, "?0,100(2):1F4");
  f.Add(PX_MSG_COVERAGE_LINE, "?0,105(1");
  EXPECT_EQ(f.Lines(0), (std::map<long long, std::uint64_t>{{100, 2}, {101, 0}, {105, 1}}));
  EXPECT_TRUE(f.issues.Empty());
}

TEST(CoverageModel, SumsTheCountersOfACountRecord) {
  SCoverageFixture f;
  f.Add(PX_MSG_COVERAGE_COUNT, "?3,120();000001000005");
  f.Add(PX_MSG_COVERAGE_COUNT, "?3,121();000000");
  // One point past 0xFFFFFF: the field is wider than six digits.
  f.Add(PX_MSG_COVERAGE_COUNT, "?3,122();1000000");
  EXPECT_EQ(f.Lines(3), (std::map<long long, std::uint64_t>{{120, 6}, {121, 0}, {122, 0x1000000}}));
  EXPECT_TRUE(f.issues.Empty());
}

TEST(CoverageModel, SkipsRecordsItCannotReadAndSaysSo) {
  SCoverageFixture f;
  for (const char* bad : {"?3,120();00000", "?3,120();00000G", "?x,1();000001", "?3,120"})
    f.Add(PX_MSG_COVERAGE_COUNT, bad);
  for (const char* bad : {"?3,120(1):", "?3,120(1)", "3,120(1", "?3,120(1):1G"})
    f.Add(PX_MSG_COVERAGE_LINE, bad);
  for (const char* bad : {"!1,2;name", "!1,2;f(0):0", "!1,2;f(0):ZZ", "!1;f(0):"})
    f.Add(PX_MSG_COVERAGE_PASSABLE, bad);
  f.Add(PX_MSG_COVERAGE_FUNC_IN, "anything");
  EXPECT_EQ(f.issues.Count(READ_ISSUE_BAD_COVERAGE), 12u);
  EXPECT_TRUE(f.model.Empty());
}

} // namespace
