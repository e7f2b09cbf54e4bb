// Threaded test cases: workers, the pause after the cases, what workers count.
#include "common/PxTestFiles.h"

#include "common/PxChildProcess.h"
#include "common/PxRecordingSink.h"
#include "probex/base/PxFormat.h"
#include "probex/base/PxTexts.h"
#include "probex/concurrent/ProbexSyncMacros.h"
#include "probex/concurrent/ProbexThread.h"
#include "probex/core/ProbexMacros.h"

#include <signal.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <numeric>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

class CRecordingThreads : public CProbexThread {
public:
  CRecordingThreads(int opposite, int workerMs) : m_workerMs(workerMs) {
    PX_CAPTION_CLASS("recording threads");
    SetOppositeCount(opposite);
  }
  void RunThread(int index) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(m_workerMs));
    std::lock_guard<std::mutex> guard(m_lock);
    m_indexes.push_back(index);
  }
  void TearDown() override {
    std::lock_guard<std::mutex> guard(m_lock);
    m_workersDoneAtTearDown = m_indexes.size();
  }
  PX_CASE(OnTheCaller) {
    m_caseThreads.push_back(std::this_thread::get_id());
    m_lastCaseEnd = Clock::now();
  }
  PX_DECLARATION_END();

  const int m_workerMs;
  std::mutex m_lock;
  std::vector<int> m_indexes;
  std::vector<std::thread::id> m_caseThreads;
  Clock::time_point m_lastCaseEnd;
  size_t m_workersDoneAtTearDown = 0;
};

bool HasMessage(const CPxRecordingSink& sink, EPxMsgType kind, const std::string& text) {
  const auto messages = sink.Messages();
  return std::count(messages.begin(), messages.end(), SPxMessage{kind, text}) == 1;
}

class ProbexThreadTest : public CPxObjectDirTest {};

TEST_F(ProbexThreadTest, OneWorkerPerOppositePartyUpToAPointsSizeAndTheCasesOnTheCaller) {
  std::vector<int> most(CProbexThread::kMaxWorkers);
  std::iota(most.begin(), most.end(), 1);
  // Workers slower than the pause are still waited for before TearDown;
  // behind quick ones the pause alone holds the run.
  const struct {
    int opposite, workerMs;
    std::vector<int> indexes;
  } kCases[] = {{3, 1200, {1, 2, 3}}, {0, 0, {1}}, {100000, 0, most}};
  for (const auto& [opposite, workerMs, indexes] : kCases) {
    CPxRecordingSink sink;
    CRecordingThreads test(opposite, workerMs);
    test.SetViewClass(&sink);
    test.Run();
    const Clock::time_point returned = Clock::now();

    std::sort(test.m_indexes.begin(), test.m_indexes.end());
    EXPECT_EQ(indexes, test.m_indexes) << opposite;
    EXPECT_EQ(indexes.size(), test.m_workersDoneAtTearDown);
    EXPECT_EQ(std::vector<std::thread::id>{std::this_thread::get_id()}, test.m_caseThreads);
    // RunThread takes a case's position yet is no case.
    EXPECT_TRUE(HasMessage(sink, PX_MSG_CLASS_RESULT, "Case     \t1"));
    EXPECT_GE(returned - test.m_lastCaseEnd, std::chrono::milliseconds(1000));
  }
}

// Three workers and the cases meet; workers fail expectations and a VERIFY
// meanwhile, the cases fail theirs.
class CMeetingThreads : public CProbexThread {
public:
  static constexpr int kFailuresEach = 300;
  std::atomic<int> arrived{0};
  std::atomic<int> passedEarly{0};

  CMeetingThreads() {
    PX_CAPTION_CLASS("meeting threads");
    SetOppositeCount(3);
  }
  void RunThread(int) override {
    Fail();
    PX_CODE_VERIFY(1 == 2);
    Meet();
  }
  PX_CASE(MeetTheWorkers) {
    Fail();
    Meet();
  }
  PX_CASE(VerifyOnTheCaller) { PX_CODE_VERIFY(1 == 2); }
  PX_DECLARATION_END();

private:
  void Fail() {
    for (int i = 0; i < kFailuresEach; ++i)
      PX_ASSERT(i < 0);
  }
  void Meet() {
    ++arrived;
    PX_SYNC_POINT(1);
    if (arrived < 4)
      ++passedEarly;
  }
};

TEST_F(ProbexThreadTest, WorkersMeetTheCasesAndTheirFailuresCountButNotTheirVerifies) {
  CPxRecordingSink sink;
  CMeetingThreads test;
  test.SetViewClass(&sink);
  test.Run();
  EXPECT_EQ(4, test.arrived);
  EXPECT_EQ(0, test.passedEarly);
  EXPECT_EQ(0, ObjectFileCount());
  EXPECT_TRUE(HasMessage(sink, PX_MSG_CLASS_RESULT,
                         "Failures \t" + std::to_string(4 * CMeetingThreads::kFailuresEach)));
  // Only the caller's VERIFY is charged; a worker runs no test case.
  EXPECT_TRUE(HasMessage(sink, PX_MSG_TEST_NG, PxFormat(NPxText::kPendingAssertNg, 1)));
}

TEST_F(ProbexThreadTest, AWorkerThatNeverEndsEndsTheProcessAfterTheRunWithItsLogWritten) {
  const std::string tmp = PxMakeTempDir("stuck");
  const SPxChildResult result =
      PxRunChild({PxScenarioPath("px_thread_stuck")}, {{"TMPDIR", tmp}, {"PATH", tmp}});
#if defined(_WIN32)
  EXPECT_EQ(3, result.exitCode); // how the C runtime's abort ends a program
#else
  EXPECT_EQ(SIGABRT, result.signal);
#endif
  EXPECT_EQ("case ran\n", result.stdOut);
  EXPECT_NE(std::string::npos, result.stdErr.find("still running"));
  std::string log;
  for (const auto& entry : std::filesystem::directory_iterator(tmp))
    log += PxReadFile(entry.path().string());
  const std::string end = "\rClRe|Failures \t0\rEnd.|a worker that never ends: a RunThread "
                          "worker is still running after its test run\r";
  ASSERT_GE(log.size(), end.size());
  EXPECT_EQ(log.substr(log.size() - end.size()), end);
}

} // namespace
