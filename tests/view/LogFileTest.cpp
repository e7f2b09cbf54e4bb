// The log file of real test programs run without a debugger: what lands in
// the file, when, under which name, and how the viewer is started.
#include "common/PxChildProcess.h"
#include "common/PxIconv.h"
#include "common/PxTestFiles.h"
#include "common/PxViewerStandIn.h"
#include "probex/base/PxTexts.h"

#include "probex/base/PxRecordCodec.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <future>
#include <regex>

namespace fs = std::filesystem;

namespace {

// The header records as PxStable leaves them.
const std::string kHeader = "Tit.|Probex\rVer.|1.40(<built>)\r";

class LogFile : public ::testing::Test {
protected:
  // In a UTF-8 locale unless told otherwise: the log stays CP932 whatever
  // the terminal reads.
  SPxChildResult Run(const std::vector<std::string>& args, const std::string& path,
                     const std::string& locale = "C.UTF-8") {
    std::vector<std::string> argv{PxScenarioPath("px_class_scenario")};
    argv.insert(argv.end(), args.begin(), args.end());
    return PxRunChild(argv, {{"TMPDIR", m_tmp}, {"PATH", path}, {"LC_ALL", locale}});
  }
  // The viewer was started once, with "/x" and the log's name beside the
  // program, however the system spells it; the name is the program's, stamped.
  void ExpectViewerStartedOnceFor(const std::string& log, const std::string& program) {
    const std::vector<std::string> starts = m_viewer.Starts();
    ASSERT_EQ(starts.size(), 1u);
    ASSERT_EQ(starts[0].rfind("/x\n", 0), 0u) << starts[0];
    const fs::path name = starts[0].substr(3, starts[0].size() - 4);
    EXPECT_EQ(name.filename(), fs::path(log).filename());
    EXPECT_TRUE(fs::equivalent(name.parent_path(), PROBEX_SCENARIO_DIR)) << starts[0];
    EXPECT_TRUE(std::regex_match(name.filename().string(),
                                 std::regex(program + "(\\.exe)?\\.\\d{8}_\\d{8}\\.qpxlog")))
        << name;
  }
  std::string m_tmp = PxMakeTempDir("logs");
  CPxViewerStandIn m_viewer;
};

TEST_F(LogFile, ClassRunLeavesEveryRecordInOrderAndStartsTheViewerOnce) {
  const SPxChildResult run = Run({"class"}, m_viewer.Path());
  ASSERT_EQ(run.exitCode, 0) << run.stdErr;
  const std::vector<std::string> logs = PxFilesIn(m_tmp, ".qpxlog");
  ASSERT_EQ(logs.size(), 1u);
  const std::string log = PxStable(PxReadFile(logs[0]));
  // A reader that skips the side records reads exactly the described log;
  // the names sit right beside the records they belong to.
  std::string described;
  for (std::size_t from = 0, end; (end = log.find('\r', from)) != std::string::npos;
       from = end + 1) {
    NPxLogFormat::SRecordLine record;
    const std::string_view line = std::string_view(log).substr(from, end - from);
    if (!NPxLogFormat::ReadRecordLine(line, record) || !NPxSideKind::IsSideKind(record.kind))
      described.append(line).push_back('\r');
  }
  PxExpectApproved("view/approved/class.qpxlog", described);
  EXPECT_NE(log.find("ClCp|scenario\rClTy|CScenario\rCaNm|Passes\rCaLn|"), std::string::npos);
  EXPECT_NE(log.find("CaTm|Nms\rCaNm|Fails\rCaLn|"), std::string::npos) << log;
  ExpectViewerStartedOnceFor(logs[0], "px_class_scenario");
  EXPECT_TRUE(run.stdErr.empty()) << run.stdErr;
}

TEST_F(LogFile, MissingViewerIsNoticedOnceInTheTerminalsEncodingAndLoggingGoesOn) {
  const std::string notice =
      std::string(NPxText::kViewerMissingCaption) + ": " + NPxText::kViewerMissing + "\n";
  const std::string utf8 = kPxLocaleChoosesEncoding ? PxIconv("UTF-8", "CP932", notice) : notice;
  for (const auto& [locale, expected] :
       {std::pair{"C", notice}, std::pair{"en_GB.utf8", utf8}, std::pair{"POSIX", notice}}) {
    SCOPED_TRACE(locale);
    fs::remove_all(m_tmp);
    fs::create_directories(m_tmp);
    const SPxChildResult run = Run({"text", "Etc.", "one", "Etc.", "two", "TtNg", "three"},
                                   PxMakeTempDir("empty-path"), locale);
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.stdErr, expected);
    EXPECT_EQ(PxStable(PxOnlyLog(m_tmp)), kHeader + "Etc.|one\rEtc.|two\rTtNg|three\r");
  }
}

TEST_F(LogFile, UnwritableTemporaryDirectoryLosesRecordsButTheProgramEndsNormally) {
  const SPxChildResult run =
      PxRunChild({PxScenarioPath("px_class_scenario"), "class"},
                 {{"TMPDIR", m_tmp + "/missing/dir"}, {"PATH", m_viewer.Path()}});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_FALSE(fs::exists(m_tmp + "/missing"));
}

