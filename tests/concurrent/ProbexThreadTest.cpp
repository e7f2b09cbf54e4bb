// Threaded test cases: one worker per opposite party beside the cases on
// the calling thread, the pause after the cases, what workers may count,
// and the object that waits for its workers.
#include "platform/PxObjectDirTest.h"

#include "common/PxChildProcess.h"
#include "common/PxRecordingSink.h"
#include "probex/PxTexts.h"
#include "probex/concurrent/ProbexSyncMacros.h"
#include "probex/concurrent/ProbexThread.h"
#include "probex/core/ProbexMacros.h"
#include "probex/core/PxFormat.h"
#include "probex/platform/NamedEvent.h"

#include <signal.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct SThreadRecord {
  std::mutex lock;
  std::vector<int> indexes;
  std::set<std::thread::id> workerThreads;
  std::vector<std::thread::id> caseThreads;
  Clock::time_point lastCaseEnd;
  size_t workersDoneAtTearDown = 0;
  int workerDelayMs = 0;
};

class CRecordingThreads : public CProbexThread {
public:
  CRecordingThreads(SThreadRecord& record, int opposite) : m_record(record) {
    PX_CAPTION_CLASS("recording threads");
    if (opposite != 0)
      SetOppositeCount(opposite);
  }
  void RunThread(int index) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(m_record.workerDelayMs));
    std::lock_guard<std::mutex> guard(m_record.lock);
    m_record.indexes.push_back(index);
    m_record.workerThreads.insert(std::this_thread::get_id());
  }
  void TearDown() override {
    std::lock_guard<std::mutex> guard(m_record.lock);
    m_record.workersDoneAtTearDown = m_record.indexes.size();
  }
  PX_CASE(First) { m_record.caseThreads.push_back(std::this_thread::get_id()); }
  PX_CASE(Second) {
    m_record.caseThreads.push_back(std::this_thread::get_id());
    m_record.lastCaseEnd = Clock::now();
  }
  PX_DECLARATION_END();

private:
  SThreadRecord& m_record;
};

// Runs a recording class to its end, the object's destruction included.
void m_sRun(SThreadRecord& record, int opposite, CPxRecordingSink& sink,
            Clock::time_point& returned) {
  CRecordingThreads test(record, opposite);
  test.SetViewClass(&sink);
  test.Run();
  returned = Clock::now();
}

std::vector<int> m_sSorted(std::vector<int> values) {
  std::sort(values.begin(), values.end());
  return values;
}

bool m_sHasMessage(const CPxRecordingSink& sink, EPxMsgType kind, const std::string& text) {
  const auto messages = sink.Messages();
  return std::count(messages.begin(), messages.end(), SPxMessage{kind, text}) == 1;
}

class ProbexThreadTest : public CPxObjectDirTest {};

TEST_F(ProbexThreadTest, OneWorkerPerOppositePartyAndTheCasesOnTheCaller) {
  SThreadRecord record;
  // Longer than the pause: the run still waits for them before TearDown.
  record.workerDelayMs = 1200;
  CPxRecordingSink sink;
  Clock::time_point returned;
  m_sRun(record, 3, sink, returned);

  EXPECT_EQ((std::vector<int>{1, 2, 3}), m_sSorted(record.indexes));
  EXPECT_EQ(3u, record.workersDoneAtTearDown);
  EXPECT_EQ(3u, record.workerThreads.size());
  EXPECT_EQ(0u, record.workerThreads.count(std::this_thread::get_id()));
  EXPECT_EQ((std::vector<std::thread::id>(2, std::this_thread::get_id())), record.caseThreads);
  // RunThread takes position 8 and is no case: exactly the two cases ran.
  EXPECT_TRUE(m_sHasMessage(sink, PX_MSG_CLASS_RESULT, "Case     \t2"));
  EXPECT_GE(returned - record.lastCaseEnd, std::chrono::milliseconds(1000));
}

TEST_F(ProbexThreadTest, WithoutACountOneWorkerWithIndexOne) {
  SThreadRecord record;
  CPxRecordingSink sink;
  Clock::time_point returned;
  m_sRun(record, 0, sink, returned);
  EXPECT_EQ(std::vector<int>{1}, record.indexes);
}

TEST_F(ProbexThreadTest, AHugeCountStartsNoMoreWorkersThanAPointCanHold) {
  SThreadRecord record;
  CPxRecordingSink sink;
  Clock::time_point returned;
  m_sRun(record, 100000, sink, returned);
  std::vector<int> expected(CProbexThread::kMaxWorkers);
  for (int i = 0; i < CProbexThread::kMaxWorkers; ++i)
    expected[i] = i + 1;
  EXPECT_EQ(expected, m_sSorted(record.indexes));
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
  static std::string PointName(int slot) {
    char name[kSyncNameSize];
    m_MakeSyncName(name, __FILE__, 1, slot);
    return name;
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
  {
    CMeetingThreads test;
    test.SetViewClass(&sink);
    test.Run();
    EXPECT_EQ(4, test.arrived);
    EXPECT_EQ(0, test.passedEarly);
    // Every handle of the run was closed at its end.
    EXPECT_FALSE(NPxPlatform::CNamedEvent().Open(CMeetingThreads::PointName(0).c_str()));
    EXPECT_FALSE(NPxPlatform::CNamedEvent().Open(CMeetingThreads::PointName(1).c_str()));
  }
  EXPECT_TRUE(m_sHasMessage(sink, PX_MSG_CLASS_RESULT,
                            "Failures \t" + std::to_string(4 * CMeetingThreads::kFailuresEach)));
  // Only the caller's VERIFY is charged; a worker runs no test case.
  EXPECT_TRUE(m_sHasMessage(sink, PX_MSG_TEST_NG, PxFormat(NPxText::kPendingAssertNg, 1)));
}

TEST_F(ProbexThreadTest, AWorkerThatNeverEndsEndsTheProcessAfterTheRun) {
  const SPxChildResult result = PxRunChild({PxScenarioPath("px_thread_stuck")});
  EXPECT_EQ(SIGABRT, result.signal);
  EXPECT_EQ("case ran\n", result.stdOut);
  EXPECT_NE(std::string::npos, result.stdErr.find("still running"));
}

class CThrowingCase : public CProbexThread {
public:
  explicit CThrowingCase(std::atomic<int>& bodies) : m_bodies(bodies) {
    PX_CAPTION_CLASS("a case throws");
  }
  void RunThread(int) override { ++m_bodies; }
  PX_CASE(Throws) { throw std::runtime_error("leaves the run"); }
  PX_DECLARATION_END();

private:
  std::atomic<int>& m_bodies;
};

TEST_F(ProbexThreadTest, ACaseThatThrowsStillLetsItsWorkersRunAndEnd) {
  CPxRecordingSink sink;
  std::atomic<int> bodies{0};
  auto test = std::make_unique<CThrowingCase>(bodies);
  test->SetViewClass(&sink);
  EXPECT_THROW(test->Run(), std::runtime_error);
  // Destruction waits for the worker, which must have been let go.
  test.reset();
  EXPECT_EQ(1, bodies);
  EXPECT_EQ(0, ObjectFileCount());
}

} // namespace
