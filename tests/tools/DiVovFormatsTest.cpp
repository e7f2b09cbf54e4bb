// The report files checked by the tools that read them: JUnit XML by a
// schema and an XML parser, lcov by genhtml, the HTML page by a browser.
// A missing tool is a failure: these checks must run wherever tests run.
#include "ViewerTestSupport.h"

#include <gtest/gtest.h>

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

TEST_F(DiVovReaders, JunitStaysWellFormedWhateverTheTextsHold) {
  const std::string dir = PxMakeTempDir("odd-texts");
  std::ofstream(dir + "/odd.qpxlog", std::ios::binary)
      << "ClCp|]]> & <tag> \x01\x1b\rCaLn|/p(a)th/x.cpp(7):\rCaCp|\"quoted\" 'case'\r"
      << "TtEL|x(1):\rTtEx|a < b\rTtNg|\xFF\x82\xa0 \x7f\rCaTm|-3ms\r";
  // Without its results the run is incomplete: the case it stopped in holds the error.
  EXPECT_EQ(PxRunViewer({"--junit", dir + "/odd.xml", dir + "/odd.qpxlog"}).exitCode, 2);
  ExpectValidJunit(dir + "/odd.xml");
  EXPECT_NE(PxReadFile(dir + "/odd.xml").find("file=\"/p(a)th/x.cpp\" line=\"7\""),
            std::string::npos);
}

// Logs of programs that crashed, were cut short by a full disk, or stopped
// before their results: every report says so, and the status is 2.
TEST_F(DiVovReaders, AnIncompleteRunIsAnErrorInEveryReportAndNeverAPass) {
  const std::string dir = PxMakeTempDir("incomplete");
  std::vector<std::pair<std::string, std::string>> runs; // log, why it is incomplete
  for (const char* end : {"SIGSEGV", "throw", "fsize"}) {
    const std::string tmp = PxMakeTempDir(end);
    PxRunChild({PxScenarioPath("px_crash_scenario"), end}, {{"TMPDIR", tmp},
                                                            {"PATH", tmp},
                                                            {"ASAN_OPTIONS", "handle_segv=0"},
                                                            {"TSAN_OPTIONS", "handle_segv=0"}});
    runs.emplace_back(PxLogIn(tmp), "");
  }
  runs[0].second = "the program ended abnormally: crash / case 2 dies: SIGSEGV";
  runs[1].second = "the program ended abnormally: crash / case 2 dies: std::terminate: thrown "
                   "from a case";
  runs[2].second = "the log is cut or damaged";
  const std::string header = "Tit.|Probex\rVer.|1.40(Dec  6 2026 01:02:03)\r";
  const std::pair<std::string, std::string> written[] = {
      {header + "ClCp|c\rCaCp|k\rTtEx|a\rTtOk|\r",
       "the log ends before the results of its last class"},
      {header + "ClCp|c\rClRe|Failures \t0\rEtc.|cut", "the log is cut or damaged"},
      {header + "ClNm|CA\rClCp|c\rClRe|Failures \t0\r", "the log ends before the suite results"}};
  for (const auto& [log, why] : written) {
    runs.emplace_back(dir + "/" + std::to_string(runs.size()) + ".qpxlog", why);
    std::ofstream(runs.back().first, std::ios::binary) << log;
  }
  for (const auto& [log, why] : runs) {
    SCOPED_TRACE(log);
    const SPxChildResult shown = PxRunViewer({"--color=never", "--encoding=UTF-8", "--junit",
                                              log + ".xml", "--html", log + ".html", log});
    EXPECT_EQ(shown.exitCode, 2) << shown.stdErr;
    EXPECT_NE(shown.stdOut.find("\nIncomplete run: " + why + "\nSummary: "), std::string::npos)
        << shown.stdOut;
    ExpectValidJunit(log + ".xml");
    EXPECT_NE(PxReadFile(log + ".xml").find("errors=\"1\" time="), std::string::npos);
    EXPECT_NE(PxReadFile(log + ".xml").find("<error message=\"" + why), std::string::npos);
    EXPECT_NE(
        PxReadFile(log + ".html").find("<p id=\"incomplete\" class=\"fail\">Incomplete run: "),
        std::string::npos);
  }
}