// The sequence numbers of the logs, when all were named within one second.
std::vector<std::string> SequencesOfOneSecond(const std::vector<std::string>& logs) {
  std::vector<std::string> sequences;
  for (const std::string& log : logs) {
    const std::string stem = fs::path(log).stem().string();
    const std::string first = fs::path(logs[0]).stem().string();
    if (stem.substr(0, stem.size() - 2) != first.substr(0, first.size() - 2))
      return {};
    sequences.push_back(stem.substr(stem.size() - 2));
  }
  return sequences;
}

TEST_F(LogFile, ProgramsOfOneSecondGetTheNextSequenceNumber) {
  // Retried until the runs name their logs within one second.
  for (int attempt = 0; attempt < 5; ++attempt) {
    for (const std::string& log : PxFilesIn(m_tmp, ".qpxlog"))
      fs::remove(log);
    const std::string meeting = PxMakeTempDir("meeting");
    auto first = std::async(std::launch::async, [&] {
      return Run({"meet", meeting, "2"}, m_viewer.Path());
    });
    auto second = std::async(std::launch::async, [&] {
      return Run({"meet", meeting, "2"}, m_viewer.Path());
    });
    ASSERT_EQ(first.get().exitCode, 0);
    ASSERT_EQ(second.get().exitCode, 0);
    // A third run after both ended must not reuse their names either.
    ASSERT_EQ(Run({"text", "Etc.", "later"}, m_viewer.Path()).exitCode, 0);
    const std::vector<std::string> logs = PxFilesIn(m_tmp, ".qpxlog");
    ASSERT_EQ(logs.size(), 3u);
    const std::vector<std::string> sequences = SequencesOfOneSecond(logs);
    if (sequences.empty())
      continue;
    EXPECT_EQ(sequences, (std::vector<std::string>{"00", "01", "02"}));
    return;
  }
#if defined(_WIN32) // Wine may take a second or more to start each program
  GTEST_SKIP() << "the runs never named their logs within one second";
#else
  FAIL() << "the runs never named their logs within one second";
#endif
}

TEST_F(LogFile, ReleaseWritesTheLogAtOnceAndWithoutAMessageLeavesNoFileAndStartsNoViewer) {
  const std::string plugin = PX_SENDING_PLUGIN;
  // The objects kept for late callers stay behind when the library goes.
  const std::map<std::string, std::string> env{
      {"TMPDIR", m_tmp}, {"PATH", m_viewer.Path()}, {"ASAN_OPTIONS", "detect_leaks=0"}};
  const SPxChildResult quiet = PxRunChild({PxScenarioPath("px_load_scenario"), plugin}, env);
  ASSERT_EQ(quiet.exitCode, 0) << quiet.stdErr;
  EXPECT_EQ(quiet.stdOut, "released, 0 log\n");
  EXPECT_TRUE(PxFilesIn(m_tmp, ".qpxlog").empty());
  EXPECT_TRUE(m_viewer.Starts().empty());

  const SPxChildResult sending =
      PxRunChild({PxScenarioPath("px_load_scenario"), plugin, "hello"}, env);
  ASSERT_EQ(sending.exitCode, 0) << sending.stdErr;
  // Written at dlclose, not only when the process ends.
  EXPECT_EQ(sending.stdOut, "released, 1 log\n");
  const std::vector<std::string> logs = PxFilesIn(m_tmp, ".qpxlog");
  ASSERT_EQ(logs.size(), 1u);
  EXPECT_EQ(PxStable(PxReadFile(logs[0])), kHeader + "Etc.|hello\r");
  ExpectViewerStartedOnceFor(logs[0], "px_load_scenario");
}

// A plug-in whose __FILE__ is relative (compiled from its folder by a bare
// name) is unloaded by its release as one of absolute names is: nothing the
// qualification of its location keeps per thread holds the library.
TEST_F(LogFile, APlugInIsUnloadedAndWritesItsLogAtReleaseWhateverFormItsFileNamesTake) {
  const std::map<std::string, std::string> env{
      {"TMPDIR", m_tmp}, {"PATH", m_viewer.Path()}, {"ASAN_OPTIONS", "detect_leaks=0"}};
  const std::pair<const char*, std::string> plugins[] = {
      {PX_SENDING_PLUGIN, std::string(PROBEX_TEST_SOURCE_DIR) + "/scenarios/SendingPlugin.cpp"},
      {PX_RELATIVE_PLUGIN, std::filesystem::current_path().string() + "/SendingPlugin.cpp"}};
  for (const auto& [plugin, source] : plugins) {
    SCOPED_TRACE(plugin);
    for (const std::string& log : PxFilesIn(m_tmp, ".qpxlog"))
      std::filesystem::remove(log);
    const SPxChildResult run =
        PxRunChild({PxScenarioPath("px_load_scenario"), plugin, "--check"}, env);
    EXPECT_EQ(run.exitCode, 0) << run.stdErr;
    EXPECT_EQ(run.stdOut, "released, 1 log\n");
    const std::string log = PxOnlyLog(m_tmp);
    EXPECT_EQ(PxCount(log, "TtNg|"), 1u);
#if !defined(_WIN32) // a Windows location has its drive and backslashes
    EXPECT_EQ(PxCount(log, "TtEL|" + source + "("), 1u) << log;
#endif
  }
}

} // namespace
