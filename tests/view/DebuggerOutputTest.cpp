// A real test program under a real tracer: its messages reach standard
// error as debugger lines, and no log file is made.
#include "common/PxChildProcess.h"
#include "common/PxIconv.h"
#include "probex/base/PxFormat.h"
#include "probex/base/PxTexts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <map>
#include <regex>

namespace {

// Source locations and times vary with the build; the rest is exact.
std::string Normalised(const std::string& transcript) {
  std::string out = std::regex_replace(
      transcript, std::regex("(/|[A-Za-z]:\\\\)\\S*ClassScenario\\.cpp\\(\\d+\\):"), "<loc>");
  return std::regex_replace(out, std::regex("-->Time \\d+ms"), "-->Time Nms");
}

TEST(DebuggerOutput, TracedClassRunWritesTheTranscriptInTheTerminalsEncodingAndNoLog) {
  const std::string time = "             -->Time Nms\n\n";
  const std::string cp932 = "\nProbex  Ver1.40\n\n[scenario]\n"
                            "-----passes\none plus one\n<loc><\n1 + 1 == 2\n\n" +
                            time + "-----fails <always> & \"loudly\"\n<loc><\n1 > 2" +
                            NPxText::kFalseSuffix + "\n** " +
                            PxFormat(NPxText::kAssertNg, "1 > 2") + "\n\n *0000 : 01 02 FE \n" +
                            time + "\n>> Case     \t2\n>> Exception\t0\n>> Failures \t1\n\n";
  const std::string utf8 = PxIconv("UTF-8", "CP932", cp932);
  // LC_ALL decides over LANG, and an empty LC_ALL does not.
  const std::map<std::string, std::string> locales[] = {
      {{"LC_ALL", "C"}, {"LANG", "C.UTF-8"}},
      {{"LC_ALL", ""}, {"LC_CTYPE", ""}, {"LANG", "ja_JP.UTF-8"}},
      {{"LC_ALL", ""}, {"LC_CTYPE", "ja_JP.SJIS"}, {"LANG", "C.UTF-8"}}};
  const std::string expected[] = {cp932, utf8, cp932};
  for (size_t i = 0; i < std::size(locales); ++i) {
    SCOPED_TRACE(i);
    std::map<std::string, std::string> env = locales[i];
    const std::string tmp = PxMakeTempDir("traced");
    env["TMPDIR"] = tmp;
    const SPxChildResult run =
        PxRunChildTraced({PxScenarioPath("px_class_scenario"), "class"}, env);
    ASSERT_EQ(run.exitCode, 0) << run.stdErr;
    EXPECT_EQ(Normalised(run.stdErr), expected[i]);
    EXPECT_TRUE(std::filesystem::is_empty(tmp));
  }
}

// The debugger's stream is a terminal: a text's escape sequences reach it
// only as visible \xNN.
TEST(DebuggerOutput, TracedTextsCannotSteerTheTerminal) {
  const SPxChildResult run =
      PxRunChildTraced({PxScenarioPath("px_class_scenario"), "text", "Etc.", "\x1b[2Jwiped\x07"},
                       {{"TMPDIR", PxMakeTempDir("traced")}});
  ASSERT_EQ(run.exitCode, 0) << run.stdErr;
  EXPECT_EQ(run.stdErr, "\\x1b[2Jwiped\\x07\n");
}

TEST(DebuggerOutput, TracedSuiteEndsWithItsResultsBlock) {
  const std::string tmp = PxMakeTempDir("traced");
  const SPxChildResult run = PxRunChildTraced({PxScenarioPath("px_class_scenario"), "suite"},
                                              {{"TMPDIR", tmp}, {"LC_ALL", "C"}});
  ASSERT_EQ(run.exitCode, 0) << run.stdErr;
  const std::string block = std::string("\n") + NPxText::kSuiteResultsHeading +
                            "\n\n\n>>>> CScenario\n<loc>\n** " +
                            PxFormat(NPxText::kAssertNg, "1 > 2") +
                            "\n>> Case     \t2\n>> Exception\t0\n>> Failures \t1\n\n>>>> CEmpty\n"
                            ">> Case     \t0\n>> Exception\t0\n>> Failures \t0\n\n";
  const std::string transcript = Normalised(run.stdErr);
  ASSERT_GE(transcript.size(), block.size());
  EXPECT_EQ(transcript.substr(transcript.size() - block.size()), block);
  EXPECT_NE(transcript.find(">>>> CEmpty\n\nProbex  Ver1.40\n"), std::string::npos);
}

} // namespace
