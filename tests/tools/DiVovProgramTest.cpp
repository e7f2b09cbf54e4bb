// DiVov.exe as a program: transcripts of real runs against approved files,
// exit statuses, the command-line conventions, damaged logs, and the start
// through /x.
#include "ViewerTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

struct SApprovedRun {
  const char* mode;
  int status;
};

TEST(DiVovProgram, ShowsRealRunsAsApprovedTranscriptsWithTheirStatus) {
  for (const SApprovedRun& run :
       {SApprovedRun{"pass", 0}, SApprovedRun{"fail", 1}, SApprovedRun{"nocaption", 0},
        SApprovedRun{"noend", 0}, SApprovedRun{"suite", 1}, SApprovedRun{"coverage-step", 0},
        SApprovedRun{"coverage-count", 0}}) {
    SCOPED_TRACE(run.mode);
    const std::string log = PxRunScenarioLog(run.mode);
    const SPxChildResult shown = PxRunViewer({"--color=never", "--encoding=UTF-8", log});
    EXPECT_EQ(shown.exitCode, run.status) << shown.stdErr;
    EXPECT_EQ(shown.stdErr, "");
    PxExpectApproved(std::string(run.mode) + ".txt", PxStableTranscript(shown.stdOut));
  }
}

TEST(DiVovProgram, FindsTheNewestLogOfAProgram) {
  const std::string log = PxRunScenarioLog("fail");
  const SPxChildResult latest =
      PxRunViewer({"--color=never", "--latest", "px_viewer_scenario"}, PxDirectoryOf(log));
  const SPxChildResult direct = PxRunViewer({"--color=never", log});
  EXPECT_EQ(latest.exitCode, 1);
  EXPECT_EQ(latest.stdOut, direct.stdOut);
  const SPxChildResult none = PxRunViewer({"--latest", "no_such_program"}, PxDirectoryOf(log));
  EXPECT_EQ(none.exitCode, 2);
  EXPECT_NE(none.stdErr.find("no log of no_such_program"), std::string::npos) << none.stdErr;
}

TEST(DiVovProgram, FollowsCommandLineConventions) {
  const SPxChildResult help = PxRunViewer({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.stdOut.rfind("Usage: DiVov.exe", 0), 0u) << help.stdOut;
  const SPxChildResult version = PxRunViewer({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.stdOut, "DiVov.exe (Probex) 1.40\n");
  const SPxChildResult bad = PxRunViewer({"--frobnicate", "x"});
  EXPECT_EQ(bad.exitCode, 2);
  EXPECT_EQ(bad.stdErr, "DiVov.exe: unknown option --frobnicate\n"
                        "Try 'DiVov.exe --help' for more information.\n");
  EXPECT_EQ(bad.stdOut, "");
}

TEST(DiVovProgram, FailsWithAMessageOnALogItCannotRead) {
  const std::string dir = PxMakeTempDir("unreadable");
  const SPxChildResult missing = PxRunViewer({dir + "/missing.qpxlog"});
  EXPECT_EQ(missing.exitCode, 2);
  EXPECT_EQ(missing.stdErr,
            "DiVov.exe: cannot open " + dir + "/missing.qpxlog: No such file or directory\n");
  const SPxChildResult directory = PxRunViewer({dir});
  EXPECT_EQ(directory.exitCode, 2);
  EXPECT_NE(directory.stdErr.find("is a directory"), std::string::npos);
  const SPxChildResult unwritable =
      PxRunViewer({"--junit", dir + "/no/such/dir.xml", PxRunScenarioLog("pass")});
  EXPECT_EQ(unwritable.exitCode, 2);
  EXPECT_NE(unwritable.stdErr.find("cannot write " + dir + "/no/such/dir.xml"), std::string::npos);
}

TEST(DiVovProgram, ShowsWhatADamagedLogStillHoldsAndReportsTheRest) {
  const std::string path = PxMakeTempDir("damaged") + "/damaged.qpxlog";
  std::ofstream(path, std::ios::binary) << "ClCp|damaged\r" << std::string(3, '\0') << "CaCp|case\r"
                                        << "\x01\x02 noise\r(7\rTtEx|a\rTtNg|bad \xFF "
                                           "byte\rXxxx|strange\rClRe|Failures \t1\rEtc.|cut";
  const SPxChildResult shown = PxRunViewer({"--color=never", path});
  EXPECT_EQ(shown.exitCode, 1);
  EXPECT_EQ(shown.stdOut, "[damaged]\n-----case\na\n** bad \xEF\xBF\xBD byte\n\nstrange\n"
                          ">> Failures \t1\ncut\nSummary: 1 class, 1 case, 0 passed, 1 failed\n");
  const std::string prefix = "DiVov.exe: " + path + ": ";
  EXPECT_EQ(shown.stdErr,
            prefix + "skipped 1 damaged line (first at byte 26)\n" + prefix +
                "skipped 1 continuation line without its record (first at byte 35)\n" + prefix +
                "skipped 3 zero bytes (first at byte 13)\n" + prefix +
                "showed 1 record of unknown kind as free text (first at byte 61)\n" + prefix +
                "the log has no header records\n" + prefix +
                "took 1 record without its carriage return as it stands (first at byte "
                "91)\n" +
                prefix + "replaced 1 byte that could not be converted\n");
}

TEST(DiVovProgram, StartedWithXItWritesTheReportBesideTheLogOfAnEndedRun) {
  const std::string log = PxRunScenarioLog("fail");
  const std::string title = log.substr(log.rfind('/') + 1);
  // The library names the log after the program's own path.
  const SPxChildResult started =
      PxRunViewer({"/x", "\"/where/the/program/lies/" + title + "\""}, PxDirectoryOf(log));
  EXPECT_EQ(started.exitCode, 1);
  EXPECT_EQ(started.stdOut, ""); // detached: nothing reaches the starter's terminal
  EXPECT_EQ(started.stdErr, "");
  const std::string html = PxReadFile(log + ".html");
  EXPECT_NE(html.find("&#39;2 + 2&#39; は &#39;5&#39; になりませんでした"), std::string::npos);
}

} // namespace
