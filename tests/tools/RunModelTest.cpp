// The run model built from records: classes, cases and checks as the run
// loop and a suite send them, including the odd shapes of real runs.
#include "RunModel.h"

#include "probex/PxTexts.h"

#include <gtest/gtest.h>

#include <utility>
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

void AddClass(SModelFixture& f, const char* caption, bool failing) {
  f.Add({{PX_MSG_ETC, "Probex  Ver 1.40"},
         {PX_MSG_CLASS_CAPTION, caption},
         {PX_MSG_CASE_LINE, "/src/t.cpp(10):"},
         {PX_MSG_CASE_CAPTION, "first"},
         {PX_MSG_TEST_CAPTION, "sums"},
         {PX_MSG_TEST_EXPECT_LINE, "/src/t.cpp(11):"},
         {PX_MSG_TEST_EXPRESSION, "a == 1"},
         {PX_MSG_TEST_OK, ""},
         {PX_MSG_TEST_EXPECT_LINE, "/src/t.cpp(12):"},
         {PX_MSG_TEST_EXPRESSION, failing ? "b == 2  ?" : "b == 2"},
         {failing ? PX_MSG_TEST_NG : PX_MSG_TEST_OK, failing ? "b is not 2" : ""},
         {PX_MSG_CASE_TIME, "15ms"},
         {PX_MSG_TEST_EXPECT_LINE, "/src/t.cpp(20):"},
         {PX_MSG_TEST_EXPRESSION, "c"},
         {PX_MSG_TEST_OK, ""},
         {PX_MSG_CASE_TIME, "0ms"},
         {PX_MSG_CLASS_RESULT, "Case     \t2"},
         {PX_MSG_CLASS_RESULT, "Exception\t0"},
         {PX_MSG_CLASS_RESULT, failing ? "Failures \t1" : "Failures \t0"}});
}

TEST(RunModel, BuildsClassesCasesAndChecksOfARun) {
  SModelFixture f;
  f.Add({{static_cast<EPxMsgType>(kPxHeaderTitle), "Probex"},
         {static_cast<EPxMsgType>(kPxHeaderVersion), "1.40(x)"}});
  AddClass(f, "stack", true);
  AddClass(f, "queue", false);
  EXPECT_EQ(f.model.Title(), "Probex");
  EXPECT_EQ(f.model.Version(), "1.40(x)");
  ASSERT_EQ(f.model.Classes().size(), 2u);
  const SClass& stack = f.model.Classes()[0];
  EXPECT_EQ(stack.caption, "stack");
  ASSERT_EQ(stack.cases.size(), 2u);
  EXPECT_EQ(stack.cases[0].caption, "first");
  EXPECT_EQ(stack.cases[0].location, "/src/t.cpp(10):");
  EXPECT_EQ(stack.cases[0].timeMs, 15);
  EXPECT_EQ(stack.cases[0].passed, 1);
  ASSERT_EQ(stack.cases[0].failures.size(), 1u);
  const SFailure& failure = stack.cases[0].failures[0];
  EXPECT_EQ(failure.testCaption, "sums");
  EXPECT_EQ(failure.expectLine, "/src/t.cpp(12):");
  EXPECT_EQ(failure.expression, "b == 2  ?");
  EXPECT_EQ(failure.text, "b is not 2");
  // A test method without a caption is a case of its own all the same.
  EXPECT_EQ(stack.cases[1].caption, "");
  EXPECT_EQ(stack.cases[1].passed, 1);
  EXPECT_EQ(stack.cases[1].timeMs, 0);
  EXPECT_TRUE(stack.hasResults);
  EXPECT_EQ(stack.reportedCases, 2);
  EXPECT_EQ(stack.reportedFailures, 1);
  const SRunTotals totals = f.model.Totals();
  EXPECT_EQ(totals.classes, 2);
  EXPECT_EQ(totals.cases, 4);
  EXPECT_EQ(totals.passed, 5);
  EXPECT_EQ(totals.failed, 1);
  EXPECT_TRUE(f.model.Failed());
}

