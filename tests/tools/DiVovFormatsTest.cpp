// The report files checked by the tools that read them: JUnit XML by a
// schema and an XML parser, lcov by genhtml, the HTML page by a browser;
// hand-made logs with all their outputs approved.
// A missing tool is a failure: these checks must run wherever tests run.
#include "ViewerTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

namespace {

// The tool's path; a failure naming its Debian package when it is missing.
std::string Tool(const std::string& name, const std::string& package) {
  const SPxChildResult found = PxRunChild({"/bin/sh", "-c", "command -v " + name});
  EXPECT_EQ(found.exitCode, 0) << name << " is missing: install the Debian package " << package;
  return found.stdOut.substr(0, found.stdOut.find('\n'));
}

void ExpectValidJunit(const std::string& xml) {
  const SPxChildResult valid =
      PxRunChild({Tool("xmllint", "libxml2-utils"), "--noout", "--schema",
                  std::string(PROBEX_TEST_SOURCE_DIR) + "/tools/junit.xsd", xml});
  EXPECT_EQ(valid.exitCode, 0) << valid.stdErr << PxReadFile(xml);
}

// Checks whose readers are Linux programs (or whose runs end by POSIX
// signals): on Windows only the viewer's own checks of this file run.
class DiVovReaders : public ::testing::Test {
protected:
  void SetUp() override {
#if defined(_WIN32)
    GTEST_SKIP() << "xmllint, genhtml, python3, chromium and the crash runs are Linux's";
#endif
  }
};

// Hand-made logs under tools/logs, each with all that the viewer shows and
// writes of it approved: texts that stay texts in XML and HTML, runs cut
// short, coverage of both kinds, records no model can read. No control
// character of a log reaches an output, and every JUnit report is valid.
TEST_F(DiVovReaders, HandMadeLogsGiveTheirApprovedOutputs) {
  const std::string logs = std::string(PROBEX_TEST_SOURCE_DIR) + "/tools/logs/";
  for (const std::string& log : PxFilesIn(logs, ".qpxlog")) {
    SCOPED_TRACE(log);
    const std::string out = PxMakeTempDir("reports") + "/";
    const SPxChildResult shown =
        PxRunViewer({"--color=never", "--encoding=UTF-8", "--lang=en", "--junit", out + "r.xml",
                     "--html", out + "r.html", "--lcov", out + "r.info", log});
    std::string all = "status " + std::to_string(shown.exitCode) + "\n-- standard output\n" +
                      shown.stdOut + "-- standard error\n" + shown.stdErr;
    for (const char* report : {"r.xml", "r.info", "r.html"})
      all += std::string("-- ") + report + "\n" + PxReadFile(out + report);
    EXPECT_EQ(all.find_first_of("\x01\x1b\x07\x7f"), std::string::npos);
    ExpectValidJunit(out + "r.xml");
    for (const auto& [path, name] : {std::pair(logs, "<logs>/"), std::pair(out, "<out>/")})
      for (std::size_t at; (at = all.find(path)) != std::string::npos;)
        all.replace(at, path.size(), name);
    PxExpectApproved("tools/approved/" + std::filesystem::path(log).stem().string() + ".txt", all);
  }
}

// Logs of programs that crashed, were cut short by a full disk or ended
// before their log was first written are incomplete, and the status is 2; the reports of an
// incomplete run are approved among the hand-made logs.
TEST_F(DiVovReaders, AnIncompleteRunIsAnErrorInEveryReportAndNeverAPass) {
  const std::pair<const char*, std::string> ends[] = {
      {"SIGSEGV", "the program ended abnormally: crash / CCrash.Dies dies: SIGSEGV"},
      {"throw", "the program ended abnormally: crash / CCrash.Dies dies: std::terminate: thrown "
                "from a case"},
      // The limit cuts the log where it falls: inside a record, or, as the
      // threads' records happen to line up, right after one.
      {"fsize", "the log is cut or damaged|the log ends before the results of its last class"},
      // Ends that run no handler lose the buffered records, never the verdict.
      {"SIGKILL", "the program ended before its log was written"},
      {"_exit", "the program ended before its log was written"}};
  for (const auto& [end, why] : ends) {
    SCOPED_TRACE(end);
    const std::string tmp = PxMakeTempDir(end);
    PxRunChild({PxScenarioPath("px_crash_scenario"), end}, {{"TMPDIR", tmp},
                                                            {"PATH", tmp},
                                                            {"ASAN_OPTIONS", "handle_segv=0"},
                                                            {"TSAN_OPTIONS", "handle_segv=0"}});
    const std::string log = PxLogIn(tmp);
    const SPxChildResult shown = PxRunViewer({"--color=never", "--junit", log + ".xml", log});
    EXPECT_EQ(shown.exitCode, 2) << shown.stdErr;
    EXPECT_TRUE(std::regex_search("\n" + shown.stdOut,
                                  std::regex("\nIncomplete run: (" + why + ")\nSummary: ")))
        << shown.stdOut;
    EXPECT_TRUE(
        std::regex_search(PxReadFile(log + ".xml"), std::regex("<error message=\"(" + why + ")")));
  }
}

TEST_F(DiVovReaders, LcovOfRealRunsIsTheSameInBothModesAndReadByGenhtml) {
  for (const char* mode : {"coverage-step", "coverage-count"}) {
    SCOPED_TRACE(mode);
    const std::string log = PxRunScenarioLog(mode);
    const std::string trace = PxDirectoryOf(log) + "/trace.info";
    EXPECT_EQ(PxRunViewer({"--lcov", trace, log}).exitCode, 0);
    const SPxChildResult html =
        PxRunChild({Tool("genhtml", "lcov"), "--quiet", "--output-directory",
                    PxDirectoryOf(log) + "/html", trace});
    EXPECT_EQ(html.exitCode, 0) << html.stdErr;
    PxExpectApproved("tools/approved/coverage.info", PxStable(PxReadFile(trace)));
  }
}

// In English, which both reports follow.
TEST_F(DiVovReaders, ReportsOfARealSuiteAreReadByAnXmlParserAndABrowser) {
  const std::string log = PxRunScenarioLog("suite");
  const std::string xml = PxDirectoryOf(log) + "/suite.xml";
  const std::string report = PxDirectoryOf(log) + "/report.html";
  EXPECT_EQ(PxRunViewer({"--lang=en", "--junit", xml, "--html", report, log}).exitCode, 1);
  ExpectValidJunit(xml);
  // Every attribute but the times, and the failure's first line.
  const SPxChildResult parsed = PxRunChild(
      {Tool("python3", "python3"), "-c",
       "import sys, os, xml.etree.ElementTree as E\n"
       "for e in E.parse(sys.argv[1]).iter():\n"
       "  a = [os.path.basename(v) if k == 'file' else v for k, v in e.items() if k != 'time']\n"
       "  print(*a, os.path.basename(e.text.split('\\n')[0]) if e.tag == 'failure' else '|')\n",
       xml});
  EXPECT_EQ(parsed.exitCode, 0) << parsed.stdErr;
  PxExpectApproved("tools/approved/suite-junit.txt", parsed.stdOut);
  const SPxChildResult dom = PxRunChild(
      {Tool("chromium", "chromium"), "--headless", "--no-sandbox", "--disable-gpu",
       "--disable-quic", "--no-first-run", "--disable-background-networking",
       "--disable-component-update", "--disable-sync",
       "--user-data-dir=" + PxMakeTempDir("chromium-profile"), "--dump-dom", "file://" + report});
  ASSERT_EQ(dom.exitCode, 0) << dom.stdErr;
  // From the summary on: one row per class in the class its outcome gives
  // it, the one failure, a caption's angle brackets as text, not as an
  // element; the times of classes and cases made fixed.
  const std::string page =
      dom.stdOut.substr(std::min(dom.stdOut.find("<p id=\"summary\""), dom.stdOut.size()));
  PxExpectApproved("tools/approved/suite-dom.html",
                   PxStable(std::regex_replace(page, std::regex("[0-9]+(</td><td>Case)"), "N$1")));
}

} // namespace
