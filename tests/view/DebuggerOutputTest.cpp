// Real test programs under a real tracer: their messages reach standard
// error as debugger lines, and no log file is made.
#include "common/PxChildProcess.h"
#include "common/PxIconv.h"
#include "common/PxTestFiles.h"

#include <filesystem>

namespace {

TEST(DebuggerOutput, TracedRunsWriteTheirTranscriptAndNoLog) {
  for (const std::string mode : {"class", "suite"}) {
    const std::string tmp = PxMakeTempDir("traced");
    const SPxChildResult run = PxRunChild({PxScenarioPath("px_class_scenario"), mode},
                                          {{"TMPDIR", tmp}, {"LC_ALL", "C"}}, true);
    ASSERT_EQ(run.exitCode, 0) << run.stdErr;
    PxExpectApproved("view/approved/traced-" + mode + ".txt",
                     PxStable(PxIconv("UTF-8", "CP932", run.stdErr)));
    EXPECT_TRUE(std::filesystem::is_empty(tmp));
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

} // namespace
