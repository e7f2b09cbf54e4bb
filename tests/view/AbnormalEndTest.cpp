// Test programs that end badly: what their logs keep, and how they end.
#include "common/PxChildProcess.h"
#include "common/PxTestFiles.h"
#include "common/PxViewerStandIn.h"

#include <gtest/gtest.h>

#include <signal.h>

#include <map>
#include <set>

namespace {

constexpr char kSanitizersStandBack[] = "handle_segv=0:handle_sigbus=0:handle_sigfpe=0";

class AbnormalEnd : public ::testing::Test {
protected:
  // Runs the scenario in a fresh temporary directory, m_tmp.
  SPxChildResult Run(const std::string& end) {
    m_tmp = PxMakeTempDir("crash");
    // Sanitizers would take the faults first; here the library must.
    return PxRunChild({PxScenarioPath("px_crash_scenario"), end},
                      {{"TMPDIR", m_tmp},
                       {"PATH", m_viewer.Path()},
                       {"ASAN_OPTIONS", kSanitizersStandBack},
                       {"TSAN_OPTIONS", kSanitizersStandBack}});
  }
  std::string m_tmp;
  CPxViewerStandIn m_viewer;
};

// A program that takes the signal itself ("handled") goes on with nothing
// lost or doubled.
TEST_F(AbnormalEnd, EveryFatalEndKeepsTheRecordsAndNamesTheCaseThenEndsTheSameWay) {
  const struct {
    const char* end;
    int signal;
    std::string what;
  } rows[] = {{"SIGSEGV", SIGSEGV, "SIGSEGV"},
              {"SIGBUS", SIGBUS, "SIGBUS"},
              {"SIGFPE", SIGFPE, "SIGFPE"},
              {"SIGILL", SIGILL, "SIGILL"},
              {"SIGABRT", SIGABRT, "SIGABRT"},
              {"SIGTERM", SIGTERM, "SIGTERM"},
              {"SIGINT", SIGINT, "SIGINT"},
              {"SIGXFSZ", SIGXFSZ, "SIGXFSZ"}, // the program's own file reached its limit
              {"overflow", SIGSEGV, "SIGSEGV"},
              {"throw", SIGABRT, "std::terminate: thrown from a case"},
              {"handled", 0, ""}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.end);
    const SPxChildResult run = Run(row.end);
    EXPECT_EQ(run.signal, row.signal) << run.stdErr;
    EXPECT_EQ(run.exitCode, row.signal ? -1 : 0);
    const std::string log = PxOnlyLog(m_tmp);
    const std::vector<std::string> records = PxRecords(log);
    ASSERT_GE(records.size(), 4u);
    EXPECT_EQ(records[0].rfind("Tit.|", 0), 0u);
    EXPECT_EQ(PxCount(log, "TtNg|"), 1u);
    EXPECT_EQ(PxCount(log, "End.|"), row.signal ? 1u : 0u);
    EXPECT_EQ(records.back(),
              row.signal ? "End.|crash / CCrash.Dies dies: " + row.what : "ClRe|Failures \t1");
    if (row.signal) {
      EXPECT_EQ(records.end()[-3], "TtEx|1 > 2  \x81H");
      EXPECT_EQ(records.end()[-2].rfind("TtNg|", 0), 0u);
    }
  }
}

// A handler the program installs during the run is put behind the library's
// at the next case: the waiting records are written, then the program's
// handler ends the process its own way.
TEST_F(AbnormalEnd, AHandlerInstalledDuringTheRunComesAfterTheLibrarysWrite) {
  const SPxChildResult run = Run("late");
  EXPECT_EQ(run.exitCode, 7) << run.stdErr;
  const std::string log = PxOnlyLog(m_tmp);
  EXPECT_EQ(PxCount(log, "End.|"), 0u);
  const std::vector<std::string> records = PxRecords(log);
  ASSERT_GE(records.size(), 2u);
  EXPECT_EQ(records.end()[-2], "TtEx|1 > 2  \x81H");
  EXPECT_EQ(records.back().rfind("TtNg|", 0), 0u);
}

