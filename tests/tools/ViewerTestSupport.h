// Helpers of the viewer's process tests: real runs of the scenario program,
// the viewer run on their logs, and approved files.
#pragma once

#include "common/PxChildProcess.h"
#include "common/PxTestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

// The log in the directory; "" while there is none.
inline std::string PxLogIn(const std::string& dir) {
  const std::vector<std::string> logs = PxFilesIn(dir, ".qpxlog");
  return logs.empty() ? "" : logs[0];
}

inline std::string PxDirectoryOf(const std::string& path) {
  return std::filesystem::path(path).parent_path().string();
}

// Runs the scenario alone in a fresh TMPDIR, no viewer on PATH; returns its
// log. The coverage modes run a class under the coverage scenario instead,
// with three lines of its own source passable: one passed at two points,
// one not at all.
inline std::string PxRunScenarioLog(const std::string& mode) {
  const std::string dir = PxMakeTempDir("run-" + mode);
  std::vector<std::string> argv{PxScenarioPath("px_class_scenario"), mode};
  if (mode == "coverage-step" || mode == "coverage-count") {
    argv = {PxScenarioPath("px_coverage_scenario"),
            "pass:5,10," PX_SCENARIO_SOURCE_DIR "/CoverageScenario.cpp,07",
            "in:f",
            "run",
            "out:f,5",
            "line:5,11,2"};
    if (mode == "coverage-step")
      argv.insert(argv.begin() + 1, "step");
  }
  const SPxChildResult run =
      PxRunChild(argv, {{"TMPDIR", dir}, {"PATH", PxMakeTempDir("no-viewer")}});
  EXPECT_EQ(run.exitCode, 0) << run.stdErr;
  const std::string log = PxLogIn(dir);
  EXPECT_NE(log, "") << "the " << mode << " run left no log";
  return log;
}

// Runs DiVov.exe with the arguments and, if given, that temporary directory
// and locale.
inline SPxChildResult PxRunViewer(std::vector<std::string> args, const std::string& tmpDir = "",
                                  const std::string& locale = "") {
  args.insert(args.begin(), PX_DIVOV_PATH);
  std::map<std::string, std::string> env;
  if (!tmpDir.empty())
    env["TMPDIR"] = tmpDir;
  if (!locale.empty())
    env["LC_ALL"] = locale;
  return PxRunChild(args, env);
}
