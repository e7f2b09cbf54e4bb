// DiVov.exe as a program: transcripts of real runs against approved files,
// exit statuses, the command-line conventions, damaged logs, and following
// a log that a live test program writes.
#include "ViewerTestSupport.h"

#if defined(_WIN32)
#include "probex/platform/File.h"
#else
#include <sys/stat.h>
#endif

#include <gtest/gtest.h>

#include <tuple>

namespace {

// Each run is alone in its folder, so it is also the newest log of the
// program. The locale chooses the language of the library's texts, --lang
// overrules it; Japanese is the log's own text.
// --errors prints each failure, warning included, as compilers do.
TEST(DiVovProgram, ShowsRealRunsAsApprovedTranscriptsInEitherLanguageAndAsErrors) {
  // The checks of SetUp and TearDown count in their class, never as a case
  // or a class of their own, and fail the run only when they fail.
  const std::pair<std::string, int> runs[] = {
      {"class", 1},       {"nocaption", 1},     {"noend", 1},          {"suite", 1}, {"hooks", 0},
      {"hooks-suite", 1}, {"coverage-step", 0}, {"coverage-count", 0}, {"values", 1}};
#if defined(_WIN32)
  const std::string exe = ".exe"; // the programs' logs are named so
#else
  const std::string exe;
#endif
  const auto with = [](std::vector<std::string> args, const std::vector<std::string>& more) {
    args.insert(args.begin(), more.begin(), more.end());
    return args;
  };
  for (const auto& [mode, status] : runs) {
    SCOPED_TRACE(mode);
    const std::string program =
        mode.rfind("coverage", 0) == 0 ? "px_coverage_scenario" : "px_class_scenario";
    const std::vector<std::string> latest{"--color=never", "--encoding=UTF-8", "--latest",
                                          program + exe};
    const std::string log = PxRunScenarioLog(mode), dir = PxDirectoryOf(log);
    const SPxChildResult japanese = PxRunViewer(latest, dir, "ja_JP.UTF-8");
    const SPxChildResult english = PxRunViewer(latest, dir, "en_GB.UTF-8");
    // A failure or warning is listed at the line of its check or class.
    const SPxChildResult listed = PxRunViewer(with(latest, {"--errors"}), dir, "ja_JP.UTF-8");
    EXPECT_EQ(japanese.exitCode, status) << japanese.stdErr;
    EXPECT_EQ(english.exitCode, status);
    EXPECT_EQ(listed.exitCode, status);
    EXPECT_EQ(japanese.stdErr + english.stdErr + listed.stdErr, "");
    std::string all =
        japanese.stdOut + "== en_GB.UTF-8\n" + english.stdOut + "== --errors\n" + listed.stdOut;
    for (std::size_t at; (at = all.find(log)) != std::string::npos;)
      all.replace(at, log.size(), "<log>");
    PxExpectApproved("tools/approved/" + mode + ".txt", PxStable(all));
    EXPECT_EQ(PxRunViewer(with(latest, {"--lang=ja"}), dir, "C").stdOut, japanese.stdOut);
    EXPECT_EQ(PxRunViewer(with(latest, {"--lang=en"}), dir, "ja_JP.UTF-8").stdOut, english.stdOut);
  }
}

// A run in which no case ran, for a filter that matches none or classes that
// declare none, fails in the viewer as in the program and in the same words,
// unless the setting that allows it is given to both.
TEST(DiVovProgram, ARunOfNoCaseFailsAsInTheProgramUnlessBothAllowIt) {
  const std::pair<const char*, const char*> runs[] = {
      {"verdict", "Nope.*"}, {"verdict", "-*"}, {"empty", ""}};
  const std::string words = "no case ran in this process";
  for (const auto& [mode, filter] : runs)
    for (const bool allowed : {false, true}) {
      SCOPED_TRACE(std::string(mode) + " " + filter + (allowed ? " allowed" : ""));
      std::map<std::string, std::string> settings;
      if (allowed)
        settings["PROBEX_ALLOW_NO_CASES"] = "1";
      std::map<std::string, std::string> env = settings;
      env["TMPDIR"] = PxMakeTempDir("no-case");
      env["PATH"] = PxMakeTempDir("no-viewer");
      if (*filter)
        env["PROBEX_FILTER"] = filter;
      const SPxChildResult program = PxRunChild({PxScenarioPath("px_class_scenario"), mode}, env);
      const std::string log = PxLogIn(env["TMPDIR"]);
      const SPxChildResult shown = PxRunChild({PX_DIVOV_PATH, "--color=never", log}, settings);
      const SPxChildResult listed = PxRunChild({PX_DIVOV_PATH, "--errors", log}, settings);
      for (const SPxChildResult* run : {&program, &shown, &listed})
        EXPECT_EQ(run->exitCode, allowed ? 0 : 1);
      EXPECT_EQ(program.stdErr.find("Probex: " + words + ": ") != std::string::npos, !allowed);
      const std::string verdict = words + ". Set PROBEX_ALLOW_NO_CASES=1 where that is meant.\n";
      EXPECT_EQ(shown.stdOut.find("\nFailed: " + verdict + "Summary: ") != std::string::npos,
                !allowed)
          << shown.stdOut;
      EXPECT_EQ(listed.stdOut, allowed ? "" : log + ":1: error: " + verdict);
    }
}

TEST(DiVovProgram, AnswersHelpVersionAndTroubleAsCommandsDo) {
  const std::string dir = PxMakeTempDir("trouble");
  // Not a regular file, and one whose open would block a follow.
#if defined(_WIN32)
  const std::string special = "NUL";
  const std::string noFile = NPxPlatform::ErrorText(2), noFolder = NPxPlatform::ErrorText(3);
  const std::string notFollowed = "cannot open NUL"; // the device is refused when opened
#else
  const std::string special = dir + "/fifo";
  ASSERT_EQ(::mkfifo(special.c_str(), 0600), 0);
  const std::string noFile = "No such file or directory", noFolder = noFile;
  const std::string notFollowed = "cannot follow " + special;
#endif
  // A log that passed: only the reports are refused.
  std::ofstream(dir + "/e", std::ios::binary)
      << "Tit.|Probex\rVer.|1.40\rClCp|c\rCaCp|k\rTtOk|\rCaTm|1\rClRe|Failures \t0\r";
  const std::string none = "Summary: 1 class, 1 case, 1 passed, 0 failed\n";
  const std::tuple<std::vector<std::string>, int, std::string, std::string> runs[] = {
      {{"--help"}, 0, "Usage: DiVov.exe [OPTION]... LOG\n", ""},
      {{"--version"}, 0, "DiVov.exe (Probex) 1.40\n", ""},
      {{"-x"}, 2, "", "unknown option -x\nTry 'DiVov.exe --help' for more information.\n"},
      {{"--latest", "nope"}, 2, "", "no log of nope in the temporary directory\n"},
      {{dir + "/missing"}, 2, "", "cannot open " + dir + "/missing: " + noFile + "\n"},
      {{dir}, 2, "", "cannot read " + dir + ": it is a directory\n"},
      {{"-f", special}, 2, "", notFollowed + ": it is not a regular file\n"},
      {{"--junit", dir + "/no/x", dir + "/e"},
       2,
       none,
       "cannot write " + dir + "/no/x: cannot make a file beside it: " + noFolder + "\n"},
      {{"--html", special, dir + "/e"},
       2,
       none,
       "cannot write " + special + ": it is not a regular file\n"},
      {{"--lcov", dir + "/t", dir + "/e"},
       0,
       none,
       dir + "/e: no coverage records, " + dir + "/t not written\n"}};
  for (const auto& [args, status, out, err] : runs) {
    const SPxChildResult run = PxRunViewer(args, dir);
    EXPECT_EQ(run.exitCode, status) << args[0];
    // Of the help only its first line, the rest being prose; of a log's
    // transcript only its last line, the summary.
    const bool help = args[0] == "--help";
    const std::size_t summary = help || out.empty() ? 0 : run.stdOut.rfind("Summary: ");
    const std::string shown =
        summary == std::string::npos ? run.stdOut : run.stdOut.substr(summary);
    EXPECT_EQ(help ? shown.substr(0, shown.find('\n') + 1) : shown, out);
    EXPECT_EQ(shown.size() > out.size(), help);
    EXPECT_EQ(run.stdErr, err.empty() ? "" : "DiVov.exe: " + err);
  }
  EXPECT_FALSE(std::filesystem::exists(dir + "/t"));
  // Every status the viewer answers with is listed in its help.
  const std::string help = PxRunViewer({"--help"}, dir).stdOut;
  for (const auto& run : runs)
    EXPECT_NE(help.find("\n  " + std::to_string(std::get<1>(run)) + "  "), std::string::npos)
        << std::get<1>(run);
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
  EXPECT_EQ(shown.exitCode, 2);
  std::string err = shown.stdErr;
  for (std::size_t at; (at = err.find(path)) != std::string::npos;)
    err.replace(at, path.size(), "<log>");
  PxExpectApproved("tools/approved/damaged.txt", shown.stdOut + "-- standard error\n" + err);
}

// A log with nothing past its header (empty, or its header cut) is the log
// of a program that ended before its buffer was first written: no pass in
// any output, in either language, also when found as the newest log.
TEST(DiVovProgram, ALogWithNothingPastItsHeaderIsNeverAPass) {
  const std::string english = "the program ended before its log was written";
  const std::string japanese = "\xE3\x83\xAD\xE3\x82\xB0\xE3\x81\x8C\xE6\x9B\xB8\xE3\x81\x8B\xE3"
                               "\x82\x8C\xE3\x82\x8B\xE5\x89\x8D\xE3\x81\xAB\xE3\x83\x97\xE3\x83"
                               "\xAD\xE3\x82\xB0\xE3\x83\xA9\xE3\x83\xA0\xE3\x81\x8C\xE7\xB5\x82"
                               "\xE3\x82\x8F\xE3\x81\xA3\xE3\x81\x9F";
  for (const char* log : {"unwritten-empty", "unwritten-header"}) {
    SCOPED_TRACE(log);
    const std::string dir = PxMakeTempDir(log);
    std::filesystem::copy_file(std::string(PROBEX_TEST_SOURCE_DIR) + "/tools/logs/" + log +
                                   ".qpxlog",
                               dir + "/prog.20260101_00000000.qpxlog");
    const std::vector<std::string> latest{"--color=never", "--encoding=UTF-8", "--latest", "prog"};
    const std::pair<std::vector<std::string>, std::string> rows[] = {
        {{"--lang=en"}, "\nIncomplete run: " + english + "\nSummary: "},
        {{"--lang=ja"}, "\nIncomplete run: " + japanese + "\nSummary: "},
        {{"--lang=en", "--errors"}, ":1: error: incomplete run: " + english + "\n"}};
    for (const auto& [options, shown] : rows) {
      std::vector<std::string> args = options;
      args.insert(args.end(), latest.begin(), latest.end());
      const SPxChildResult run = PxRunViewer(args, dir);
      EXPECT_EQ(run.exitCode, 2) << options.back();
      EXPECT_NE(("\n" + run.stdOut).find(shown), std::string::npos) << run.stdOut;
    }
  }
}

#if !defined(_WIN32) // owners and other users are POSIX notions here
// What a second user can plant in a shared temporary folder before the
// viewer comes: a link where a report goes, a newer passing log of the same
// program, a link to read through. Rows that need that user run as root.
TEST(DiVovProgram, AnotherUserCanNeitherRedirectNorForgeNorReadTheReports) {
  const bool root = ::geteuid() == 0;
  const std::string shared = PxMakeTempDir("shared");
  ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
  const std::string victim = PxMakeTempDir("home") + "/secret";
  std::ofstream(victim) << "victim";
  const auto plant = [root](const std::string& link, const std::string& target) {
    std::filesystem::create_symlink(target, link);
    return !root || ::lchown(link.c_str(), 54321, 54321) == 0;
  };
  // A failing run; a passing one (status 0), renamed as a later run of the
  // same program, is the forgery: taking it would change the status.
  ASSERT_EQ(PxRunChild({PxScenarioPath("px_class_scenario"), "class"},
                       {{"TMPDIR", shared}, {"PATH", shared}})
                .exitCode,
            0);
  const std::string log = PxLogIn(shared);
  const std::string title = std::filesystem::path(log).filename().string();
  const std::size_t stamp = title.find(".qpxlog") - 17;
  const std::string forged =
      shared + "/" + title.substr(0, stamp) + "2999" + title.substr(stamp + 4);
  std::filesystem::copy_file(PxRunScenarioLog("coverage-step"), forged);
  const mode_t mask = ::umask(0); // the reports must be owner-only all the same

  // The report of /x beside the log, where a link waits for it.
  ASSERT_TRUE(plant(log + ".html", victim));
  const std::vector<std::string> detached = {"/x", "/elsewhere/" + title};
  EXPECT_EQ(PxRunViewer(detached, shared).exitCode, 2);
  EXPECT_EQ(PxReadFile(victim), "victim");
  std::filesystem::remove(log + ".html");
  EXPECT_EQ(PxRunViewer(detached, shared).exitCode, 1);
  EXPECT_NE(PxReadFile(log + ".html").find("class=\"fail\""), std::string::npos);
  EXPECT_EQ(std::filesystem::status(log + ".html").permissions(),
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  ::umask(mask);
  // A report replaces one's own file, even one linked hard to another, and
  // never another user's file.
  std::filesystem::create_hard_link(victim, shared + "/hard.xml");
  std::ofstream(shared + "/theirs.xml") << "theirs";
  EXPECT_EQ(PxRunViewer({"--junit", shared + "/hard.xml", log}).exitCode, 1);
  EXPECT_EQ(PxReadFile(victim), "victim");
  EXPECT_NE(PxReadFile(shared + "/hard.xml").find("<testsuites"), std::string::npos);
  if (root && ::chown((shared + "/theirs.xml").c_str(), 54321, 54321) == 0) {
    EXPECT_EQ(PxRunViewer({"--junit", shared + "/theirs.xml", log}).stdErr,
              "DiVov.exe: cannot write " + shared + "/theirs.xml: it belongs to user 54321\n");
    EXPECT_EQ(PxReadFile(shared + "/theirs.xml"), "theirs");
  }

  // The newest log of the program is the user's own, not a planted one.
  if (root)
    ASSERT_EQ(::chown(forged.c_str(), 54321, 54321), 0);
  else
    std::filesystem::rename(forged, forged + ".gone");
  ASSERT_TRUE(plant(forged.substr(0, forged.size() - 9) + "01.qpxlog", forged));
  EXPECT_EQ(PxRunViewer({"--latest", "px_class_scenario"}, shared).exitCode, 1);

  // A log named on the command line, through one's own link or another
  // user's.
  std::filesystem::create_symlink(log, shared + "/mine.qpxlog");
  EXPECT_EQ(PxRunViewer({shared + "/mine.qpxlog"}).exitCode, 1);
  if (!root)
    GTEST_SKIP() << "links and files of a second user need root";
  ASSERT_TRUE(plant(shared + "/through.qpxlog", log));
  const SPxChildResult through = PxRunViewer({shared + "/through.qpxlog"});
  EXPECT_EQ(through.exitCode, 2);
  EXPECT_EQ(through.stdErr, "DiVov.exe: cannot open " + shared +
                                "/through.qpxlog: it is a symbolic link that user 54321 put in "
                                "the shared folder " +
                                shared + ", which is not followed\n");
  EXPECT_EQ(through.stdOut, "");
}
#endif

// A viewer run with --follow shows the first half while the program waits
// at its gate, and the viewer that the program starts through /x writes its
// report beside the log. Both end with the program, finished or killed,
// with or without an object folder to use.
TEST(DiVovFollow, ShowsTheLogAsItGrowsAndEndsWithItsWriter) {
  for (const bool killed : {false, true}) {
    SCOPED_TRACE(killed ? "writer killed" : "writer finishes");
    const std::string dir = PxMakeTempDir("halfway");
    const std::string objects = PxMakeTempDir("objects");
    // In a folder that others may enter no marker is made: the log's own
    // hold then tells that its writer lives.
    ASSERT_EQ(::chmod(objects.c_str(), killed ? 0700 : 0755), 0);
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
      EXPECT_EQ(writer.Wait().signal, kPxKillSignal);
    } else {
      std::ofstream{gate + "/open"};
      const SPxChildResult ended = writer.Wait();
      EXPECT_EQ(ended.stdOut, ""); // the /x viewer wrote nothing into the program's output
      EXPECT_EQ(ended.exitCode, 0);
    }
    const SPxChildResult ended = viewer.Wait();
    // A killed writer's log is incomplete, never a pass; its last record is
    // cut, and taken as it stands.
    EXPECT_EQ(ended.exitCode, killed ? 2 : 1);
    PxExpectApproved(std::string("tools/approved/follow-") + (killed ? "killed" : "finished") +
                         ".txt",
                     PxStable(shown + ended.stdOut));
    const std::string summary =
        killed ? "1 class, 0 cases, 0 passed, 0 failed" : "2 classes, 2 cases, 1 passed, 1 failed";
    // The report is the /x viewer's last act; it comes once the writer is gone.
    std::string html;
    EXPECT_TRUE(PxEventually([&] {
      html = PxReadFile(log + ".html");
      return html.size() > 8 && html.compare(html.size() - 8, 8, "</html>\n") == 0;
    }));
    EXPECT_NE(html.find("<p id=\"summary\" class=\"fail\">" + summary + "</p>"), std::string::npos)
        << html;
  }
}

} // namespace
