// The mode controller: its command line, the word it holds while its program
// runs, the word it puts back, and the program's exit status it passes on.
#include "platform/PxObjectDirTest.h"

#include "common/PxChildProcess.h"
#include "common/PxViewerStandIn.h"

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

namespace {

const std::string kPxMode = PROBEX_PXMODE;

class PxMode : public CPxObjectDirTest {
protected:
  SPxChildResult Run(std::vector<std::string> args) {
    args.insert(args.begin(), kPxMode);
    return PxRunChild(args);
  }
};

TEST_F(PxMode, HelpGoesToStandardOutputAndUsageErrorsToStandardErrorWithStatusTwo) {
  const SPxChildResult help = Run({"-h"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.stdOut.rfind("Usage: pxmode MODE [--] PROGRAM [ARGUMENT]...\n", 0), 0u);
  const std::regex usage("pxmode: .+\nTry 'pxmode --help' for more information\\.\n");
  for (const char* line :
       {"", "--bogus", "--count", "--count --step true", "--word", "--word=abc true",
        "-w 99999999999 true", "--show true", "--show --count", "true"}) {
    std::istringstream words(line);
    const SPxChildResult run = Run({std::istream_iterator<std::string>(words), {}});
    EXPECT_EQ(run.exitCode, 2) << line;
    EXPECT_TRUE(run.stdOut.empty() && std::regex_match(run.stdErr, usage)) << line << run.stdErr;
  }
}

TEST_F(PxMode, TheWordHoldsWhileTheProgramRunsAndTheOneItReplacedComesBack) {
  const std::pair<std::vector<std::string>, std::string> kCases[] = {
      {{"--count", "--"}, "1 count\n"},    {{"-s"}, "2 step log\n"},
      {{"--word=7"}, "7 step log\n"},      {{"-w", "0x10"}, "16 step log\n"},
      {{"--word", "-1"}, "-1 step log\n"}, {{"--word=010"}, "10 step log\n"}};
  for (auto [args, shown] : kCases) {
    args.insert(args.end(), {kPxMode, "--show"});
    EXPECT_EQ(Run(args).stdOut, shown) << args[0];
  }
  const std::string script =
      "'" + kPxMode + "' --none -- '" + kPxMode + "' --show; '" + kPxMode + "' --show";
  EXPECT_EQ(Run({"--count", "sh", "-c", script}).stdOut, "0 not set\n1 count\n");
  EXPECT_EQ(Run({"--show"}).stdOut, "0 not set\n");
  EXPECT_EQ(ObjectFileCount(), 0);
}

TEST_F(PxMode, TheProgramsExitStatusIsPassedOn) {
  EXPECT_EQ(Run({"--count", "sh", "-c", "exit 7"}).exitCode, 7);
  EXPECT_EQ(Run({"--count", "sh", "-c", "kill -TERM $$"}).exitCode, 128 + 15);
  EXPECT_EQ(Run({"--count", "--", "--not-an-option"}).exitCode, 127);
  const SPxChildResult missing = Run({"--step", "no-such-program-here"});
  EXPECT_EQ(missing.exitCode, 127);
  EXPECT_EQ(missing.stdErr, "pxmode: no-such-program-here: cannot be found\n");
  const std::string plain = PxMakeTempDir("plain") + "/not-executable";
  std::ofstream(plain) << "data\n";
  ::chmod(plain.c_str(), 0644);
  const SPxChildResult refused = Run({"--step", plain});
  EXPECT_EQ(refused.exitCode, 126);
  EXPECT_EQ(refused.stdErr, "pxmode: " + plain + ": cannot be run\n");
}

TEST_F(PxMode, AProgramUnderTheToolTakesItsModeAndWithoutABlockNothingRuns) {
  const std::string tmp = PxMakeTempDir("logs");
  CPxViewerStandIn viewer;
  ASSERT_EQ(Run({"--step", "/usr/bin/env", "TMPDIR=" + tmp, "PATH=" + viewer.Path(),
                 PxScenarioPath("px_coverage_scenario"), "in", "entered", "line", "4,2,1"})
                .exitCode,
            0);
  std::string log;
  for (const auto& entry : std::filesystem::directory_iterator(tmp))
    log += PxReadFile(entry.path().string());
  EXPECT_NE(log.find("\rPxFn|entered\rPxLn|?4,2(1\r"), std::string::npos) << log;

  ::setenv("PROBEX_OBJECT_DIR", "/proc/self/no-such-dir", 1);
  const SPxChildResult run = Run({"--count", "sh", "-c", "echo ran"});
  EXPECT_EQ(run.exitCode, 125);
  EXPECT_EQ(run.stdOut + run.stdErr, "pxmode: cannot make or map the mode block\n");
}

} // namespace
