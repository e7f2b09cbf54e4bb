// Helpers of the viewer's process tests: real runs of the scenario program,
// the viewer run on their logs, and approved files.
#pragma once

#include "common/PxChildProcess.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>

// The log in the directory; "" while there is none.
inline std::string PxLogIn(const std::string& dir) {
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    if (entry.path().extension() == ".qpxlog")
      return entry.path().string();
  return "";
}

inline std::string PxDirectoryOf(const std::string& path) {
  return std::filesystem::path(path).parent_path().string();
}

// Runs the scenario alone in a fresh TMPDIR, no viewer on PATH; returns its log.
inline std::string PxRunScenarioLog(const std::string& mode) {
  const std::string dir = PxMakeTempDir("run-" + mode);
  const SPxChildResult run = PxRunChild({PxScenarioPath("px_class_scenario"), mode},
                                        {{"TMPDIR", dir}, {"PATH", PxMakeTempDir("no-viewer")}});
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

// The text with the scenario sources' folder and the cases' times made fixed.
inline std::string PxStableTranscript(const std::string& text) {
  std::string stable = text;
  const std::string sources = PX_SCENARIO_SOURCE_DIR;
  for (std::size_t at; (at = stable.find(sources)) != std::string::npos;)
    stable.replace(at, sources.size(), "<scenarios>");
  return std::regex_replace(stable, std::regex("-->Time -?[0-9]+ms"), "-->Time Nms");
}

// Compares the text with the approved file; PX_APPROVE=1 rewrites the file.
inline void PxExpectApproved(const std::string& name, const std::string& text) {
  const std::string path = std::string(PX_VIEWER_TEST_DIR) + "/approved/" + name;
  if (std::getenv("PX_APPROVE"))
    std::ofstream(path, std::ios::binary) << text;
  else
    EXPECT_EQ(text, PxReadFile(path)) << "differs from " << path << " (PX_APPROVE=1 takes it)";
}

// The number of the first line of the scenario's source that holds the text.
inline std::string PxScenarioLine(const std::string& text) {
  std::ifstream source(std::string(PX_SCENARIO_SOURCE_DIR) + "/ClassScenario.cpp");
  int number = 1;
  for (std::string line; std::getline(source, line); ++number)
    if (line.find(text) != std::string::npos)
      return std::to_string(number);
  ADD_FAILURE() << "no line of the scenario holds " << text;
  return "";
}
