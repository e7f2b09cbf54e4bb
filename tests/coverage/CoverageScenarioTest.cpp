// Real processes under coverage: the mode each one takes from the mode word
// (unset, 1, 2 and others, a block that cannot be made) and from
// SetStepLogMode, and the records they leave in their log file, with the
// count records last.
#include "platform/PxObjectDirTest.h"
#include "platform/PxParty.h"

#include "common/PxChildProcess.h"
#include "common/PxViewerStandIn.h"
#include "probex/coverage/PxCoverageMode.h"
#include "probex/coverage/SharedBlock.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>

namespace fs = std::filesystem;

namespace {

using Records = std::vector<std::string>;

class CoverageScenario : public CPxObjectDirTest {
protected:
  std::vector<std::string> Argv(const std::vector<std::string>& steps) const {
    std::vector<std::string> argv{"/usr/bin/env", "TMPDIR=" + m_tmp, "PATH=" + m_viewer.Path(),
                                  PxScenarioPath("px_coverage_scenario")};
    argv.insert(argv.end(), steps.begin(), steps.end());
    return argv;
  }
  // Runs the steps in a child that must end with status 0.
  SPxChildResult Run(const std::vector<std::string>& steps) {
    SPxChildResult run = PxRunChild(Argv(steps));
    EXPECT_EQ(run.exitCode, 0) << run.stdErr;
    return run;
  }
  // Holds the mode block with this word while the test lasts.
  void HoldMode(std::int32_t word) {
    if (!m_block.IsAttached()) {
      ASSERT_TRUE(m_block.Attach(kPxModeBlockName));
    }
    m_block.Lock();
    m_block.WriteRecordWord(kPxModeWordIndex, word);
    m_block.Unlock();
  }
  // The log's records after its two header records, each without its "\r";
  // a time at the end of a line record reads ":T". The log is then removed.
  Records Log() {
    std::vector<fs::path> logs;
    for (const fs::directory_entry& entry : fs::directory_iterator(m_tmp)) {
      if (entry.path().extension() == ".qpxlog")
        logs.push_back(entry.path());
    }
    if (logs.size() != 1) {
      ADD_FAILURE() << logs.size() << " log files";
      return {};
    }
    const std::string all = PxReadFile(logs[0].string());
    fs::remove(logs[0]);
    Records records;
    const std::regex time(R"(\):[0-9A-F]+$)");
    for (size_t begin = 0, end; (end = all.find('\r', begin)) != std::string::npos;
         begin = end + 1) {
      const std::string record = all.substr(begin, end - begin);
      const bool line = record.rfind("PxLn|", 0) == 0 || record.rfind("(", 0) == 0;
      records.push_back(line ? std::regex_replace(record, time, "):T") : record);
    }
    if (records.size() < 2 || records[0].rfind("Tit.|", 0) != 0) {
      ADD_FAILURE() << "no header in " << all;
      return {};
    }
    return Records(records.begin() + 2, records.end());
  }
  bool HasLog() const {
    for (const fs::directory_entry& entry : fs::directory_iterator(m_tmp)) {
      if (entry.path().extension() == ".qpxlog")
        return true;
    }
    return false;
  }

