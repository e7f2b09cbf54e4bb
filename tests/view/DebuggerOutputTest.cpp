// The default sink under a debugger, in this process and in real test
// programs under a real tracer: their messages reach standard error as
// debugger lines, and no log file is made.
#include "common/PxChildProcess.h"
#include "common/PxDebuggerStandIn.h"
#include "common/PxIconv.h"
#include "common/PxTestFiles.h"
#include "common/PxViewerStandIn.h"
#include "probex/view/ProbexView.h"

#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace {

// The default sink in this process: what only a sink here can show (pauses,
// kinds no program sends, null texts).
TEST(DebuggerRendering, EachLineArrivesWholeAndIsFollowedByAPauseButCoverageIsSilent) {
  const std::string longText(5000, 'x');
  CPxDebuggerStandIn debugger;
  CProbexView view;
  view.OutputMessage(longText.c_str(), PX_MSG_TEST_NG);
  view.OutputMessage(nullptr, PX_MSG_ETC);
  view.OutputMessage("odd kind", static_cast<EPxMsgType>(0x41424344u));
  view.OutputMessage("/a.cpp(4):", PX_MSG_TEST_LINE);
  for (EPxMsgType kind : {PX_MSG_COVERAGE_LINE, PX_MSG_COVERAGE_FUNC_IN, PX_MSG_COVERAGE_FUNC_OUT,
                          PX_MSG_COVERAGE_PASSABLE, PX_MSG_COVERAGE_COUNT})
    view.OutputMessage("?1,2(3", kind);
  EXPECT_EQ(debugger.Events(),
            (std::vector<std::string>{"** " + longText + "\n\n", "<pause 10>", "\n", "<pause 10>",
                                      "odd kind\n", "<pause 10>", "", "<pause 10>"}));
}

// The terminal's encoding: UTF-8 when the locale says so (LC_ALL decides
// over LANG, and an empty LC_ALL does not), CP932 bytes unchanged otherwise.
TEST(DebuggerOutput, TracedRunsWriteTheirTranscriptInTheTerminalsEncodingAndNoLog) {
  const struct {
    const char* mode;
    std::map<std::string, std::string> env;
    bool utf8;
  } rows[] = {{"class", {{"LC_ALL", "C"}}, false},
              {"suite", {{"LC_ALL", "C"}}, false},
              {"values", {{"LC_ALL", "C"}}, false},
              {"class", {{"LC_ALL", ""}, {"LC_CTYPE", ""}, {"LANG", "ja_JP.UTF-8"}}, true},
              {"class", {{"LC_ALL", ""}, {"LC_CTYPE", "ja_JP.SJIS"}, {"LANG", "C.UTF-8"}}, false}};
  for (const auto& row : rows) {
    const bool utf8 = row.utf8 && kPxLocaleChoosesEncoding;
    SCOPED_TRACE(std::string(row.mode) + (utf8 ? " UTF-8" : " CP932"));
    std::map<std::string, std::string> env = row.env;
    env["TMPDIR"] = PxMakeTempDir("traced");
    const SPxChildResult run =
        PxRunChild({PxScenarioPath("px_class_scenario"), row.mode}, env, true);
    ASSERT_EQ(run.exitCode, 0) << run.stdErr;
    PxExpectApproved("view/approved/traced-" + std::string(row.mode) + ".txt",
                     PxStable(utf8 ? run.stdErr : PxIconv("UTF-8", "CP932", run.stdErr)));
    EXPECT_TRUE(std::filesystem::is_empty(env["TMPDIR"]));
    // The values of failed comparisons travel beside the messages, never here.
    EXPECT_EQ(run.stdErr.find("-\tx\t4\ty\t5"), std::string::npos);
  }
}

// The debugger's stream is a terminal: a text's escape sequences reach it
// only as visible \xNN.
TEST(DebuggerOutput, TracedTextsCannotSteerTheTerminal) {
  const SPxChildResult run =
      PxRunChild({PxScenarioPath("px_class_scenario"), "text", "Etc.", "\x1b[2Jwiped\x07"},
                 {{"TMPDIR", PxMakeTempDir("traced")}}, true);
  ASSERT_EQ(run.exitCode, 0) << run.stdErr;
  EXPECT_EQ(run.stdErr, "\\x1b[2Jwiped\\x07\n");
}

// A tracer attaching in mid-run gets every message sent 1 ms later and on;
// once it has left, the very next message goes to the log again. Rounds of
// both catch an answer kept too long either way.
TEST(DebuggerOutput, TracerAttachedAndDetachedInMidRunSwitchesTheDestination) {
  const std::string tmp = PxMakeTempDir("seized");
  const CPxViewerStandIn viewer;
  CPxChild child;
  ASSERT_TRUE(child.Start({PxScenarioPath("px_class_scenario"), "relay"},
                          {{"TMPDIR", tmp}, {"PATH", viewer.Path()}}));
  const auto ask = [&child](const std::string& line) {
    return child.WriteLine(line) ? child.ReadLine() : std::string();
  };
  std::string expectedLog;
  std::string expectedStream;
  for (int i = 1; i <= 8; ++i) {
    const std::string round = std::to_string(i);
    ASSERT_EQ(ask("untraced " + round), "untraced " + round);
    ASSERT_TRUE(child.Seize());
    std::this_thread::sleep_for(std::chrono::microseconds(1500));
    ASSERT_EQ(ask("traced " + round), "traced " + round);
    ASSERT_TRUE(child.Release());
    ASSERT_EQ(ask("released " + round), "released " + round);
    expectedLog += "Etc.|untraced " + round + "\rEtc.|released " + round + "\r";
    expectedStream += "traced " + round + "\n";
  }
  const SPxChildResult run = child.Wait();
  ASSERT_EQ(run.exitCode, 0) << run.stdErr;
  EXPECT_EQ(run.stdErr, expectedStream);
  const std::string log = PxOnlyLog(tmp);
  ASSERT_GE(log.size(), expectedLog.size());
  EXPECT_EQ(log.substr(log.size() - expectedLog.size()), expectedLog);
}

// The child of a traced program is not traced itself: its message is a
// record of its own log, never a line on the inherited standard error.
TEST(DebuggerOutput, ForkedChildOfATracedProgramAsksAboutItself) {
#if defined(_WIN32)
  GTEST_SKIP() << "Windows has no fork";
#endif
  const std::string tmp = PxMakeTempDir("forked");
  const CPxViewerStandIn viewer;
  const SPxChildResult run = PxRunChild({PxScenarioPath("px_crash_scenario"), "fork"},
                                        {{"TMPDIR", tmp}, {"PATH", viewer.Path()}}, true);
  ASSERT_EQ(run.exitCode, 0) << run.stdErr;
  EXPECT_NE(run.stdErr.find("[fork]\n"), std::string::npos) << run.stdErr;
  EXPECT_EQ(PxCount(run.stdErr, "child"), 0u) << run.stdErr;
  EXPECT_EQ(PxRecords(PxOnlyLog(tmp)).back(), "Etc.|child");
}

} // namespace
