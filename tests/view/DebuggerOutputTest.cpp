// A real test program under a real tracer: its messages reach standard
// error as debugger lines, and no log file is made.
#include "common/PxChildProcess.h"
#include "common/PxViewerStandIn.h"
#include "probex/base/PxFormat.h"
#include "probex/base/PxTexts.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <regex>
#include <thread>

namespace {

// Source locations and times vary with the build; the rest is exact.
std::string Normalised(const std::string& transcript) {
  std::string out =
      std::regex_replace(transcript, std::regex("/\\S*ClassScenario\\.cpp\\(\\d+\\):"), "<loc>");
  return std::regex_replace(out, std::regex("-->Time \\d+ms"), "-->Time Nms");
}

TEST(DebuggerOutput, TracedClassRunWritesTheTranscriptAndNoLog) {
  const std::string tmp = PxMakeTempDir("traced");
  const SPxChildResult run =
      PxRunChildTraced({PxScenarioPath("px_class_scenario"), "class"}, {{"TMPDIR", tmp}});
  ASSERT_EQ(run.exitCode, 0) << run.stdErr;
  const std::string time = "             -->Time Nms\n\n";
  const std::string expected = "\nProbex  Ver1.40\n\n[scenario]\n"
                               "-----passes\none plus one\n<loc><\n1 + 1 == 2\n\n" +
                               time + "-----fails <always> & \"loudly\"\n<loc><\n1 > 2" +
                               NPxText::kFalseSuffix + "\n** " +
                               PxFormat(NPxText::kAssertNg, "1 > 2") + "\n\n *0000 : 01 02 FE \n" +
                               time + "\n>> Case     \t2\n>> Exception\t0\n>> Failures \t1\n\n";
  EXPECT_EQ(Normalised(run.stdErr), expected);
  EXPECT_TRUE(std::filesystem::is_empty(tmp));
}

TEST(DebuggerOutput, TracedSuiteEndsWithItsResultsBlock) {
  const std::string tmp = PxMakeTempDir("traced");
  const SPxChildResult run =
      PxRunChildTraced({PxScenarioPath("px_class_scenario"), "suite"}, {{"TMPDIR", tmp}});
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

// The whole log left in dir; empty unless there is exactly one.
std::string OnlyLog(const std::string& dir) {
  std::vector<std::string> logs;
  for (const std::filesystem::directory_entry& entry : std::filesystem::directory_iterator(dir))
    if (entry.path().extension() == ".qpxlog")
      logs.push_back(entry.path().string());
  return logs.size() == 1 ? PxReadFile(logs[0]) : std::string();
}

// A tracer attaching in mid-run gets every message sent 1 ms later and on;
// once it has left, the very next message goes to the log again. Rounds of
// both catch an answer kept too long either way.
TEST(DebuggerOutput, TracerAttachedAndDetachedInMidRunSwitchesTheDestination) {
  const std::string tmp = PxMakeTempDir("seized");
  const CPxViewerStandIn viewer;
  CPxLiveChild child({PxScenarioPath("px_class_scenario"), "relay"},
                     {{"TMPDIR", tmp}, {"PATH", viewer.Path()}});
  std::string expectedLog;
  std::string expectedStream;
  for (int i = 1; i <= 8; ++i) {
    const std::string round = std::to_string(i);
    ASSERT_EQ(child.Ask("untraced " + round), "untraced " + round);
    ASSERT_TRUE(child.Seize());
    std::this_thread::sleep_for(std::chrono::microseconds(1500));
    ASSERT_EQ(child.Ask("traced " + round), "traced " + round);
    ASSERT_TRUE(child.Release());
    ASSERT_EQ(child.Ask("released " + round), "released " + round);
    expectedLog += "Etc.|untraced " + round + "\rEtc.|released " + round + "\r";
    expectedStream += "traced " + round + "\n";
  }
  const SPxChildResult run = child.Finish();
  ASSERT_EQ(run.exitCode, 0) << run.stdErr;
  EXPECT_EQ(run.stdErr, expectedStream);
  const std::string log = OnlyLog(tmp);
  ASSERT_GE(log.size(), expectedLog.size());
  EXPECT_EQ(log.substr(log.size() - expectedLog.size()), expectedLog);
}

// The child of a traced program is not traced itself: its message is a
// record of its own log, never a line on the inherited standard error.
TEST(DebuggerOutput, ForkedChildOfATracedProgramAsksAboutItself) {
  const std::string tmp = PxMakeTempDir("forked");
  const CPxViewerStandIn viewer;
  const SPxChildResult run = PxRunChildTraced({PxScenarioPath("px_class_scenario"), "fork"},
                                              {{"TMPDIR", tmp}, {"PATH", viewer.Path()}});
  ASSERT_EQ(run.exitCode, 0) << run.stdErr;
  EXPECT_EQ(run.stdErr, "before the fork\nfrom the parent\n");
  EXPECT_NE(OnlyLog(tmp).find("Etc.|from the child\r"), std::string::npos);
}

} // namespace
