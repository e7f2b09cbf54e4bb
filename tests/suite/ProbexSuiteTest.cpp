// The suite: running owned cases in order and the results block it sends.
#include "common/PxDebuggerStandIn.h"
#include "common/PxIconv.h"
#include "common/PxRecordingSink.h"
#include "common/PxTestFiles.h"
#include "probex/base/PxTexts.h"
#include "probex/core/PxRunningCaseMap.h"
#include "probex/probex.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

namespace {

// The debugger lines of a run of the suite, times made fixed.
std::string Shown(CProbexSuite& suite) {
  CPxDebuggerStandIn debugger;
  suite.Suite();
  return PxStable(PxIconv("UTF-8", "CP932", debugger.Output()));
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

class CFailsWithoutLocation : public CProbex {
public:
  CFailsWithoutLocation() { PX_CAPTION_CLASS("no location"); }
  PX_CASE(Fail) { x_Assert(false, "y"); }
  PX_DECLARATION_END();
};

TEST(Suite, RunsItsClassesInOrderAndSendsTheResultsBlockOfEachRun) {
  CProbexSuite two, empty, again, unnamed, ownSink;
  PX_ADD(two, CTestA);
  PX_ADD(two, CTestB);
  PX_ADD(again, CTestB);
  again.Suite();
  unnamed.x_AddProbex(nullptr, new CFailsWithoutLocation);
  CPxRecordingSink sink, madeSink;
  ownSink.SetViewClass(&sink); // everything goes there unchanged, nothing is collected
  PX_ADD(ownSink, CTestA);
  CTestB test;
  CProbexSuite made(test, &madeSink); // runs the case at once, with the sink
  std::string all = "== two classes\n" + Shown(two) + "== empty\n" + Shown(empty) +
                    "== second run\n" + Shown(again) + "== no name, no location\n" + Shown(unnamed);
  const std::string own = Shown(ownSink);
  all += "== a sink of its own\n" + PxTranscript(sink.Messages()) + own;
  all += "== made from a case\n" + PxTranscript(madeSink.Messages()) + Shown(made);
  PxExpectApproved("suite/approved/suite.txt", all);
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
  EXPECT_EQ(debugger.Output().find(NPxText::kSuiteResultsHeading), std::string::npos);
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
  const std::string shown = debugger.Output();
  EXPECT_EQ(PxCount(shown.substr(shown.rfind(NPxText::kSuiteResultsHeading)), "\n** "), 200u);
}

} // namespace
