// The run model's parts that transcripts do not show; the rest is checked
// through the reports of real runs.
#include "RunModel.h"

#include "probex/PxTexts.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct SModelFixture {
  CReadIssues issues;
  CRunModel model{issues};

  void Add(std::initializer_list<std::pair<EPxMsgType, const char*>> records) {
    for (const auto& [kind, text] : records) {
      SLogRecord record;
      record.kind = kind;
      record.text = text;
      model.Add(record);
    }
  }
};

TEST(RunModel, KeepsTheTestCaptionOfAFailureAndTheTimeOfItsCase) {
  SModelFixture f;
  f.Add({{PX_MSG_CLASS_CAPTION, "stack"},
         {PX_MSG_CASE_CAPTION, "first"},
         {PX_MSG_TEST_CAPTION, "sums"},
         {PX_MSG_TEST_EXPECT_LINE, "/src/t.cpp(12):"},
         {PX_MSG_TEST_EXPRESSION, "b == 2  ?"},
         {PX_MSG_TEST_NG, "b is not 2"},
         {PX_MSG_CASE_TIME, "15ms"},
         {PX_MSG_TEST_OK, ""},
         {PX_MSG_CASE_TIME, "garbage"}});
  const std::vector<SCase>& cases = f.model.Classes().at(0).cases;
  ASSERT_EQ(cases.size(), 2u);
  ASSERT_EQ(cases[0].failures.size(), 1u);
  EXPECT_EQ(cases[0].failures[0].testCaption, "sums");
  EXPECT_EQ(cases[0].timeMs, 15);
  EXPECT_EQ(cases[1].timeMs, 0);
}

TEST(RunModel, FailsOnReportedFailuresAndTiesWarningsToTheirClass) {
  SModelFixture f;
  f.Add({{PX_MSG_CLASS_NAME, "CNoCaption"},
         {PX_MSG_ETC, NPxText::kCaptionWarning},
         {PX_MSG_CLASS_CAPTION, "no end"},
         {PX_MSG_TEST_OK, ""},
         {PX_MSG_CLASS_RESULT, "Failures \t0"},
         {PX_MSG_ETC, NPxText::kEndMarkerWarning}});
  ASSERT_EQ(f.model.Classes().size(), 2u);
  EXPECT_EQ(f.model.Classes()[0].warnings, std::vector<std::string>{NPxText::kCaptionWarning});
  EXPECT_TRUE(f.model.Classes()[0].cases.empty());
  EXPECT_EQ(f.model.Classes()[1].warnings, std::vector<std::string>{NPxText::kEndMarkerWarning});
  EXPECT_FALSE(f.model.Failed());
  // A class may report failures that no check shows.
  f.Add({{PX_MSG_CLASS_CAPTION, "c"}, {PX_MSG_CLASS_RESULT, "Failures \t2"}});
  EXPECT_EQ(f.model.Totals().failed, 0);
  EXPECT_TRUE(f.model.Failed());
}

} // namespace
