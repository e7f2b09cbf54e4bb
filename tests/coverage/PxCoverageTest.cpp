// The recording functions in this process: the repeat filter, the line
// record forms and times, function and passable-line records, cookies, the
// store's count records, where records go, and many threads at once.
#include "coverage/PxCoverageFixture.h"

#include "common/PxChildProcess.h"
#include "common/PxDebuggerStandIn.h"
#include "common/PxViewerStandIn.h"
#include "probex/core/Probex.h"
#include "probex/core/ProbexMacros.h"
#include "probex/coverage/PxCoverage.h"
#include "probex/coverage/PxCoverageMode.h"
#include "probex/coverage/PxLineCounts.h"
#include "probex/module/PxModule.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <thread>

namespace {

using NPxCoverage::OutputLine;

SPxMessage Line(const std::string& text) {
  return {PX_MSG_COVERAGE_LINE, text};
}
SPxMessage Count(const std::string& text) {
  return {PX_MSG_COVERAGE_COUNT, text};
}
SPxMessage Passable(const std::string& text) {
  return {PX_MSG_COVERAGE_PASSABLE, text};
}

using Messages = std::vector<SPxMessage>;

// Thread t passes points 1 and 2 in turn on line firstLine + t, so no
// passage ever repeats the one before it and every one must be recorded.
void PassFromThreads(int cookie, int firstLine, int threadCount, int passages) {
  std::vector<std::thread> threads;
  for (int t = 0; t < threadCount; ++t) {
    threads.emplace_back([=] {
      for (int i = 0; i < passages; ++i)
        OutputLine(cookie, firstLine + t, 1 + i % 2);
    });
  }
  for (std::thread& thread : threads)
    thread.join();
}

class StepLog : public CPxCoverageTest {
protected:
  void SetUp() override {
    CPxCoverageTest::SetUp();
    UseMode(PX_MODE_STEP_LOG);
  }
};

class CountMode : public CPxCoverageTest {};

TEST_F(StepLog, RepeatFilterDropsOnlyAnImmediateRepeatOfTheSamePoint) {
  OutputLine(1, 10, 1);
  OutputLine(1, 10, 1);
  OutputLine(1, 10, 2);
  OutputLine(1, 11, 2);
  OutputLine(1, 10, 2);
  // A function record between two equal passages does not reset the filter.
  NPxCoverage::OutputFuncIn("f");
  OutputLine(1, 10, 2);
  EXPECT_EQ(Records(), (Messages{Line("?1,10(1"),
                                 Line("?1,10(2"),
                                 Line("?1,11(2"),
                                 Line("?1,10(2"),
                                 {PX_MSG_COVERAGE_FUNC_IN, "f"}}));
}

TEST_F(StepLog, TimeIsPrintedInHexOnlyWhenItChangedSinceTheLastTimedRecord) {
  OutputLine(2, 1, 1);
  s_tick += 1;
  OutputLine(2, 2, 1);
  const Messages first = Records();
  ASSERT_EQ(first.size(), 2u);
  std::smatch match;
  ASSERT_TRUE(std::regex_match(first[1].text, match, std::regex(R"(\?2,2\(1\):([0-9A-F]+))")))
      << first[1].text;
  const unsigned long elapsed = std::stoul(match[1], nullptr, 16);

  m_sink.Clear();
  OutputLine(2, 3, 1); // the same millisecond: short form
  s_tick += 500;
  OutputLine(2, 4, 7);
  OutputLine(2, 5, 1);
  char expected[32];
  std::snprintf(expected, sizeof expected, "?2,4(7):%lX", elapsed + 500);
  EXPECT_EQ(Records(), (Messages{Line("?2,3(1"), Line(expected), Line("?2,5(1")}));
}

TEST_F(StepLog, ElapsedTimeWrapsAfter2To32Milliseconds) {
  OutputLine(3, 1, 1);
  s_tick += 3;
  OutputLine(3, 2, 1);
  std::smatch match;
  const std::string text = Records().back().text;
  ASSERT_TRUE(std::regex_match(text, match, std::regex(R"(\?3,2\(1\):([0-9A-F]+))"))) << text;
  const std::uint32_t base = s_tick - static_cast<std::uint32_t>(std::stoul(match[1], nullptr, 16));

  m_sink.Clear();
  s_tick = base - 1;
  OutputLine(3, 3, 1);
  s_tick = base + 0x2A;
  OutputLine(3, 4, 1);
  EXPECT_EQ(Records(), (Messages{Line("?3,3(1):FFFFFFFF"), Line("?3,4(1):2A")}));
}

TEST_F(StepLog, FunctionRecordsCarryTheTextAndTheValueInHex) {
  NPxCoverage::OutputFuncIn("Parse");
  NPxCoverage::OutputFuncOut("g", 255);
  NPxCoverage::OutputFuncOut("h", 0);
  NPxCoverage::OutputFuncIn(nullptr);
  NPxCoverage::OutputFuncOut(nullptr, 0xABCu);
  EXPECT_EQ(Records(), (Messages{{PX_MSG_COVERAGE_FUNC_IN, "Parse"},
                                 {PX_MSG_COVERAGE_FUNC_OUT, "g:FF"},
                                 {PX_MSG_COVERAGE_FUNC_OUT, "h:0"},
                                 {PX_MSG_COVERAGE_FUNC_IN, ""},
                                 {PX_MSG_COVERAGE_FUNC_OUT, ":ABC"}}));
}

TEST_F(StepLog, PassableLineTablesPrintEachByteAsTwoHexDigits) {
  const unsigned char table[] = {0x0A, 0xFF};
  NPxCoverage::OutputPassibleLine(1, 2, "f", table, 0);
  NPxCoverage::OutputPassibleLine(1, 2, "f", table, 2);
  NPxCoverage::OutputPassibleLine(-4, 70000, "dir/a.cpp", table, 1);
  NPxCoverage::OutputPassibleLine(1, 2, "f", table, -3);
  NPxCoverage::OutputPassibleLine(1, 2, "f", nullptr, 5);
  NPxCoverage::OutputPassibleLine(1, 2, nullptr, table, 2);
  EXPECT_EQ(Records(), (Messages{Passable("!1,2;f(0):"), Passable("!1,2;f(0):0AFF"),
                                 Passable("!-4,70000;dir/a.cpp(0):0A"), Passable("!1,2;f(0):"),
                                 Passable("!1,2;f(0):"), Passable("!1,2;(0):0AFF")}));
}

TEST_F(StepLog, PointsOutsideOneTo65535AreNoPassagesAndLeaveTheFilterAlone) {
  OutputLine(4, 1, 1);
  OutputLine(4, 1, 0);
  OutputLine(4, 1, -1);
  OutputLine(4, 1, NPxCoverage::kMaxPassagePoint + 1);
  OutputLine(4, 1, 1);
  OutputLine(4, 1, NPxCoverage::kMaxPassagePoint);
  EXPECT_EQ(Records(), (Messages{Line("?4,1(1"), Line("?4,1(65535")}));
}

TEST_F(StepLog, CookiesCountUpByOne) {
  const int first = NPxCoverage::GetSourceCookie();
  EXPECT_GE(first, 0);
  EXPECT_EQ(NPxCoverage::GetSourceCookie(), first + 1);
}

TEST_F(StepLog, ThreadsPassingAtOnceLeaveEveryRecordWholeAndInTheirOwnOrder) {
  constexpr int kThreads = 4, kPassages = 500;
  PassFromThreads(6, 100, kThreads, kPassages);
  const Messages records = Records();
  ASSERT_EQ(records.size(), static_cast<size_t>(kThreads * kPassages));
  std::vector<int> seen(kThreads, 0);
  const std::regex form(R"(\?6,(10[0-3])\(([12])(\):[0-9A-F]+)?)");
  for (const SPxMessage& record : records) {
    std::smatch match;
    ASSERT_TRUE(std::regex_match(record.text, match, form)) << record.text;
    const int thread = std::stoi(match[1]) - 100;
    EXPECT_EQ(std::stoi(match[2]), 1 + seen[thread]++ % 2) << record.text;
  }
}

TEST_F(CountMode, FlushSendsOneRecordPerLineWithItsPointsThenNothingMore) {
  OutputLine(3, 120, 1);
  OutputLine(3, 120, 3);
  OutputLine(3, 120, 3);
  NPxCoverage::OutputFuncIn("f");
  NPxCoverage::OutputFuncOut("f", 1);
  OutputLine(3, 121, 2);
  OutputLine(3, 120, 3);
  const unsigned char table[] = {0x81};
  NPxCoverage::OutputPassibleLine(3, 120, "f", table, 1);
  EXPECT_EQ(Records(), (Messages{Passable("!3,120;f(0):81")}));

  m_sink.Clear();
  FlushLineCounts();
  FlushLineCounts();
  EXPECT_EQ(Records(),
            (Messages{Count("?3,120();000001000000000002"), Count("?3,121();000000000001")}));
}

TEST_F(CountMode, CookieAndLineShareOneKeySoLinesOutsideSixteenBitsSpill) {
  OutputLine(2, 65536, 1);
  OutputLine(3, 0, 1);
  OutputLine(2, -1, 2);
  OutputLine(0x12345, 7, 1);
  FlushLineCounts();
  EXPECT_EQ(Records(), (Messages{Count("?3,0();000002"), Count("?1,65535();000000000001"),
                                 Count("?9029,7();000001")}));
}

TEST_F(CountMode, FlushInStepLogModeKeepsTheCountsForALaterFlush) {
  OutputLine(5, 5, 1);
  UseMode(PX_MODE_STEP_LOG);
  FlushLineCounts();
  EXPECT_TRUE(Records().empty());
  UseMode(PX_MODE_COUNT);
  FlushLineCounts();
  EXPECT_EQ(Records(), (Messages{Count("?5,5();000001")}));
}

TEST_F(CountMode, ThreadsPassingAtOnceHaveEveryPassageCounted) {
  PassFromThreads(7, 200, 4, 1000);
  FlushLineCounts();
  std::vector<std::string> texts;
  for (const SPxMessage& record : Records())
    texts.push_back(record.text);
  std::sort(texts.begin(), texts.end());
  EXPECT_EQ(texts, (std::vector<std::string>{"?7,200();0001F40001F4", "?7,201();0001F40001F4",
                                             "?7,202();0001F40001F4", "?7,203();0001F40001F4"}));
}

// A test case whose one case sends a record while it runs.
class CRecordingCase : public CProbex {
public:
  CRecordingCase() { PX_CAPTION_CLASS("records"); }
  PX_CASE(Sends) { NPxCoverage::OutputFuncIn("inside"); }
  PX_DECLARATION_END();
};

TEST_F(StepLog, RecordsReachTheRunningCasesSinkDuringRunAndTheDefaultSinkOutside) {
  CPxViewerStandIn viewer;
  ::setenv("PATH", viewer.Path().c_str(), 1);
  CPxDebuggerStandIn noDebugger(false);
  CPxRecordingSink caseSink;
  CRecordingCase test;
  test.SetViewClass(&caseSink);
  test.Run();
  NPxCoverage::OutputFuncIn("outside");

  const Messages seen = caseSink.Messages();
  EXPECT_NE(std::find(seen.begin(), seen.end(), SPxMessage{PX_MSG_COVERAGE_FUNC_IN, "inside"}),
            seen.end());
  EXPECT_EQ(std::count_if(seen.begin(), seen.end(),
                          [](const SPxMessage& m) { return m.kind == PX_MSG_COVERAGE_FUNC_IN; }),
            1);
  // The fixture's sink was the channel's before Run; Run leaves the default.
  EXPECT_TRUE(Records().empty());
  g_logWriter.Close();
  EXPECT_NE(PxReadFile(g_logWriter.GetLogPath()).find("\rPxFn|outside\r"), std::string::npos);
}

} // namespace
