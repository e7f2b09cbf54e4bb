// pxmode: its usage, the word it holds for its program and puts back, the status it passes on.
#include "common/PxChildProcess.h"
#include "common/PxTestFiles.h"
#include "common/PxViewerStandIn.h"

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

#include <filesystem>
#include <iterator>
#include <regex>
#include <sstream>

namespace {

const std::string kPxMode = PROBEX_PXMODE;

// pxmode run with a shell's command line: sh on POSIX, cmd on Windows.
#if defined(_WIN32)
const std::string kShell = "cmd", kLine = "/c", kThen = " & ",
                  kCalled = std::filesystem::path(kPxMode).make_preferred().string();
#else
const std::string kShell = "sh", kLine = "-c", kThen = "; ", kCalled = "'" + kPxMode + "'";
#endif

class PxMode : public CPxObjectDirTest {
protected:
  // "status|standard output|standard error" of pxmode run with these arguments.
  std::string Run(std::vector<std::string> args,
                  const std::map<std::string, std::string>& env = {}) {
    args.insert(args.begin(), kPxMode);
    const SPxChildResult run = PxRunChild(args, env);
    return std::to_string(run.exitCode) + "|" + run.stdOut + "|" + run.stdErr;
  }
};

TEST_F(PxMode, HelpGoesToStandardOutputAndUsageErrorsToStandardErrorWithStatusTwo) {
  EXPECT_EQ(Run({"-h"}).rfind("0|Usage: pxmode MODE [--] PROGRAM [ARGUMENT]...\n", 0), 0u);
  const std::regex usage("2\\|\\|pxmode: .+\nTry 'pxmode --help' for more information\\.\n");
  for (const char* line :
       {"", "--bogus", "--count", "--count --step true", "--word", "--word=abc true",
        "-w 99999999999 true", "--show true", "--show --count", "true"}) {
    std::istringstream words(line);
    const std::string run = Run({std::istream_iterator<std::string>(words), {}});
    EXPECT_TRUE(std::regex_match(run, usage)) << line << ": " << run;
  }
}

TEST_F(PxMode, TheWordHoldsWhileTheProgramRunsAndTheOneItReplacedComesBack) {
  const std::pair<std::vector<std::string>, std::string> kCases[] = {
      {{"--count", "--"}, "1 count\n"},    {{"-s"}, "2 step log\n"},
      {{"--word=7"}, "7 step log\n"},      {{"-w", "0x10"}, "16 step log\n"},
      {{"--word", "-1"}, "-1 step log\n"}, {{"--word=010"}, "10 step log\n"}};
  for (auto [args, shown] : kCases) {
    args.insert(args.end(), {kPxMode, "--show"});
    EXPECT_EQ(Run(args), "0|" + shown + "|") << args[0];
  }
  const std::string script =
      kCalled + " --none -- " + kCalled + " --show" + kThen + kCalled + " --show";
  EXPECT_EQ(Run({"--count", kShell, kLine, script}), "0|0 not set\n1 count\n|");
  EXPECT_EQ(Run({"--show"}), "0|0 not set\n|");
  EXPECT_EQ(ObjectFileCount(), 0);
  const std::string tmp = PxMakeTempDir("logs");
  CPxViewerStandIn viewer;
  Run({"--step", PxScenarioPath("px_coverage_scenario"), "line:4,2,1"},
      {{"TMPDIR", tmp}, {"PATH", viewer.Path()}});
  const std::string log = PxOnlyLog(tmp);
  // A step record, with a time when the clock ticked after the first passage.
  EXPECT_NE(log.find("\rPxLn|?4,2(1"), std::string::npos) << log;
}

TEST_F(PxMode, TheProgramsExitStatusIsPassedOnAndWithoutABlockNothingRuns) {
  EXPECT_EQ(Run({"--step", "--", "--not-an-option"}),
            "127||pxmode: --not-an-option: cannot be found\n");
  // This source file is not executable.
  EXPECT_EQ(Run({"--step", __FILE__}),
            std::string("126||pxmode: ") + __FILE__ + ": cannot be run\n");
  EXPECT_EQ(Run({"--count", kShell, kLine, "exit 7"}), "7||");
#if !defined(_WIN32) // signals and /proc are POSIX's
  EXPECT_EQ(Run({"--count", "sh", "-c", "kill -TERM $$"}), "143||");
  PxSetEnv("PROBEX_OBJECT_DIR", "/proc/self/no-such-dir");
  // The folder's own notice says why, then the tool gives up.
  const std::string refused = Run({"--count", "sh", "-c", "echo ran"});
  EXPECT_TRUE(std::regex_match(refused, std::regex("125\\|\\|Probex: the object folder "
                                                   "/proc/self/no-such-dir cannot be made .*\n"
                                                   "pxmode: cannot make or map the mode block\n")))
      << refused;
#endif
}

#if !defined(_WIN32)
// A default folder open to all, as another user could have planted it:
// pxmode and the program it runs keep the mode block in the home's folder,
// so the program still sees the word, and each says where it went.
TEST_F(PxMode, APlantedDefaultFolderSendsTheBlockHome) {
  const SPxPlantedFolder planted = PxPlantDefaultFolder([](const std::string& folder) {
    ::mkdir(folder.c_str(), 0700);
    ::chmod(folder.c_str(), 0777);
  });
  const std::string notice = "Probex: the object folder " + planted.folder +
                             " has mode 0777 instead of 0700, so the objects of this user are "
                             "kept in " +
                             planted.fallback + " instead.\n";
  EXPECT_EQ(Run({"--count", kPxMode, "--show"}, planted.env), "0|1 count\n|" + notice + notice);
}
#endif

} // namespace