TEST(DiVovFormats, LcovOfStepRecordsAndOfCountsIsExact) {
  for (const auto& [records, hits] : std::vector<std::pair<std::string, std::string>>{
           {"PxLn|?0,2(1\r(2):1\rPxLn|?0,10(1\rPxLn|?0,2(1):2\r",
            "DA:2,3\nDA:3,0\nDA:5,0\nDA:10,1\nDA:11,0\nDA:12,0\n"},
           {"PxCt|?0,3();000004000001\rPxCt|?0,11();000000\rPxCt|?0,12();1000000\r",
            "DA:2,0\nDA:3,5\nDA:5,0\nDA:10,0\nDA:11,0\nDA:12,16777216\n"}}) {
    SCOPED_TRACE(records);
    // Passable lines: 0x16 gives 2, 3, 5; 0x0E 10-12.
    const std::string dir = PxMakeTempDir("lcov");
    std::ofstream(dir + "/cov.qpxlog", std::ios::binary)
        << "Tit.|Probex\rVer.|1.40\rPxPs|!0,1;/src/unit.cpp(0):160E\r" << records;
    EXPECT_EQ(PxRunViewer({"--lcov", dir + "/t.info", dir + "/cov.qpxlog"}).exitCode, 0);
    EXPECT_EQ(PxReadFile(dir + "/t.info"),
              "TN:\nSF:/src/unit.cpp\n" + hits + "LF:6\nLH:2\nend_of_record\n");
  }
}

// A log cannot steer the terminal or add lines to a report: a source named
// with a line feed, a message full of escape sequences.
TEST(DiVovFormats, ControlCharactersOfALogAreShownEscapedInEveryOutput) {
  const std::string dir = PxMakeTempDir("inject");
  std::ofstream(dir + "/in.qpxlog", std::ios::binary)
      << "Tit.|Probex\rVer.|1.40\rClCp|c\x1b[8m\rCaCp|k\rPxPs|!0,1;/src/a\nDA:7,9\nb.cpp(0):01\r"
      << "PxLn|?0,1(1\rTtEx|x\x7f\rTtNg|\x1b]0;owned\x07 tab\there\x1b[2J\rClRe|Failures \t1\r";
  const SPxChildResult shown =
      PxRunViewer({"--color=never", "--encoding=UTF-8", "--lcov", dir + "/t.info", "--html",
                   dir + "/r.html", "--junit", dir + "/r.xml", dir + "/in.qpxlog"});
  EXPECT_EQ(shown.exitCode, 1) << shown.stdErr;
  EXPECT_EQ(PxReadFile(dir + "/t.info"),
            "TN:\nSF:/src/a\\x0aDA:7,9\\x0ab.cpp\nDA:1,1\nLF:1\nLH:1\nend_of_record\n");
  const std::string escaped = "\\x1b]0;owned\\x07 tab\there\\x1b[2J";
  for (const std::string& out :
       {shown.stdOut, PxReadFile(dir + "/r.html"), PxReadFile(dir + "/r.xml")}) {
    EXPECT_EQ(out.find_first_of("\x1b\x07\x7f"), std::string::npos) << out;
    EXPECT_NE(out.find(escaped), std::string::npos) << out;
  }
  EXPECT_NE(shown.stdOut.find("[c\\x1b[8m]"), std::string::npos) << shown.stdOut;
  EXPECT_NE(shown.stdOut.find("x\\x7f"), std::string::npos) << shown.stdOut;
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
  const std::string& page = dom.stdOut;
  // One row per class, each in the class its outcome gives it.
  EXPECT_NE(page.find("<tr class=\"pass\"><td>empty (CEmpty)</td><td class=\"num\">0<"),
            std::string::npos)
      << page;
  EXPECT_NE(page.find("<tr class=\"fail\"><td>scenario (CScenario)</td><td class=\"num\">2<"),
            std::string::npos);
  const std::size_t failure =
      page.find("<li class=\"failure\"><span class=\"location\">" PX_SCENARIO_SOURCE_DIR
                "/ClassScenario.cpp(" +
                PxScenarioLine("PX_ASSERT(1 > 2)") +
                "):</span><br>fails &lt;always&gt; &amp; \"loudly\"<br>1 &gt; 2  ?<br>"
                "<span class=\"fail\">** '1 &gt; 2' did not become true</span></li>");
  EXPECT_NE(failure, std::string::npos);
  EXPECT_EQ(page.rfind("<li class=\"failure\">"), failure); // and no other
  // Texts stay texts: no element was made of the caption's angle brackets.
  EXPECT_EQ(page.find("<always>"), std::string::npos);
  EXPECT_NE(
      page.find("<p id=\"summary\" class=\"fail\">2 classes, 2 cases, 1 passed, 1 failed</p>"),
      std::string::npos);
  EXPECT_NE(page.find("========Results========"), std::string::npos);
  EXPECT_NE(page.find("<html lang=\"en\">"), std::string::npos);
}

} // namespace
