// The report files checked by the tools that read them: JUnit XML by a
// schema and an XML parser, lcov by genhtml, the HTML page by a browser.
// A missing tool is a failure: these checks must run wherever tests run.
#include "ViewerTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>

namespace {

// The tool's full path from PATH; a test failure naming the package if absent.
std::string Tool(const std::string& name, const std::string& package) {
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  for (std::size_t start = 0; start <= dirs.size();) {
    const std::size_t end = std::min(dirs.find(':', start), dirs.size());
    const std::string candidate = dirs.substr(start, end - start) + "/" + name;
    if (::access(candidate.c_str(), X_OK) == 0)
      return candidate;
    start = end + 1;
  }
  ADD_FAILURE() << name << " is missing: install the Debian package " << package;
  return "/nonexistent/" + name;
}

std::size_t Count(const std::string& text, const std::string& pattern) {
  const std::regex re(pattern);
  return static_cast<std::size_t>(
      std::distance(std::sregex_iterator(text.begin(), text.end(), re), std::sregex_iterator()));
}

TEST(DiVovFormats, JunitOfARealSuitePassesTheSchemaAndAnXmlParser) {
  const std::string log = PxRunScenarioLog("suite");
  const std::string xml = PxDirectoryOf(log) + "/suite.xml";
  EXPECT_EQ(PxRunViewer({"--junit", xml, log}).exitCode, 1);
  const SPxChildResult valid = PxRunChild({Tool("xmllint", "libxml2-utils"), "--noout", "--schema",
                                           PxViewerTestFile("junit.xsd"), xml});
  EXPECT_EQ(valid.exitCode, 0) << valid.stdErr;
  const std::string failedLine = std::to_string(PxScenarioLine("PX_ASSERT_EQUAL(2 + 2, 5)"));
  const SPxChildResult parsed = PxRunChild(
      {Tool("python3", "python3"), "-c",
       "import sys, xml.etree.ElementTree as E\n"
       "root = E.parse(sys.argv[1]).getroot()\n"
       "for s in root.iter('testsuite'):\n"
       "  print(s.get('name'), s.get('tests'), s.get('failures'))\n"
       "c = next(c for c in root.iter('testcase') if c.find('failure') is not None)\n"
       "f = c.find('failure')\n"
       "print(c.get('name'), c.get('file').endswith('ViewerScenario.cpp'), c.get('line'))\n"
       "print(f.text.splitlines()[0].endswith('ViewerScenario.cpp(' + sys.argv[2] + '):'))\n"
       "print(f.get('message'))\n",
       xml, failedLine});
  EXPECT_EQ(parsed.exitCode, 0) << parsed.stdErr;
  EXPECT_EQ(parsed.stdOut, "CPassing 2 0\nCFailing 3 3\nmixed <outcomes> & \"quotes\" True " +
                               std::to_string(PxScenarioLine("PX_CASE_CAPTION(\"mixed")) +
                               "\nTrue\n'2 + 2' は '5' になりませんでした\n");
}

TEST(DiVovFormats, JunitStaysWellFormedWhateverTheTextsHold) {
  const std::string dir = PxMakeTempDir("odd-texts");
  std::ofstream(dir + "/odd.qpxlog", std::ios::binary)
      << "ClCp|]]> & <tag> \x01\x1b\r"
      << "CaLn|/p(a)th/x.cpp(7):\rCaCp|\"quoted\" 'case'\r"
      << "TtEL|x(1):\rTtEx|a < b\rTtNg|\xFF\x82\xa0 \x7f\rCaTm|-3ms\r";
  EXPECT_EQ(PxRunViewer({"--junit", dir + "/odd.xml", dir + "/odd.qpxlog"}).exitCode, 1);
  const SPxChildResult valid = PxRunChild({Tool("xmllint", "libxml2-utils"), "--noout", "--schema",
                                           PxViewerTestFile("junit.xsd"), dir + "/odd.xml"});
  EXPECT_EQ(valid.exitCode, 0) << valid.stdErr << PxReadFile(dir + "/odd.xml");
  const std::string xml = PxReadFile(dir + "/odd.xml");
  EXPECT_NE(xml.find("file=\"/p(a)th/x.cpp\" line=\"7\""), std::string::npos) << xml;
}

// A source of twelve lines and a log that says lines 2, 3, 5 and 10 to 12
// are passable, in the form of one coverage mode or the other.
std::string CoverageLog(const std::string& dir, const std::string& records) {
  const std::string source = dir + "/unit.cpp";
  std::ofstream out(source);
  for (int i = 1; i <= 12; ++i)
    out << "int line" << i << ";\n";
  const std::string log = dir + "/coverage.qpxlog";
  // Bits: byte 0 covers lines 1-8 (0x16: 2, 3, 5), byte 1 lines 9-16 (0x0E: 10-12).
  std::ofstream(log, std::ios::binary)
      << "Tit.|Probex\rVer.|1.40\rPxPs|!0,1;" << source << "(0):160E\r" << records;
  return log;
}

TEST(DiVovFormats, LcovFromStepRecordsAndFromCountsIsReadByGenhtml) {
  struct SMode {
    const char* name;
    const char* records;
    const char* hits;
  };
  for (const SMode& mode :
       {SMode{"step", "PxLn|?0,2(1\r(2):1\rPxLn|?0,10(1\rPxLn|?0,2(1):2\r",
              "DA:2,3\nDA:3,0\nDA:5,0\nDA:10,1\nDA:11,0\nDA:12,0\nLF:6\nLH:2\n"},
        SMode{"count", "PxCt|?0,3();000004000001\rPxCt|?0,11();000000\rPxCt|?0,12();1000000\r",
              "DA:2,0\nDA:3,5\nDA:5,0\nDA:10,0\nDA:11,0\nDA:12,16777216\nLF:6\nLH:2\n"}}) {
    SCOPED_TRACE(mode.name);
    const std::string dir = PxMakeTempDir(mode.name);
    const std::string log = CoverageLog(dir, mode.records);
    const SPxChildResult shown = PxRunViewer({"--lcov", dir + "/trace.info", log});
    EXPECT_EQ(shown.exitCode, 0) << shown.stdErr;
    EXPECT_EQ(PxReadFile(dir + "/trace.info"),
              "TN:\nSF:" + dir + "/unit.cpp\n" + mode.hits + "end_of_record\n");
    const SPxChildResult html =
        PxRunChild({Tool("genhtml", "lcov"), "--quiet", "--output-directory", dir + "/html",
                    dir + "/trace.info"});
    EXPECT_EQ(html.exitCode, 0) << html.stdErr;
    // genhtml's own count of lines found and hit, and a page for the source.
    const std::string index = PxReadFile(dir + "/html/index.html");
    EXPECT_EQ(Count(index, "headerCovTableEntry\">2<[^]*headerCovTableEntry\">6<"), 1u) << index;
    bool sourcePage = false;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir + "/html"))
      sourcePage |= entry.path().filename() == "unit.cpp.gcov.html";
    EXPECT_TRUE(sourcePage);
  }
}

