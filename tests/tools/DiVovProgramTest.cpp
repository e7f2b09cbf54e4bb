// DiVov.exe as a program: transcripts of real runs against approved files,
// exit statuses, the command-line conventions and damaged logs.
#include "ViewerTestSupport.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <fstream>

namespace {

TEST(DiVovProgram, ShowsRealRunsAsApprovedTranscriptsWithTheirStatus) {
  const std::pair<std::string, int> runs[] = {
      {"pass", 0},  {"fail", 1},          {"nocaption", 0},     {"noend", 0},
      {"suite", 1}, {"coverage-step", 0}, {"coverage-count", 0}};
  for (const auto& [mode, status] : runs) {
    SCOPED_TRACE(mode);
    const SPxChildResult shown =
        PxRunViewer({"--color=never", "--encoding=UTF-8", PxRunScenarioLog(mode)});
    EXPECT_EQ(shown.exitCode, status) << shown.stdErr;
    EXPECT_EQ(shown.stdErr, "");
    PxExpectApproved(mode + ".txt", PxStableTranscript(shown.stdOut));
  }
}

TEST(DiVovProgram, FindsTheNewestLogOfAProgram) {
  const std::string log = PxRunScenarioLog("fail");
  const SPxChildResult latest =
      PxRunViewer({"--color=never", "--latest", "px_viewer_scenario"}, PxDirectoryOf(log));
  EXPECT_EQ(latest.exitCode, 1);
  EXPECT_EQ(latest.stdOut, PxRunViewer({"--color=never", log}).stdOut);
  const SPxChildResult none = PxRunViewer({"--latest", "no_such_program"}, PxDirectoryOf(log));
  EXPECT_EQ(none.exitCode, 2);
  EXPECT_NE(none.stdErr.find("no log of no_such_program"), std::string::npos) << none.stdErr;
}

TEST(DiVovProgram, AnswersHelpVersionAndMistakesAsCommandsDo) {
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

TEST(DiVovProgram, FailsWithAMessageOnAFileItCannotReadOrWrite) {
  const std::string dir = PxMakeTempDir("unreadable");
  const SPxChildResult missing = PxRunViewer({dir + "/missing.qpxlog"});
  EXPECT_EQ(missing.exitCode, 2);
  EXPECT_EQ(missing.stdErr,
            "DiVov.exe: cannot open " + dir + "/missing.qpxlog: No such file or directory\n");
  const SPxChildResult directory = PxRunViewer({dir});
  EXPECT_EQ(directory.exitCode, 2);
  EXPECT_NE(directory.stdErr.find("is a directory"), std::string::npos);
  // A pipe would block the open of a follow.
  ASSERT_EQ(::mkfifo((dir + "/fifo").c_str(), 0600), 0);
  const SPxChildResult fifo = PxRunViewer({"--follow", dir + "/fifo"});
  EXPECT_EQ(fifo.exitCode, 2);
  EXPECT_EQ(fifo.stdErr, "DiVov.exe: cannot follow " + dir + "/fifo: it is not a regular file\n");
  // An empty log is read without complaint: only the report is refused.
  std::ofstream(dir + "/empty.qpxlog");
  const SPxChildResult unwritable =
      PxRunViewer({"--junit", dir + "/no/dir.xml", dir + "/empty.qpxlog"});
  EXPECT_EQ(unwritable.exitCode, 2);
  EXPECT_EQ(unwritable.stdErr, "DiVov.exe: cannot write " + dir + "/no/dir.xml\n");
}

TEST(DiVovProgram, ShowsWhatADamagedLogStillHoldsAndReportsTheRest) {
  const std::string path = PxMakeTempDir("damaged") + "/damaged.qpxlog";
  // A check before any class, as when the log's start was lost; a code too
  // short; a CP932 lead byte last; a record cut by a hole of zero bytes; a
  // class that reports a failure no check shows.
  std::ofstream(path, std::ios::binary)
      << "TtOk|\rClCp|damaged\r"
      << "CaCp|case\r\x01\x02 noise\rZz|short\r(7\rTtEx|a\rEtc.|bad \xFF byte \x82\r"
      << "Etc.|cut by a hole" << std::string(2, '\0')
      << "Xxxx|strange\rClRe|Failures \t1\rEtc.|cut";
  const SPxChildResult shown = PxRunViewer({"--color=never", path});
  EXPECT_EQ(shown.exitCode, 1);
  EXPECT_EQ(shown.stdOut, "\n[damaged]\n-----case\na\nbad \xEF\xBF\xBD byte \xEF\xBF\xBD\nstrange\n"
                          ">> Failures \t1\ncut\nSummary: 2 classes, 2 cases, 1 passed, 0 failed, "
                          "1 failure reported by classes\n");
  const std::string prefix = "DiVov.exe: " + path + ": ";
  EXPECT_EQ(shown.stdErr,
            prefix + "skipped 3 damaged lines (first at byte 29)\n" + prefix +
                "skipped 1 continuation line without its record (first at byte 47)\n" + prefix +
                "skipped 2 zero bytes (first at byte 93)\n" + prefix +
                "showed 1 record of unknown kind as free text (first at byte 95)\n" + prefix +
                "the log has no header records\n" + prefix +
                "took 1 record without its carriage return as it stands (first at byte 125)\n" +
                prefix + "replaced 2 bytes that could not be converted\n");
}

} // namespace
