#include "ViewerTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

std::string PxRunScenarioLog(const std::string& mode) {
  const std::string dir = PxMakeTempDir("run-" + mode);
  const SPxChildResult run = PxRunChild({PxScenarioPath("px_class_scenario"), mode},
                                        {{"TMPDIR", dir}, {"PATH", PxMakeTempDir("no-viewer")}});
  EXPECT_EQ(run.exitCode, 0) << run.stdErr;
  const std::string log = PxLogIn(dir);
  EXPECT_NE(log, "") << "the " << mode << " run left no log";
  return log;
}

std::string PxLogIn(const std::string& dir) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(dir, error))
    if (entry.path().extension() == ".qpxlog")
      return entry.path().string();
  return "";
}

SPxChildResult PxRunViewer(const std::vector<std::string>& args, const std::string& tmpDir) {
  std::vector<std::string> argv{PX_DIVOV_PATH};
  argv.insert(argv.end(), args.begin(), args.end());
  return tmpDir.empty() ? PxRunChild(argv) : PxRunChild(argv, {{"TMPDIR", tmpDir}});
}

std::string PxStableTranscript(const std::string& text) {
  std::string stable = text;
  const std::string sources = PX_SCENARIO_SOURCE_DIR;
  for (std::size_t at; (at = stable.find(sources)) != std::string::npos;)
    stable.replace(at, sources.size(), "<scenarios>");
  return std::regex_replace(stable, std::regex("-->Time -?[0-9]+ms"), "-->Time Nms");
}

void PxExpectApproved(const std::string& name, const std::string& text) {
  const std::string path = std::string(PX_VIEWER_TEST_DIR) + "/approved/" + name;
  if (std::getenv("PX_APPROVE"))
    std::ofstream(path, std::ios::binary) << text;
  else
    EXPECT_EQ(text, PxReadFile(path)) << "differs from " << path << " (PX_APPROVE=1 takes it)";
}

std::string PxScenarioLine(const std::string& text) {
  std::ifstream source(std::string(PX_SCENARIO_SOURCE_DIR) + "/ClassScenario.cpp");
  int number = 1;
  for (std::string line; std::getline(source, line); ++number)
    if (line.find(text) != std::string::npos)
      return std::to_string(number);
  ADD_FAILURE() << "no line of the scenario holds " << text;
  return "";
}

std::string PxDirectoryOf(const std::string& path) {
  return std::filesystem::path(path).parent_path().string();
}