// The worker has an alternate stack before its first record.
TEST_F(AbnormalEnd, AWorkerWhoseStackRunsOutEndsTheRunWithEveryRecordKept) {
  const SPxChildResult run = Run("worker-overflow");
  EXPECT_EQ(run.signal, SIGSEGV) << run.stdErr;
  const std::string log = PxOnlyLog(m_tmp);
  EXPECT_EQ(PxCount(log, "TtNg|"), 1u);
  const std::vector<std::string> records = PxRecords(log);
  ASSERT_FALSE(records.empty());
  EXPECT_EQ(records.back(), "End.|worker / CWorkerOverflow.Waits: SIGSEGV");
}

TEST_F(AbnormalEnd, AForkedChildWritesALogOfItsOwnAndTheParentsRecordsOnce) {
  const SPxChildResult run = Run("fork");
  ASSERT_EQ(run.exitCode, 0) << run.stdErr;
  std::vector<std::string> logs;
  for (const std::string& path : PxFilesIn(m_tmp, ".qpxlog"))
    logs.push_back(PxReadFile(path));
  ASSERT_EQ(logs.size(), 2u);
  if (PxCount(logs[0], "child") == 0)
    std::swap(logs[0], logs[1]);
  const std::vector<std::string> child = PxRecords(logs[0]);
  ASSERT_EQ(child.size(), 3u);
  EXPECT_EQ(child[0], "Tit.|Probex");
  EXPECT_EQ(child[2], "Etc.|child");
  EXPECT_EQ(PxCount(logs[1], "Tit.|"), 1u);
  EXPECT_EQ(PxCount(logs[1], "ClCp|fork"), 1u);
  EXPECT_EQ(PxCount(logs[1], "TtNg|"), 1u);
  EXPECT_EQ(PxCount(logs[1], "child"), 0u);
  EXPECT_EQ(PxRecords(logs[1]).back(), "ClRe|Failures \t1");
}

TEST_F(AbnormalEnd, ThreadsFailingAtOnceKeepEachCheckWithItsOwnLine) {
  const SPxChildResult run = Run("threads");
  ASSERT_EQ(run.exitCode, 0) << run.stdErr;
  const std::vector<std::string> records = PxRecords(PxOnlyLog(m_tmp));
  std::map<std::string, std::set<std::string>> linesOf;
  int failures = 0;
  for (std::size_t i = 2; i < records.size(); ++i) {
    if (records[i].rfind("TtNg|", 0) != 0)
      continue;
    ++failures;
    ASSERT_EQ(records[i - 1].rfind("TtEx|", 0), 0u) << i;
    ASSERT_EQ(records[i - 2].rfind("TtEL|", 0), 0u) << i;
    linesOf[records[i - 1]].insert(records[i - 2]);
  }
  EXPECT_EQ(failures, 8 * 300);
  ASSERT_EQ(linesOf.size(), 8u);
  std::set<std::string> lines;
  for (const auto& [expression, seen] : linesOf) {
    EXPECT_EQ(seen.size(), 1u) << expression;
    lines.insert(seen.begin(), seen.end());
  }
  EXPECT_EQ(lines.size(), 8u);
}

// A program that ignores SIGXFSZ goes on without the records; one that
// leaves it be ends by it, with no room left for the end record.
TEST_F(AbnormalEnd, ALogThatCannotGrowIsToldOnceThenTheRunGoesOnOrEndsAsWithoutUs) {
  const struct {
    const char* end;
    int signal;
    const char* outcome;
  } rows[] = {{"fsize", 0, "the run goes on."}, {"fsize-default", SIGXFSZ, "the program ends."}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.end);
    const SPxChildResult run = Run(row.end);
    EXPECT_EQ(run.signal, row.signal) << run.stdErr;
    EXPECT_EQ(run.exitCode, row.signal ? -1 : 0);
    EXPECT_EQ(PxOnlyLog(m_tmp).size(), 4000u);
    EXPECT_EQ(PxCount(run.stdErr, "cannot be written (File too large)"), 1u) << run.stdErr;
    EXPECT_EQ(PxCount(run.stdErr, m_tmp + "/px_crash_scenario."), 1u) << run.stdErr;
    EXPECT_EQ(PxCount(run.stdErr, row.outcome), 1u) << run.stdErr;
  }
}

} // namespace
