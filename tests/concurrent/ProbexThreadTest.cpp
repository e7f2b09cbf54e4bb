// Threaded test cases: workers, the pause after the cases, what workers
// count, a worker that never ends.
#include "probex/concurrent/ProbexThread.h"
#include "common/PxChildProcess.h"
#include "common/PxRecordingSink.h"
#include "common/PxTestFiles.h"
#include "probex/base/PxFormat.h"
#include "probex/base/PxTexts.h"
#include "probex/concurrent/ProbexSyncMacros.h"
#include "probex/core/ProbexMacros.h"

#include <signal.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <numeric>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Workers record their index once they have slept; meeting ones then fail
// checks and a VERIFY and meet the case, which fails its checks, meets them
// and fails a VERIFY of its own.
class CThreads : public CProbexThread {
public:
  static constexpr int kFailuresEach = 300;
  CThreads(int opposite, int workerMs, bool meet) : m_workerMs(workerMs), m_meet(meet) {
    PX_CAPTION_CLASS("threads");
    SetOppositeCount(opposite);
  }
  void RunThread(int index) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(m_workerMs));
    {
      std::lock_guard<std::mutex> guard(m_lock);
      m_indexes.push_back(index);
    }
    if (m_meet) {
      Fail();
      PX_CODE_VERIFY(1 == 2);
      Meet();
      // Names no check: still sent, before the worker is done.
      PX_TEST_CAPTION("worker done");
    }
  }
  void TearDown() override {
    std::lock_guard<std::mutex> guard(m_lock);
    m_workersDoneAtTearDown = m_indexes.size();
  }
  PX_CASE(OnTheCaller) {
    m_caseThreads.push_back(std::this_thread::get_id());
    if (m_meet) {
      Fail();
      Meet();
      PX_CODE_VERIFY(1 == 2);
    }
    m_lastCaseEnd = Clock::now();
  }
  PX_DECLARATION_END();

  const int m_workerMs;
  const bool m_meet;
  std::mutex m_lock;
  std::vector<int> m_indexes;
  std::vector<std::thread::id> m_caseThreads;
  Clock::time_point m_lastCaseEnd;
  size_t m_workersDoneAtTearDown = 0;
  std::atomic<int> m_arrived{0}, m_passedEarly{0};

private:
  void Fail() {
    for (int i = 0; i < kFailuresEach; ++i)
      PX_ASSERT(i < 0);
  }
  void Meet() {
    ++m_arrived;
    PX_SYNC_POINT(1);
    if (m_arrived < 4)
      ++m_passedEarly;
  }
};

bool HasMessage(const CPxRecordingSink& sink, EPxMsgType kind, const std::string& text) {
  const auto messages = sink.Messages();
  return std::count(messages.begin(), messages.end(), SPxMessage{kind, text}) == 1;
}

class ProbexThreadTest : public CPxObjectDirTest {};

// Workers slower than the pause are still waited for before TearDown; behind
// quick ones the pause alone holds the run. Workers' failures count, but
// only the caller's VERIFY is charged: a worker runs no test case.
TEST_F(ProbexThreadTest, OneWorkerPerOppositePartyUpToAPointsSizeMeetingTheCasesOnTheCaller) {
  std::vector<int> most(CProbexThread::kMaxWorkers);
  std::iota(most.begin(), most.end(), 1);
  const struct {
    int opposite, workerMs;
    bool meet;
    std::vector<int> indexes;
  } kCases[] = {{3, 1200, false, {1, 2, 3}},
                {0, 0, false, {1}},
                {100000, 0, false, most},
                {3, 0, true, {1, 2, 3}}};
  for (const auto& [opposite, workerMs, meet, indexes] : kCases) {
    SCOPED_TRACE(opposite);
    CPxRecordingSink sink;
    CThreads test(opposite, workerMs, meet);
    test.SetViewClass(&sink);
    std::thread::id caller;
    PxExpectReturns(
        [&] {
          caller = std::this_thread::get_id();
          test.Run();
        },
        "a run whose cases meet their workers");
    const Clock::time_point returned = Clock::now();

    std::sort(test.m_indexes.begin(), test.m_indexes.end());
    EXPECT_EQ(indexes, test.m_indexes);
    EXPECT_EQ(indexes.size(), test.m_workersDoneAtTearDown);
    EXPECT_EQ(std::vector<std::thread::id>{caller}, test.m_caseThreads);
    // RunThread takes a case's position yet is no case.
    EXPECT_TRUE(HasMessage(sink, PX_MSG_CLASS_RESULT, "Case     \t1"));
    EXPECT_GE(returned - test.m_lastCaseEnd, std::chrono::milliseconds(1000));
    EXPECT_EQ(test.m_arrived, meet ? 4 : 0);
    EXPECT_EQ(test.m_passedEarly, 0);
    EXPECT_EQ(0, ObjectFileCount());
    const int failures = meet ? 4 * CThreads::kFailuresEach : 0;
    EXPECT_TRUE(HasMessage(sink, PX_MSG_CLASS_RESULT, "Failures \t" + std::to_string(failures)));
    EXPECT_EQ(HasMessage(sink, PX_MSG_TEST_NG, PxFormat(NPxText::kPendingAssertNg, 1)), meet);
    const auto messages = sink.Messages();
    EXPECT_EQ(meet ? 3 : 0, std::count(messages.begin(), messages.end(),
                                       SPxMessage{PX_MSG_TEST_CAPTION, "worker done"}));
  }
}

// The grace is shortened here; the pause after the cases and the grace are
// both waited before the process ends.
TEST_F(ProbexThreadTest, AWorkerThatNeverEndsEndsTheProcessInItsLastCaseWithItsLogWritten) {
  constexpr int kGraceMs = 300;
  const std::string tmp = PxMakeTempDir("stuck");
  const Clock::time_point started = Clock::now();
  // On Windows the notice would be a box without PROBEX_NOTICE=stderr.
  const SPxChildResult result =
      PxRunChild({PxScenarioPath("px_stuck_worker"), std::to_string(kGraceMs)},
                 {{"TMPDIR", tmp}, {"PATH", tmp}, {"PROBEX_NOTICE", "stderr"}});
  EXPECT_GE(Clock::now() - started, std::chrono::milliseconds(1000 + kGraceMs));
#if defined(_WIN32)
  EXPECT_EQ(3, result.exitCode); // how the C runtime's abort ends a program
#else
  EXPECT_EQ(SIGABRT, result.signal);
#endif
  EXPECT_EQ("case ran\n", result.stdOut);
  EXPECT_NE(std::string::npos, result.stdErr.find("still running"));
  // Inside the case, before its time: what the viewer makes of it is the
  // worker records' test.
  const std::vector<std::string> records = PxRecords(PxOnlyLog(tmp));
  ASSERT_GE(records.size(), 2u);
  EXPECT_EQ(records.end()[-2].substr(0, 5), "TtNg|");
  EXPECT_EQ(records.back(), "End.|a worker that never ends / CStuck.Report waits for its worker: a "
                            "RunThread worker is still running after its test run");
}

} // namespace