TEST(DiVovFormats, LcovOfRealRunsIsTheSameInBothModesAndReadByGenhtml) {
  for (const char* mode : {"coverage-step", "coverage-count"}) {
    SCOPED_TRACE(mode);
    const std::string log = PxRunScenarioLog(mode);
    const std::string dir = PxDirectoryOf(log);
    const SPxChildResult shown = PxRunViewer({"--lcov", dir + "/trace.info", log});
    EXPECT_EQ(shown.exitCode, 0);
    EXPECT_EQ(shown.stdErr, "");
    PxExpectApproved("coverage.info", PxStableTranscript(PxReadFile(dir + "/trace.info")));
    const SPxChildResult html =
        PxRunChild({Tool("genhtml", "lcov"), "--quiet", "--output-directory", dir + "/html",
                    dir + "/trace.info"});
    EXPECT_EQ(html.exitCode, 0) << html.stdErr;
  }
}

TEST(DiVovFormats, LcovIsNotWrittenForALogWithoutCoverage) {
  const std::string log = PxRunScenarioLog("pass");
  const std::string trace = PxDirectoryOf(log) + "/none.info";
  const SPxChildResult shown = PxRunViewer({"--lcov", trace, log});
  EXPECT_EQ(shown.exitCode, 0);
  EXPECT_FALSE(std::filesystem::exists(trace));
  EXPECT_NE(shown.stdErr.find("no coverage records, " + trace + " not written"), std::string::npos);
}

TEST(DiVovFormats, TheHtmlReportShowsItsResultsAndFailuresInABrowser) {
  const std::string log = PxRunScenarioLog("suite");
  const std::string dir = PxDirectoryOf(log);
  EXPECT_EQ(PxRunViewer({"--html", dir + "/report.html", log}).exitCode, 1);
  const SPxChildResult dom =
      PxRunChild({Tool("chromium", "chromium"), "--headless", "--no-sandbox", "--disable-gpu",
                  "--disable-quic", "--no-first-run", "--disable-background-networking",
                  "--disable-component-update", "--disable-sync",
                  "--user-data-dir=" + PxMakeTempDir("chromium-profile"), "--dump-dom",
                  "file://" + dir + "/report.html"});
  ASSERT_EQ(dom.exitCode, 0) << dom.stdErr;
  const std::string& page = dom.stdOut;
  // One row per class, each in the class its outcome gives it.
  EXPECT_EQ(
      Count(page, "<tr class=\"pass\"><td>passing class \\(CPassing\\)</td><td class=\"num\">2<"),
      1u)
      << page;
  EXPECT_EQ(
      Count(page, "<tr class=\"fail\"><td>failing class \\(CFailing\\)</td><td class=\"num\">3<"),
      1u);
  EXPECT_EQ(Count(page, "<li class=\"failure\">"), 3u);
  const std::string failedLine = std::to_string(PxScenarioLine("PX_ASSERT_EQUAL(2 + 2, 5)"));
  EXPECT_EQ(
      Count(page,
            "<li class=\"failure\"><span class=\"location\">[^<]*ViewerScenario.cpp\\(" +
                failedLine +
                "\\):"
                "</span><br>mixed &lt;outcomes&gt; &amp; \"quotes\"<br>2 \\+ 2 == 5  ？<br>"
                "<span class=\"fail\">\\*\\* '2 \\+ 2' は '5' になりませんでした</span></li>"),
      1u);
  // Texts stay texts: no element was made of the caption's angle brackets.
  EXPECT_EQ(page.find("<outcomes>"), std::string::npos);
  EXPECT_NE(
      page.find("<p id=\"summary\" class=\"fail\">2 classes, 5 cases, 4 passed, 3 failed</p>"),
      std::string::npos);
  EXPECT_NE(page.find("========結果========"), std::string::npos);
}

} // namespace