  std::string m_tmp = PxMakeTempDir("logs");
  CPxViewerStandIn m_viewer;
  CSharedBlock m_block;
};

const std::vector<std::string> kMixedSteps{
    "line",      "7,120,1", "line",   "7,120,3",    "line",    "7,120,3", "line",
    "2,65536,1", "line",    "2,-1,1", "line",       "7,120,1", "in",      "f",
    "out",       "f,255",   "pass",   "1,2,f,0AFF", "line",    "7,120,0"};

TEST_F(CoverageScenario, WithoutAToolCountsAreLoggedLastInFirstReachedOrder) {
  std::vector<std::string> steps{"run"};
  steps.insert(steps.end(), kMixedSteps.begin(), kMixedSteps.end());
  Run(steps);
  const Records log = Log();
  const auto firstCount = std::find_if(log.begin(), log.end(), [](const std::string& record) {
    return record.rfind("PxCt|", 0) == 0;
  });
  ASSERT_NE(firstCount, log.end());
  EXPECT_EQ(
      Records(firstCount, log.end()),
      (Records{"PxCt|?5,10();000001", "PxCt|?5,11();000001", "PxCt|?7,120();000002000000000001",
               "PxCt|?3,0();000001", "PxCt|?1,65535();000001"}));
  // Before them: the whole test run, then the passable lines, and no step records.
  EXPECT_EQ(*(firstCount - 1), "PxPs|!1,2;f(0):0AFF");
  EXPECT_NE(std::find(log.begin(), firstCount, "ClRe|Failures \t0"), firstCount);
  for (const std::string& record : log)
    EXPECT_TRUE(record.rfind("PxLn|", 0) && record.rfind("PxF", 0)) << record;
}

TEST_F(CoverageScenario, WordOneIsCountModeEvenWhenSetStepLogModeIsCalled) {
  HoldMode(PX_MODE_COUNT);
  std::vector<std::string> steps{"step"};
  steps.insert(steps.end(), kMixedSteps.begin(), kMixedSteps.end());
  Run(steps);
  EXPECT_EQ(Log(), (Records{"PxPs|!1,2;f(0):0AFF", "PxCt|?7,120();000002000000000001",
                            "PxCt|?3,0();000001", "PxCt|?1,65535();000001"}));
}

// The same steps in step-log mode; the log continues a line record that
// differs from the one before only in its point.
const Records kStepLog{"PxLn|?7,120(1", "(3",     "PxLn|?2,65536(1", "PxLn|?2,-1(1",
                       "PxLn|?7,120(1", "PxFn|f", "PxFo|f:FF",       "PxPs|!1,2;f(0):0AFF"};

// A time may follow any line record; the comparison leaves it out.
Records WithoutTimes(Records log) {
  for (std::string& record : log) {
    const size_t at = record.find("):T");
    if (at != std::string::npos)
      record.erase(at);
  }
  return log;
}

TEST_F(CoverageScenario, WordTwoAndEveryOtherWordAreStepLogModeWithOrWithoutSetStepLogMode) {
  for (const std::int32_t word : {2, 7, -1}) {
    HoldMode(word);
    for (const bool callStep : {false, true}) {
      std::vector<std::string> steps;
      if (callStep)
        steps.push_back("step");
      steps.insert(steps.end(), kMixedSteps.begin(), kMixedSteps.end());
      Run(steps);
      EXPECT_EQ(WithoutTimes(Log()), kStepLog) << "word " << word << ", step " << callStep;
    }
  }
}

TEST_F(CoverageScenario, WithoutAToolSetStepLogModeMakesStepLogTheDefault) {
  std::vector<std::string> steps{"step"};
  steps.insert(steps.end(), kMixedSteps.begin(), kMixedSteps.end());
  Run(steps);
  EXPECT_EQ(WithoutTimes(Log()), kStepLog);
}

TEST_F(CoverageScenario, AModeBlockThatCannotBeMadeReadsAsNotSet) {
  ::setenv("PROBEX_OBJECT_DIR", "/proc/self/no-such-dir", 1);
  Run({"line", "1,1,1", "in", "f"});
  EXPECT_EQ(Log(), (Records{"PxCt|?1,1();000001"}));
  Run({"step", "line", "1,1,1"});
  EXPECT_EQ(WithoutTimes(Log()), (Records{"PxLn|?1,1(1"}));
}

TEST_F(CoverageScenario, AWordChangedAfterTheFirstReadIsIgnoredUntilSetStepLogMode) {
  HoldMode(PX_MODE_STEP_LOG);
  const std::string go = m_tmp + "/go";
  CPxParty child;
  ASSERT_TRUE(child.Start(
      Argv({"line", "1,1,1", "wait", go, "line", "1,2,1", "in", "f", "step", "line", "1,3,1"})));
  ASSERT_EQ(child.ReadLine(), "waiting");
  HoldMode(PX_MODE_COUNT);
  std::ofstream(go).put('\n');
  ASSERT_EQ(child.Wait(), 0) << child.ReadAll();
  EXPECT_EQ(WithoutTimes(Log()),
            (Records{"PxLn|?1,1(1", "PxLn|?1,2(1", "PxFn|f", "PxCt|?1,3();000001"}));
}

TEST_F(CoverageScenario, AFreshProcessHandsOutCookiesFromZero) {
  EXPECT_EQ(Run({"cookie", "cookie"}).stdOut, "0\n1\n");
  EXPECT_FALSE(HasLog());
}

TEST_F(CoverageScenario, ThreadsPassingAtOnceLoseNoPassageAndNeverMixRecords) {
  Run({"threads", "4,1000"});
  Records counts = Log();
  std::sort(counts.begin(), counts.end());
  EXPECT_EQ(counts, (Records{"PxCt|?9,100();0001F40001F4", "PxCt|?9,101();0001F40001F4",
                             "PxCt|?9,102();0001F40001F4", "PxCt|?9,103();0001F40001F4"}));

  HoldMode(PX_MODE_STEP_LOG);
  Run({"threads", "4,1000"});
  // Rebuild each passage from full records and their continuations.
  std::map<std::string, int> passages;
  std::string line;
  const std::regex full(R"(PxLn\|(\?9,10[0-3])(\([12])(\):T)?)");
  const std::regex tail(R"((\([12])(\):T)?)");
  for (const std::string& record : WithoutTimes(Log())) {
    std::smatch match;
    if (std::regex_match(record, match, full)) {
      line = match[1];
      ++passages[line + match[2].str()];
    } else if (std::regex_match(record, match, tail) && !line.empty()) {
      ++passages[line + match[1].str()];
    } else {
      ADD_FAILURE() << "malformed record " << record;
    }
  }
  ASSERT_EQ(passages.size(), 8u);
  for (const auto& [passage, count] : passages)
    EXPECT_EQ(count, 500) << passage;
}

} // namespace
