// Processes under coverage: the mode each takes, and the records in its log.
#include "common/PxChildProcess.h"
#include "common/PxTestFiles.h"
#include "common/PxViewerStandIn.h"
#include "probex/coverage/PxCoverageMode.h"
#include "probex/platform/SharedBlock.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <tuple>

namespace fs = std::filesystem;

namespace {

using Records = std::vector<std::string>;

class CoverageScenario : public CPxObjectDirTest {
protected:
  bool Start(CPxChild& child, const Records& steps, const Records& more = {}) const {
    Records argv{PxScenarioPath("px_coverage_scenario")};
    argv.insert(argv.end(), steps.begin(), steps.end());
    argv.insert(argv.end(), more.begin(), more.end());
    return child.Start(argv, {{"TMPDIR", m_tmp}, {"PATH", m_viewer.Path()}});
  }
  SPxChildResult Run(const Records& steps, const Records& more = {}) {
    CPxChild child;
    EXPECT_TRUE(Start(child, steps, more));
    SPxChildResult run = child.Wait();
    EXPECT_EQ(run.exitCode, 0) << run.stdErr;
    return run;
  }
  void HoldMode(std::int32_t word) {
    ASSERT_TRUE(m_block.IsAttached() || m_block.Attach(kPxModeBlockName));
    m_block.Lock();
    m_block.WriteRecordWord(kPxModeWordIndex, word);
    m_block.Unlock();
  }
  // The one log's records after its header, line records without their times.
  Records Log() {
    Records records;
    for (const fs::directory_entry& entry : fs::directory_iterator(m_tmp)) {
      EXPECT_TRUE(records.empty()) << "a second log";
      std::istringstream all(PxReadFile(entry.path().string()));
      fs::remove(entry.path());
      const std::regex time(R"(^((PxLn\|.*)?\([0-9]+)\):[0-9A-F]+$)");
      for (std::string record; std::getline(all, record, '\r');)
        records.push_back(std::regex_replace(record, time, "$1"));
    }
    return Records(records.begin() + std::min<size_t>(2, records.size()), records.end());
  }

  std::string m_tmp = PxMakeTempDir("logs");
  CPxViewerStandIn m_viewer;
  CSharedBlock m_block;
};

const Records kMixedSteps{"line:7,120,1", "line:7,120,3", "line:7,120,3", "line:2,65536,1",
                          "line:2,-1,1",  "in:f",         "out:f,255",    "pass:1,2,f,0AFF"};
// Line 65536 of cookie 2 is line 0 of cookie 3; line -1 is 65535 of cookie 1.
const Records kCounts{"PxPs|!1,2;f(0):0AFF", "PxCt|?7,120();000001000000000001",
                      "PxCt|?3,0();000001", "PxCt|?1,65535();000001"};
// A line record that differs from the one before only in its point goes on it.
const Records kStepLog{"PxLn|?7,120(1", "(3",        "PxLn|?2,65536(1",    "PxLn|?2,-1(1",
                       "PxFn|f",        "PxFo|f:FF", "PxPs|!1,2;f(0):0AFF"};

TEST_F(CoverageScenario, WithoutAToolCountsAreLoggedLastInFirstReachedOrder) {
  Run({"run"}, kMixedSteps);
  const Records log = Log();
  Records tail{kCounts[0], "PxCt|?5,10();000001", "PxCt|?5,11();000001"};
  tail.insert(tail.end(), kCounts.begin() + 1, kCounts.end());
  ASSERT_GE(log.size(), tail.size());
  EXPECT_EQ(Records(log.end() - tail.size(), log.end()), tail);
  EXPECT_NE(std::find(log.begin(), log.end(), "ClRe|Failures \t0"), log.end());
}

TEST_F(CoverageScenario, WordOneCountsAnyOtherSetWordLogsStepsAndSetStepLogModeOnlyFillsIn) {
  // Word 0: no tool holds the block.
  const std::tuple<std::int32_t, bool, bool> kCases[] = {{0, true, false},  {1, true, true},
                                                         {2, false, false}, {2, true, false},
                                                         {7, false, false}, {-1, true, false}};
  for (const auto& [word, step, counts] : kCases) {
    if (word != 0)
      HoldMode(word);
    Run(Records(step, "step"), kMixedSteps);
    EXPECT_EQ(Log(), counts ? kCounts : kStepLog) << "word " << word << ", step " << step;
  }
}

TEST_F(CoverageScenario, AWordChangedAfterTheFirstReadIsIgnoredUntilSetStepLogMode) {
  HoldMode(PX_MODE_STEP_LOG);
  const std::string go = m_dir + "/go";
  CPxChild child;
  ASSERT_TRUE(
      Start(child, {"line:1,1,1", "wait:" + go, "line:1,2,1", "in:f", "step", "line:1,3,1"}));
  ASSERT_EQ(child.ReadLine(), "waiting");
  HoldMode(PX_MODE_COUNT);
  std::ofstream(go).put('\n');
  ASSERT_EQ(child.Wait().exitCode, 0);
  EXPECT_EQ(Log(), (Records{"PxLn|?1,1(1", "PxLn|?1,2(1", "PxFn|f", "PxCt|?1,3();000001"}));
}

TEST_F(CoverageScenario, CookiesStartAtZeroNothingRecordedLogsNothingAndNoBlockReadsAsNotSet) {
  EXPECT_EQ(Run({"cookie", "cookie"}).stdOut, "0\n1\n");
  EXPECT_TRUE(fs::is_empty(m_tmp));
  PxSetEnv("PROBEX_OBJECT_DIR", "/proc/self/no-such-dir");
  Run({"line:1,1,1", "in:f"});
  EXPECT_EQ(Log(), (Records{"PxCt|?1,1();000001"}));
  Run({"step", "line:1,1,1"});
  EXPECT_EQ(Log(), (Records{"PxLn|?1,1(1"}));
}

TEST_F(CoverageScenario, ThreadsPassingAtOnceLoseNoPassageAndNeverMixRecords) {
  Run({"threads:4,1000"});
  Records counts = Log();
  std::sort(counts.begin(), counts.end());
  EXPECT_EQ(counts, (Records{"PxCt|?9,100();0001F40001F4", "PxCt|?9,101();0001F40001F4",
                             "PxCt|?9,102();0001F40001F4", "PxCt|?9,103();0001F40001F4"}));

  HoldMode(PX_MODE_STEP_LOG);
  Run({"threads:4,1000"});
  // Every record is whole, and a continuation goes on the line before it:
  // each line's points alternate as its one thread passed them.
  std::map<std::string, std::string> points;
  std::string line;
  const std::regex form(R"((PxLn\|\?9,10[0-3])?\(([12]))");
  for (const std::string& record : Log()) {
    std::smatch match;
    ASSERT_TRUE(std::regex_match(record, match, form)) << record;
    line = match[1].matched ? match[1].str() : line;
    points[line] += match[2];
  }
  EXPECT_EQ(points.size(), 4u);
  for (const auto& [name, seen] : points)
    EXPECT_TRUE(std::regex_match(seen, std::regex("(12){500}"))) << name << ": " << seen;
}

} // namespace
