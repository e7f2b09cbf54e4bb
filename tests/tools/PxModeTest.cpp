// The mode controller: its command line, the word it holds while its program
// runs, the word it puts back, and the program's exit status it passes on.
#include "platform/PxObjectDirTest.h"

#include "common/PxChildProcess.h"
#include "common/PxViewerStandIn.h"

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

namespace {

const std::string kPxMode = PROBEX_PXMODE;

class PxMode : public CPxObjectDirTest {
protected:
  SPxChildResult Run(std::vector<std::string> args) {
    args.insert(args.begin(), kPxMode);
    return PxRunChild(args);
  }
  std::string Show() { return Run({"--show"}).stdOut; }
};

TEST_F(PxMode, HelpAndVersionGoToStandardOutput) {
  const SPxChildResult help = Run({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.stdOut.rfind("Usage: pxmode MODE [--] PROGRAM [ARGUMENT]...\n", 0), 0u);
  EXPECT_NE(help.stdOut.find("--count"), std::string::npos);
  EXPECT_TRUE(help.stdErr.empty());
  EXPECT_EQ(Run({"-h"}).stdOut, help.stdOut);

  const SPxChildResult version = Run({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.stdOut, "pxmode (Probex) 1.40\n");
}

TEST_F(PxMode, UsageErrorsGoToStandardErrorWithStatusTwo) {
  const std::vector<std::vector<std::string>> wrong{{},
                                                    {"--bogus"},
                                                    {"--count"},
                                                    {"--count", "--step", "true"},
                                                    {"--word"},
                                                    {"--word=abc", "true"},
                                                    {"-w", "99999999999", "true"},
                                                    {"--show", "true"},
                                                    {"--show", "--count"},
                                                    {"true"}};
  for (const std::vector<std::string>& args : wrong) {
    const SPxChildResult run = Run(args);
    std::string joined;
    for (const std::string& arg : args)
      joined += arg + " ";
    EXPECT_EQ(run.exitCode, 2) << joined;
    EXPECT_TRUE(run.stdOut.empty()) << joined;
    EXPECT_EQ(run.stdErr.rfind("pxmode: ", 0), 0u) << joined << run.stdErr;
    EXPECT_NE(run.stdErr.find("Try 'pxmode --help' for more information.\n"), std::string::npos)
        << joined;
  }
}

TEST_F(PxMode, TheWordHoldsWhileTheProgramRunsAndGoesWithTheTool) {
  EXPECT_EQ(Show(), "0 not set\n");
  EXPECT_EQ(Run({"--count", "--", kPxMode, "--show"}).stdOut, "1 count\n");
  EXPECT_EQ(Run({"-c", kPxMode, "--show"}).stdOut, "1 count\n");
  EXPECT_EQ(Run({"--step", "--", kPxMode, "--show"}).stdOut, "2 step log\n");
  EXPECT_EQ(Run({"-s", kPxMode, "--show"}).stdOut, "2 step log\n");
  EXPECT_EQ(Run({"--none", kPxMode, "--show"}).stdOut, "0 not set\n");
  EXPECT_EQ(Run({"--word=7", kPxMode, "--show"}).stdOut, "7 step log\n");
  EXPECT_EQ(Run({"-w", "0x10", kPxMode, "--show"}).stdOut, "16 step log\n");
  EXPECT_EQ(Run({"--word", "-1", kPxMode, "--show"}).stdOut, "-1 step log\n");
  EXPECT_EQ(Run({"--word=010", kPxMode, "--show"}).stdOut, "10 step log\n");
  EXPECT_EQ(Show(), "0 not set\n");
  EXPECT_EQ(ObjectFileCount(), 0);
}

TEST_F(PxMode, ANestedToolPutsBackTheWordItReplaced) {
  const std::string script =
      "'" + kPxMode + "' --step -- '" + kPxMode + "' --show; '" + kPxMode + "' --show";
  const SPxChildResult run = Run({"--count", "sh", "-c", script});
  EXPECT_EQ(run.exitCode, 0) << run.stdErr;
  EXPECT_EQ(run.stdOut, "2 step log\n1 count\n");
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

TEST_F(PxMode, AProgramUnderTheToolTakesItsMode) {
  const std::string tmp = PxMakeTempDir("logs");
  CPxViewerStandIn viewer;
  const SPxChildResult run =
      Run({"--step", "/usr/bin/env", "TMPDIR=" + tmp, "PATH=" + viewer.Path(),
           PxScenarioPath("px_coverage_scenario"), "in", "entered", "line", "4,2,1"});
  ASSERT_EQ(run.exitCode, 0) << run.stdErr;
  std::string log;
  for (const auto& entry : std::filesystem::directory_iterator(tmp))
    log += PxReadFile(entry.path().string());
  EXPECT_NE(log.find("\rPxFn|entered\rPxLn|?4,2(1\r"), std::string::npos) << log;
}

TEST_F(PxMode, AModeBlockThatCannotBeMadeIsReportedAndNothingRuns) {
  ::setenv("PROBEX_OBJECT_DIR", "/proc/self/no-such-dir", 1);
  const SPxChildResult run = Run({"--count", "sh", "-c", "echo ran"});
  EXPECT_EQ(run.exitCode, 125);
  EXPECT_TRUE(run.stdOut.empty());
  EXPECT_EQ(run.stdErr, "pxmode: cannot make or map the mode block\n");
  EXPECT_EQ(Run({"--show"}).exitCode, 125);
}

} // namespace
