// Records that threads send while a case runs, read as the viewer reads
// them: a worker's failures stay in the case it ran under whatever the
// timing, a test caption stays with its check, a stuck worker's failure
// stays in its class.
#include "common/PxChildProcess.h"
#include "common/PxRecordingSink.h"
#include "common/PxTestFiles.h"
#include "model/LogReader.h"
#include "model/RunModel.h"
#include "probex/concurrent/ProbexThread.h"
#include "probex/core/ProbexMacros.h"

#include <signal.h>

#include <map>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kThreads = 8;
constexpr int kChecksEach = 10000;
constexpr char kCaseCaption[] = "the case of every thread";

enum class EStart { Workers, WorkersUncaptioned, PlainThreads };

// Each thread fails kChecksEach checks whose expression names the thread,
// each under a caption that names the thread and the check: "t3 #17".
template <typename TBase> class CFailingThreads : public TBase {
public:
  explicit CFailingThreads(EStart start) : m_start(start) {
    this->x_SetClassCaption("failing threads");
    if constexpr (std::is_base_of_v<CProbexThread, TBase>)
      this->SetOppositeCount(kThreads);
  }
  void Fail(int thread) {
    const std::string tag = "t" + std::to_string(thread);
    for (int i = 0; i < kChecksEach; ++i) {
      this->x_SetTestCaption((tag + " #" + std::to_string(i)).c_str());
      this->x_SetTestExpectLine(__FILE__, __LINE__);
      this->x_Assert(false, tag.c_str());
    }
  }

protected:
  const EStart m_start;
};

class CWorkers : public CFailingThreads<CProbexThread> {
public:
  using CFailingThreads::CFailingThreads;
  void RunThread(int index) override { Fail(index); }
  PX_CASE(Case) {
    if (m_start == EStart::Workers)
      PX_CASE_CAPTION(kCaseCaption);
  }
  PX_DECLARATION_END();
};

// The case starts its threads before its caption and waits for them.
class CPlainThreads : public CFailingThreads<CProbex> {
public:
  using CFailingThreads::CFailingThreads;
  PX_CASE(Case) {
    std::vector<std::thread> threads;
    for (int index = 1; index <= kThreads; ++index)
      threads.emplace_back([this, index] { Fail(index); });
    PX_CASE_CAPTION(kCaseCaption);
    Fail(0);
    for (std::thread& thread : threads)
      thread.join();
  }
  PX_DECLARATION_END();
};

void Feed(CRunModel& model, const std::vector<SPxMessage>& messages) {
  for (const SPxMessage& message : messages)
    model.Add(SLogRecord{message.kind, message.text, 0});
}

// Every failure carries its own thread's caption, and each thread's
// captions come in the order it gave them, each once.
void ExpectEachCheckUnderItsCaption(const std::vector<SFailure>& failures, int threads) {
  std::map<std::string, int> nextOf;
  int separated = 0;
  for (const SFailure& failure : failures) {
    const std::string tag = failure.expression.substr(0, failure.expression.find(' '));
    const std::string expected = tag + " #" + std::to_string(nextOf[tag]++);
    separated += failure.testCaption != expected;
  }
  EXPECT_EQ(0, separated) << "of " << failures.size();
  EXPECT_EQ(static_cast<std::size_t>(threads), nextOf.size());
  for (const auto& [tag, count] : nextOf)
    EXPECT_EQ(kChecksEach, count) << tag;
}

// Workers released before their case opens, a case that never captions,
// and plain threads started before the caption: one class of one case that
// holds every failure, each under its own caption, and the class's results
// count them all. Plain threads twice, since a bad order shows only now and
// then; each threaded run costs its one-second pause.
TEST(WorkerRecords, EveryFailureOfEveryThreadStaysInItsCaseUnderItsCaption) {
  const struct {
    EStart start;
    int threads;
    const char* caption;
  } kRuns[] = {{EStart::Workers, kThreads, kCaseCaption},
               {EStart::PlainThreads, kThreads + 1, kCaseCaption},
               {EStart::WorkersUncaptioned, kThreads, ""},
               {EStart::PlainThreads, kThreads + 1, kCaseCaption}};
  for (const auto& [start, threads, caption] : kRuns) {
    SCOPED_TRACE(static_cast<int>(start));
    CPxRecordingSink sink;
    if (start == EStart::PlainThreads) {
      CPlainThreads test(start);
      test.SetViewClass(&sink);
      test.Run();
    } else {
      CWorkers test(start);
      test.SetViewClass(&sink);
      test.Run();
    }
    CReadIssues issues;
    CRunModel model(issues);
    Feed(model, sink.Messages());
    ASSERT_EQ(1u, model.Classes().size());
    const SClass& run = model.Classes().front();
    ASSERT_EQ(1u, run.cases.size()) << model.Summary();
    const SCase& only = run.cases.front();
    EXPECT_EQ(nullptr, only.hook);
    EXPECT_EQ(caption, only.caption);
    EXPECT_GE(only.timeMs, 0);
    const long long failures = static_cast<long long>(threads) * kChecksEach;
    EXPECT_EQ(failures, static_cast<long long>(only.failures.size()));
    EXPECT_EQ(failures, run.reportedFailures);
    ExpectEachCheckUnderItsCaption(only.failures, threads);
  }
}

// The worker fails a check before the case opens and never ends: the
// process ends inside the case, whose failure the viewer shows there, and
// the log's end names the class and the case.
TEST(WorkerRecords, AStuckWorkersFailureStaysInItsClassAndCase) {
  const std::string tmp = PxMakeTempDir("stuck-records");
  const SPxChildResult result =
      PxRunChild({PxScenarioPath("px_stuck_worker"), "200"},
                 {{"TMPDIR", tmp}, {"PATH", tmp}, {"PROBEX_NOTICE", "stderr"}});
#if !defined(_WIN32)
  EXPECT_EQ(SIGABRT, result.signal);
#endif
  const std::string log = PxOnlyLog(tmp);
  CLogReader reader;
  CRunModel model(reader.Issues());
  const auto add = [&model](const SLogRecord& record) { model.Add(record); };
  reader.Feed(log.data(), log.size(), add);
  reader.Finish(add);
  ASSERT_EQ(1u, model.Classes().size()) << model.Summary();
  const SClass& run = model.Classes().front();
  ASSERT_EQ(1u, run.cases.size()) << model.Summary();
  EXPECT_EQ("waits for its worker", run.cases.front().caption);
  EXPECT_EQ(1u, run.cases.front().failures.size());
  EXPECT_FALSE(run.hasResults);
  EXPECT_EQ("the program ended abnormally: a worker that never ends / CStuck.Report waits for its "
            "worker: "
            "a RunThread worker is still running after its test run",
            model.Incomplete());
}

} // namespace
