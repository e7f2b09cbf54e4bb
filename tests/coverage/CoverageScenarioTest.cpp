// The mode block's protocol, and processes under coverage: the mode each
// takes, and the records in its log.
#include "common/PxChildProcess.h"
#include "common/PxTestFiles.h"
#include "common/PxViewerStandIn.h"
#include "probex/base/PxModeBlock.h"
#include "probex/platform/NamedSharedMemory.h"
#include "probex/platform/SharedBlock.h"

#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The mode block's protocol; another handle watches the header's bytes.
class SharedBlockTest : public CPxObjectDirTest {
protected:
  // The lock word, the attach count and the two record words.
  std::vector<std::int32_t> Words() const {
    const auto* words = static_cast<const std::int32_t*>(m_watch.View());
    return {words, words + 4};
  }
  NPxPlatform::CNamedSharedMemory m_watch;
};

TEST_F(SharedBlockTest, PartiesLeaveTheLockFreeAndNoneAttachedEvenAfterADeadHolder) {
  CSharedBlock block, second;
  ASSERT_TRUE(block.Attach("_QPX_MODE_INFO_"));
  ASSERT_EQ(1, m_watch.Open("_QPX_MODE_INFO_", 16));
  ASSERT_TRUE(second.Attach("_QPX_MODE_INFO_"));
  second.WriteRecordWord(1, 2);
  EXPECT_EQ(block.ReadRecordWord(1), 2);
  EXPECT_EQ(Words(), (std::vector<std::int32_t>{1, 2, 0, 2}));
  second.Detach();
  block.Detach();
  EXPECT_EQ(Words(), (std::vector<std::int32_t>{1, 0, 0, 2}));
  // A holder died between taking the lock and giving it back: a party waits
  // for it only boundedly, and the next release repairs it.
  static_cast<std::int32_t*>(m_watch.View())[0] = 0;
  ASSERT_TRUE(block.Attach("_QPX_MODE_INFO_"));
  EXPECT_EQ(Words(), (std::vector<std::int32_t>{0, 1, 0, 2}));
  block.Detach();
  EXPECT_EQ(Words(), (std::vector<std::int32_t>{1, 0, 0, 2}));
}

TEST_F(SharedBlockTest, TheLockKeepsPartiesOutOfEachOthersReadAndWrite) {
  CSharedBlock keeper;
  ASSERT_TRUE(keeper.Attach("locked"));
  const auto party = [] {
    CSharedBlock block;
    ASSERT_TRUE(block.Attach("locked"));
    for (int round = 0; round < 50; ++round) {
      block.Lock();
      const std::int32_t seen = block.ReadRecordWord(0);
      std::this_thread::yield();
      block.WriteRecordWord(0, seen + 1);
      block.Unlock();
    }
  };
  std::thread parties[] = {std::thread(party), std::thread(party), std::thread(party),
                           std::thread(party)};
  for (std::thread& one : parties)
    one.join();
  EXPECT_EQ(keeper.ReadRecordWord(0), 4 * 50);
}

TEST_F(SharedBlockTest, ABlockThatCannotBeMadeLeavesNothingAttachedAndReadsZero) {
  CSharedMemory memory;
  EXPECT_EQ(-1, memory.Open("sized", 0));
  EXPECT_EQ(-1, memory.Open("sized", static_cast<unsigned long>(UINT_MAX) + 1));
  CSharedBlock block;
  EXPECT_FALSE(block.Attach(nullptr));
  EXPECT_FALSE(block.Attach(std::string(2000, 'n').c_str()));
  PxSetEnv("PROBEX_OBJECT_DIR", "/proc/self/no-such-dir");
  EXPECT_FALSE(block.Attach("_QPX_MODE_INFO_"));
  block.WriteRecordWord(1, 5);
  block.Lock();
  EXPECT_EQ(block.ReadRecordWord(1), 0);
  block.Unlock();
}

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
  // The one log's records after its header, line records without their
  // times; the log is removed.
  Records Log() {
    const Records all = PxRecords(PxOnlyLog(m_tmp));
    for (const std::string& path : PxFilesIn(m_tmp, ".qpxlog"))
      fs::remove(path);
    const std::regex time(R"(^((PxLn\|.*)?\([0-9]+)\):[0-9A-F]+$)");
    Records records;
    for (std::size_t i = 2; i < all.size(); ++i)
      records.push_back(std::regex_replace(all[i], time, "$1"));
    return records;
  }

  std::string m_tmp = PxMakeTempDir("logs");
  CPxViewerStandIn m_viewer;
  CSharedBlock m_block;
};

// Word 0: no tool holds the block. Counts are logged last, in first-reached
// order, also after a class's run; line 65536 of cookie 2 is line 0 of
// cookie 3, line -1 is 65535 of cookie 1. A line record that differs from
// the one before only in its point goes on it.
TEST_F(CoverageScenario, WordOneCountsAnyOtherSetWordLogsStepsAndSetStepLogModeOnlyFillsIn) {
  const Records steps{"line:7,120,1", "line:7,120,3", "line:7,120,3", "line:2,65536,1",
                      "line:2,-1,1",  "in:f",         "out:f,255",    "pass:1,2,f,0AFF"};
  const std::pair<std::int32_t, Records> kCases[] = {
      {0, {"run"}}, {0, {"step"}}, {1, {"step"}}, {2, {}}, {2, {"step"}}, {7, {}}, {-1, {"step"}}};
  std::string all;
  for (const auto& [word, first] : kCases) {
    if (word != 0)
      HoldMode(word);
    Run(first, steps);
    all += "== word " + std::to_string(word) + (first.empty() ? "" : ", " + first[0]) + "\n";
    for (const std::string& record : Log())
      all += record + "\n";
  }
  PxExpectApproved("coverage/approved/modes.txt", PxStable(all));
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