TEST(RunModel, FailsOnAClassThatReportsFailuresEvenWithoutFailedChecks) {
  SModelFixture passing;
  AddClass(passing, "ok", false);
  EXPECT_FALSE(passing.model.Failed());

  SModelFixture reported;
  reported.Add({{PX_MSG_CLASS_CAPTION, "c"}, {PX_MSG_CLASS_RESULT, "Failures \t2"}});
  EXPECT_EQ(reported.model.Totals().failed, 0);
  EXPECT_TRUE(reported.model.Failed());
}

TEST(RunModel, NamesSuiteClassesAndKeepsTheResultsBlock) {
  SModelFixture f;
  f.Add({{PX_MSG_CLASS_NAME, "CStack"}});
  AddClass(f, "stack", true);
  f.Add({{PX_MSG_CLASS_NAME, "CQueue"}});
  AddClass(f, "queue", false);
  f.Add({{PX_MSG_ETC, NPxText::kSuiteResultsHeading},
         {PX_MSG_ETC, ">>>> CStack"},
         {PX_MSG_ETC, "/src/t.cpp(12):"},
         {PX_MSG_ETC, "** b is not 2"}});
  ASSERT_EQ(f.model.Classes().size(), 2u);
  EXPECT_EQ(f.model.Classes()[0].name, "CStack");
  EXPECT_EQ(f.model.Classes()[0].caption, "stack");
  EXPECT_EQ(f.model.Classes()[1].name, "CQueue");
  EXPECT_EQ(f.model.SuiteResults(),
            (std::vector<std::string>{">>>> CStack", "/src/t.cpp(12):", "** b is not 2"}));
}

TEST(RunModel, TiesTheRunLoopWarningsToTheirClass) {
  SModelFixture f;
  f.Add({{PX_MSG_CLASS_NAME, "CNoCaption"}, {PX_MSG_ETC, NPxText::kCaptionWarning}});
  AddClass(f, "no end", false);
  f.Add({{PX_MSG_ETC, NPxText::kEndMarkerWarning}});
  f.Add({{PX_MSG_ETC, NPxText::kCaptionWarning}});
  ASSERT_EQ(f.model.Classes().size(), 3u);
  EXPECT_EQ(f.model.Classes()[0].name, "CNoCaption");
  EXPECT_EQ(f.model.Classes()[0].warnings, std::vector<std::string>{NPxText::kCaptionWarning});
  EXPECT_TRUE(f.model.Classes()[0].cases.empty());
  EXPECT_EQ(f.model.Classes()[1].warnings, std::vector<std::string>{NPxText::kEndMarkerWarning});
  EXPECT_EQ(f.model.Classes()[2].warnings, std::vector<std::string>{NPxText::kCaptionWarning});
  EXPECT_FALSE(f.model.Failed());
}

TEST(RunModel, KeepsChecksThatArriveOutsideAnyClassOrCase) {
  // A log whose start was lost: the checks still count.
  SModelFixture f;
  f.Add({{PX_MSG_TEST_EXPRESSION, "x"},
         {PX_MSG_TEST_NG, "lost start"},
         {PX_MSG_CASE_TIME, "garbage"},
         {PX_MSG_TEST_OK, "ok"}});
  ASSERT_EQ(f.model.Classes().size(), 1u);
  ASSERT_EQ(f.model.Classes()[0].cases.size(), 2u);
  EXPECT_EQ(f.model.Classes()[0].cases[0].failures.size(), 1u);
  EXPECT_EQ(f.model.Classes()[0].cases[0].timeMs, 0);
  EXPECT_EQ(f.model.Classes()[0].cases[1].passed, 1);
  EXPECT_EQ(f.model.Classes()[0].cases[1].timeMs, -1);
}

} // namespace
