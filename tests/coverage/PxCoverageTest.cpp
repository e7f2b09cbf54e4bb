// The recording functions in this process, where their records go, and the macros.
#include "coverage/PxCoverageFixture.h"

#include "common/PxChildProcess.h"
#include "common/PxDebuggerStandIn.h"
#include "common/PxTestFiles.h"
#include "common/PxViewerStandIn.h"
#include "probex/core/Probex.h"
#include "probex/core/ProbexMacros.h"
#include "probex/coverage/PxInstrument.h"
#include "probex/view/PxLogWriter.h"

#include <stdexcept>

namespace {

using NPxCoverage::OutputLine;

using StepLog = CPxCoverageTest;

// Line records drop only an immediate repeat and show the time in hex when
// it changed; null texts read as empty; passable tables print their count of
// bytes in hex.
TEST_F(StepLog, LineFunctionAndPassableRecordsTakeTheirForm) {
  s_tick = kTimeBase + 3;
  // Points out of range are no passages: the filter still holds the one before them.
  for (int point : {1, 1, 0, -1, NPxCoverage::kMaxPassagePoint + 1, 1, 2})
    OutputLine(1, 10, point);
  OutputLine(1, 11, 2);
  OutputLine(1, 10, 2);
  // A function record between two equal passages does not reset the filter.
  NPxCoverage::OutputFuncIn("f");
  OutputLine(1, 10, 2);
  s_tick = kTimeBase + 0x2A;
  OutputLine(1, 10, NPxCoverage::kMaxPassagePoint);
  OutputLine(1, 11, 1);
  s_tick = kTimeBase - 1;
  OutputLine(1, 12, 1);
  const unsigned char table[] = {0x0A, 0xFF};
  NPxCoverage::OutputFuncIn(nullptr);
  NPxCoverage::OutputFuncOut(nullptr, 0xABCu);
  NPxCoverage::OutputPassibleLine(1, 2, "f", table, 0);
  NPxCoverage::OutputPassibleLine(-4, 70000, "a.cpp", table, 2);
  NPxCoverage::OutputPassibleLine(1, 2, "f", table, -3);
  NPxCoverage::OutputPassibleLine(1, 2, nullptr, nullptr, 5);
  std::string all;
  for (const std::string& record : Sent())
    all += record + "\n";
  PxExpectApproved("coverage/approved/records.txt", all);
}

class CRecordingCase : public CProbex {
public:
  CRecordingCase() { PX_CAPTION_CLASS("records"); }
  PX_CASE(Sends) { NPxCoverage::OutputFuncIn("inside"); }
  PX_DECLARATION_END();
};

TEST_F(StepLog, RecordsReachTheRunningCasesSinkDuringRunAndTheDefaultSinkOutside) {
  CPxViewerStandIn viewer;
  PxSetEnv("PATH", viewer.Path());
  CPxDebuggerStandIn noDebugger(false);
  CPxRecordingSink caseSink;
  CRecordingCase test;
  test.SetViewClass(&caseSink);
  test.Run();
  NPxCoverage::OutputFuncIn("outside");

  const auto seen = caseSink.Messages();
  EXPECT_EQ(std::count(seen.begin(), seen.end(), SPxMessage{PX_MSG_COVERAGE_FUNC_IN, "inside"}), 1);
  // The fixture's sink was the channel's before Run; Run leaves the default.
  EXPECT_TRUE(Sent().empty());
  PxLogWriter().Close();
  EXPECT_NE(PxReadFile(PxLogWriter().GetLogPath()).find("\rPxFn|outside\r"), std::string::npos);
}

int g_line = 0;

int Instrumented(int how) {
  PX_COVERAGE_FUNCTION_VALUE(how);
  g_line = __LINE__ + 1;
  PX_COVERAGE_POINT(3);
  if (how == 2)
    throw std::runtime_error("out");
  return how;
}

TEST_F(StepLog, MacrosNameThisFilesOneCookieAndLineAndReportEveryWayOut) {
  const std::string cookie = std::to_string(PxSourceCookie());
  Instrumented(1);
  EXPECT_THROW(Instrumented(2), std::runtime_error);
  const unsigned char table[] = {0x05, 0x80};
  PX_COVERAGE_PASSABLE(40, table);
  // The second passage repeats the first and is filtered out.
  EXPECT_EQ(Sent(),
            (Records{"PxFn|Instrumented", "PxLn|?" + cookie + "," + std::to_string(g_line) + "(3",
                     "PxFo|Instrumented:1", "PxFn|Instrumented", "PxFo|Instrumented:2",
                     "PxPs|!" + cookie + ",40;" + __FILE__ + "(0):0580"}));
}

int g_firstLine = 0;
int g_secondLine = 0;

void First() {
  g_firstLine = __LINE__ + 1;
  PX_COVERAGE_LINE();
}

void Second() {
  g_secondLine = __LINE__ + 1;
  PX_COVERAGE_POINT(2);
}

// Once a site holds its counter, a passage skips the recorder's lock; the
// counts, the repeat filter shared with OutputLine, the first-reached order
// after a flush and the step log after a change of mode stay exact.
TEST_F(StepLog, CallSitesCountByThemselvesAndStayExactAcrossFlushAndModeChange) {
  const int cookie = PxSourceCookie();
  const auto count = [cookie](int line, const std::string& counts) {
    return "PxCt|?" + std::to_string(cookie) + "," + std::to_string(line) + "();" + counts;
  };
  UseMode(PX_MODE_COUNT);
  for (int i = 0; i < 3; ++i) {
    First();
    First();
    Second();
    OutputLine(cookie, g_secondLine, 2);
  }
  PxLineCounts().Flush();
  // The filter outlives the flush: this first passage repeats the last one.
  Second();
  First();
  Second();
  PxLineCounts().Flush();
  EXPECT_EQ(Sent(), (Records{count(g_firstLine, "000003"), count(g_secondLine, "000000000003"),
                             count(g_firstLine, "000001"), count(g_secondLine, "000000000001")}));
  m_sink.Clear();
  UseMode(PX_MODE_STEP_LOG);
  First();
  First();
  ASSERT_EQ(Sent().size(), 1u);
  EXPECT_EQ(Sent()[0].rfind(
                "PxLn|?" + std::to_string(cookie) + "," + std::to_string(g_firstLine) + "(1", 0),
            0u);
}

} // namespace
