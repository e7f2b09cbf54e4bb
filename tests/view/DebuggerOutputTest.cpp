// Real test programs under a real tracer: their messages reach standard
// error as debugger lines, and no log file is made.
#include "common/PxChildProcess.h"
#include "common/PxIconv.h"
#include "common/PxTestFiles.h"

#include <filesystem>
#include <map>

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

// The terminal's encoding: UTF-8 when the locale says so (LC_ALL decides
// over LANG, and an empty LC_ALL does not), CP932 bytes unchanged otherwise.
TEST(DebuggerOutput, TracedLinesTakeTheTerminalsEncoding) {
  const struct {
    std::map<std::string, std::string> env;
    bool utf8;
  } rows[] = {{{{"LC_ALL", ""}, {"LC_CTYPE", ""}, {"LANG", "ja_JP.UTF-8"}}, true},
              {{{"LC_ALL", ""}, {"LC_CTYPE", "ja_JP.SJIS"}, {"LANG", "C.UTF-8"}}, false}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.utf8 ? "UTF-8" : "CP932");
    std::map<std::string, std::string> env = row.env;
    env["TMPDIR"] = PxMakeTempDir("traced");
    const SPxChildResult run =
        PxRunChild({PxScenarioPath("px_class_scenario"), "class"}, env, true);
    ASSERT_EQ(run.exitCode, 0) << run.stdErr;
    PxExpectApproved("view/approved/traced-class.txt",
                     PxStable(row.utf8 ? run.stdErr : PxIconv("UTF-8", "CP932", run.stdErr)));
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
