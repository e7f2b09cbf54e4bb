// The suite: running owned cases in order and the results block it sends.
#include "common/PxDebuggerStandIn.h"
#include "common/PxRecordingSink.h"
#include "probex/base/PxFormat.h"
#include "probex/base/PxTexts.h"
#include "probex/core/PxRunningCaseMap.h"
#include "probex/probex.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

namespace {

using Lines = std::vector<std::string>;

// The debugger lines of a results block, from its heading to the end.
Lines ResultsBlock(const CPxDebuggerStandIn& debugger) {
  Lines lines;
  for (const std::string& e : debugger.Events()) {
    if (e.rfind("<pause", 0) != 0)
      lines.push_back(e);
  }
  const std::string heading = std::string(NPxText::kSuiteResultsHeading) + "\n";
  for (size_t i = lines.size(); i-- > 0;) {
    if (lines[i] == heading)
      return Lines(lines.begin() + static_cast<long>(i) - 1, lines.end());
  }
  return {};
}

class CTestA : public CProbex {
public:
  CTestA() { PX_CAPTION_CLASS("A"); }
  PX_CASE(One) {}
  PX_CASE(Two) {
    x_SetTestExpectLine("/src/a.cpp", 20);
    x_Assert(false, "x");
  }
  PX_CASE(Three) {}
  PX_DECLARATION_END();
};

class CTestB : public CProbex {
public:
  CTestB() { PX_CAPTION_CLASS("B"); }
  PX_CASE(One) {}
  PX_CASE(Two) {}
  PX_DECLARATION_END();
};

TEST(Suite, ResultsBlockListsEachClassWithItsFailuresAndResults) {
  CPxDebuggerStandIn debugger;
  CProbexSuite suite;
  PX_ADD(suite, CTestA);
  PX_ADD(suite, CTestB);
  suite.Suite();
  const Lines expected{"\n",
                       std::string(NPxText::kSuiteResultsHeading) + "\n",
                       "\n",
                       "\n",
                       ">>>> CTestA\n",
                       "/src/a.cpp(20):\n",
                       "** " + PxFormat(NPxText::kAssertNg, "x") + "\n",
                       ">> Case     \t3\n",
                       ">> Exception\t0\n",
                       ">> Failures \t1\n",
                       "\n",
                       ">>>> CTestB\n",
                       ">> Case     \t2\n",
                       ">> Exception\t0\n",
                       ">> Failures \t0\n",
                       "\n"};
  EXPECT_EQ(ResultsBlock(debugger), expected);
  // The name line reaches the ordinary output before each class runs.
  EXPECT_NE(debugger.Output().find(">>>> CTestB\n\nProbex  Ver1.40\n\n[B]\n"), std::string::npos);
}

TEST(Suite, EmptySuiteSendsFourLinesAndSecondRunHoldsOnlyItsOwnLines) {
  CPxDebuggerStandIn debugger;
  {
    CProbexSuite empty;
    empty.Suite();
  }
  EXPECT_EQ(debugger.Output(), "\n" + std::string(NPxText::kSuiteResultsHeading) + "\n\n\n");

  CPxDebuggerStandIn again;
  CProbexSuite suite;
  PX_ADD(suite, CTestB);
  suite.Suite();
  const Lines first = ResultsBlock(again);
  suite.Suite();
  EXPECT_EQ(ResultsBlock(again), first);
  EXPECT_EQ(first.size(), 9u);
}

class CFailsWithoutLocation : public CProbex {
public:
  CFailsWithoutLocation() { PX_CAPTION_CLASS("no location"); }
  PX_CASE(Fail) { x_Assert(false, "y"); }
  PX_DECLARATION_END();
};

TEST(Suite, FailureWithoutAnyLocationIsPrecededByAnEmptyLineAndNullNamesAreEmpty) {
  CPxDebuggerStandIn debugger;
  CProbexSuite suite;
  suite.x_AddProbex(nullptr, new CFailsWithoutLocation);
  suite.Suite();
  const Lines block = ResultsBlock(debugger);
  ASSERT_GE(block.size(), 7u);
  EXPECT_EQ(block[4], ">>>> \n");
  EXPECT_EQ(block[5], "\n");
  EXPECT_EQ(block[6], "** " + PxFormat(NPxText::kAssertNg, "y") + "\n");
}

TEST(Suite, WithASinkOfItsOwnEverythingGoesThereUnchangedAndNothingIsCollected) {
  CPxDebuggerStandIn debugger;
  CPxRecordingSink sink;
  CProbexSuite suite;
  suite.SetViewClass(&sink);
  PX_ADD(suite, CTestA);
  suite.Suite();
  EXPECT_TRUE(debugger.Events().empty());
  const std::vector<SPxMessage> messages = sink.Messages();
  ASSERT_GE(messages.size(), 3u);
  EXPECT_EQ(messages[0], (SPxMessage{PX_MSG_ETC, ""}));
  EXPECT_EQ(messages[1], (SPxMessage{PX_MSG_CLASS_NAME, "CTestA"}));
  for (const SPxMessage& m : messages)
    EXPECT_NE(m.text, NPxText::kSuiteResultsHeading);
  EXPECT_EQ(messages.back(), (SPxMessage{PX_MSG_ETC, ""}));
}

int g_destroyed = 0;

class CCounted : public CTestB {
public:
  ~CCounted() override { ++g_destroyed; }
};

TEST(Suite, OwnsItsCasesAndDeletesEachOnce) {
  CPxDebuggerStandIn debugger;
  g_destroyed = 0;
  {
    CProbexSuite suite;
    PX_ADD(suite, CCounted);
    suite.x_AddProbex("null", nullptr);
    PX_ADD(suite, CCounted);
    suite.Suite();
    EXPECT_EQ(g_destroyed, 0);
  }
  EXPECT_EQ(g_destroyed, 2);
}

TEST(Suite, ConstructorFromACaseRunsItAtOnceWithTheSink) {
  CPxRecordingSink sink;
  CTestB test;
  CProbexSuite suite(test, &sink);
  EXPECT_FALSE(sink.Messages().empty());
  sink.Clear();
  CPxDebuggerStandIn debugger;
  suite.Suite();
  EXPECT_EQ(debugger.Output(), "\n" + std::string(NPxText::kSuiteResultsHeading) + "\n\n\n");
  test.Run();
  EXPECT_FALSE(sink.Messages().empty());
}

class CThrows : public CProbex {
public:
  CThrows() { PX_CAPTION_CLASS("throws"); }
  PX_CASE(Throw) { throw std::logic_error("escape"); }
  PX_DECLARATION_END();
};

TEST(Suite, ExceptionLeavesSuiteAtOnceWithoutResultsBlock) {
  CPxDebuggerStandIn debugger;
  CProbexSuite suite;
  PX_ADD(suite, CThrows);
  PX_ADD(suite, CTestB);
  EXPECT_THROW(suite.Suite(), std::logic_error);
  EXPECT_EQ(debugger.Output().find("[B]"), std::string::npos);
  EXPECT_TRUE(ResultsBlock(debugger).empty());
  EXPECT_EQ(g_mapRunningCase.GetCount(), 0u);
}

class CWorkerFailures : public CProbex {
public:
  CWorkerFailures() { PX_CAPTION_CLASS("workers"); }
  PX_CASE(Fail) {
    std::vector<std::thread> workers;
    for (int t = 0; t < 4; ++t)
      workers.emplace_back([this] {
        for (int i = 0; i < 50; ++i) {
          x_SetTestExpectLine("/w.cpp", i);
          x_Assert(false, "w");
        }
      });
    for (std::thread& w : workers)
      w.join();
  }
  PX_DECLARATION_END();
};

TEST(Suite, CollectsFailuresSentFromWorkerThreads) {
  CPxDebuggerStandIn debugger;
  CProbexSuite suite;
  PX_ADD(suite, CWorkerFailures);
  suite.Suite();
  int failures = 0;
  for (const std::string& line : ResultsBlock(debugger))
    failures += line.rfind("** ", 0) == 0;
  EXPECT_EQ(failures, 200);
}

} // namespace
