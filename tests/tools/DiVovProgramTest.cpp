// DiVov.exe as a program: transcripts of real runs against approved files,
// exit statuses, the command-line conventions, damaged logs, and following
// a log that a live test program writes.
#include "ViewerTestSupport.h"

#include <signal.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <tuple>

namespace {

// Each run is alone in its folder, so it is also the newest log of the program.
TEST(DiVovProgram, ShowsRealRunsAsApprovedTranscriptsWithTheirStatus) {
  const std::pair<std::string, int> runs[] = {{"class", 1},         {"nocaption", 0},
                                              {"noend", 0},         {"suite", 1},
                                              {"coverage-step", 0}, {"coverage-count", 0}};
  for (const auto& [mode, status] : runs) {
    SCOPED_TRACE(mode);
    const SPxChildResult shown =
        PxRunViewer({"--color=never", "--encoding=UTF-8", "--latest", "px_class_scenario"},
                    PxDirectoryOf(PxRunScenarioLog(mode)));
    EXPECT_EQ(shown.exitCode, status) << shown.stdErr;
    EXPECT_EQ(shown.stdErr, "");
    PxExpectApproved("tools/approved/" + mode + ".txt", PxStable(shown.stdOut));
  }
}

TEST(DiVovProgram, AnswersHelpVersionAndTroubleAsCommandsDo) {
  const std::string dir = PxMakeTempDir("trouble");
  ASSERT_EQ(::mkfifo((dir + "/fifo").c_str(), 0600), 0); // would block the open of a follow
  std::ofstream(dir + "/e"); // an empty log is read without complaint: only reports are refused
  const std::string none = "Summary: 0 classes, 0 cases, 0 passed, 0 failed\n";
  const std::tuple<std::vector<std::string>, int, std::string, std::string> runs[] = {
      {{"--help"}, 0, "Usage: DiVov.exe [OPTION]... LOG\n", ""},
      {{"--version"}, 0, "DiVov.exe (Probex) 1.40\n", ""},
      {{"-x"}, 2, "", "unknown option -x\nTry 'DiVov.exe --help' for more information.\n"},
      {{"--latest", "nope"}, 2, "", "no log of nope in the temporary directory\n"},
      {{dir + "/missing"}, 2, "", "cannot open " + dir + "/missing: No such file or directory\n"},
      {{dir}, 2, "", "cannot read " + dir + ": it is a directory\n"},
      {{"-f", dir + "/fifo"}, 2, "", "cannot follow " + dir + "/fifo: it is not a regular file\n"},
      {{"--junit", dir + "/no/x", dir + "/e"}, 2, none, "cannot write " + dir + "/no/x\n"},
      {{"--lcov", dir + "/t", dir + "/e"},
       0,
       none,
       dir + "/e: no coverage records, " + dir + "/t not written\n"}};
  for (const auto& [args, status, out, err] : runs) {
    const SPxChildResult run = PxRunViewer(args, dir);
    EXPECT_EQ(run.exitCode, status) << args[0];
    // Of the help only its first line: the rest is prose.
    EXPECT_EQ(run.stdOut.substr(0, run.stdOut.find('\n') + 1), out);
    EXPECT_EQ(run.stdOut.size() > out.size(), args[0] == "--help");
    EXPECT_EQ(run.stdErr, err.empty() ? "" : "DiVov.exe: " + err);
  }
  EXPECT_FALSE(std::filesystem::exists(dir + "/t"));
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
  std::string err = shown.stdErr;
  for (std::size_t at; (at = err.find(path)) != std::string::npos;)
    err.replace(at, path.size(), "<log>");
  PxExpectApproved("tools/approved/damaged.txt", shown.stdOut + "-- standard error\n" + err);
}

// A viewer run with --follow shows the first half while the program waits
// at its gate, and the viewer that the program starts through /x writes its
// report beside the log. Both end with the program, finished or killed.
TEST(DiVovFollow, ShowsTheLogAsItGrowsAndEndsWithItsWriter) {
  for (const bool killed : {false, true}) {
    SCOPED_TRACE(killed ? "writer killed" : "writer finishes");
    const std::string dir = PxMakeTempDir("halfway");
    const std::string objects = PxMakeTempDir("objects");
    const std::string gate = PxMakeTempDir("gate");
    CPxChild writer;
    ASSERT_TRUE(writer.Start(
        {PxScenarioPath("px_class_scenario"), "halfway", gate},
        {{"TMPDIR", dir}, {"PROBEX_OBJECT_DIR", objects}, {"PATH", PxDirectoryOf(PX_DIVOV_PATH)}}));
    std::string log;
    ASSERT_TRUE(PxEventually([&] { return !(log = PxLogIn(dir)).empty(); }));
    CPxChild viewer;
    ASSERT_TRUE(viewer.Start({PX_DIVOV_PATH, "--follow", "--color=never", log},
                             {{"PROBEX_OBJECT_DIR", objects}}));
    // A viewer that ended early gives empty lines: the count bounds the wait.
    std::string shown;
    for (int lines = 0; lines < 100000 && shown.find(">> Failures \t0\n") == std::string::npos;
         ++lines)
      shown += viewer.ReadLine() + "\n";
    ASSERT_NE(shown.find(">> Failures \t0\n"), std::string::npos) << shown.substr(0, 2000);
    EXPECT_EQ(shown.find("[scenario]"), std::string::npos);
    if (killed) {
      writer.Kill();
      EXPECT_EQ(writer.Wait().signal, SIGKILL);
    } else {
      std::ofstream{gate + "/open"};
      const SPxChildResult ended = writer.Wait();
      EXPECT_EQ(ended.stdOut, ""); // the /x viewer wrote nothing into the program's output
      EXPECT_EQ(ended.exitCode, 0);
    }
    const SPxChildResult ended = viewer.Wait();
    shown += ended.stdOut;
    EXPECT_EQ(ended.exitCode, killed ? 0 : 1);
    const std::string summary =
        killed ? "1 class, 0 cases, 0 passed, 0 failed" : "2 classes, 2 cases, 1 passed, 1 failed";
    // A killed writer leaves its last record cut, which is taken as it stands.
    EXPECT_NE(shown.find(killed ? std::string(7999, 'x') + "\nSummary: " + summary + "\n"
                                : std::string(9000, 'x') + "\nProbex  Ver1.40\n[scenario]\n"),
              std::string::npos);
    EXPECT_NE(shown.find("Summary: " + summary + "\n"), std::string::npos);
    // The report is the /x viewer's last act; it comes once the writer is gone.
    std::string html;
    EXPECT_TRUE(PxEventually([&] {
      html = PxReadFile(log + ".html");
      return html.size() > 8 && html.compare(html.size() - 8, 8, "</html>\n") == 0;
    }));
    EXPECT_NE(html.find("<p id=\"summary\" class=\"" + std::string(killed ? "pass" : "fail") +
                        "\">" + summary + "</p>"),
              std::string::npos)
        << html;
  }
}

} // namespace
