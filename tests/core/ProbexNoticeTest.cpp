// What a test program says on standard error, and the status it ends with,
// when cases that its classes declare do not run.
#include "common/PxChildProcess.h"
#include "common/PxTestFiles.h"

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

namespace {

// The library's own notices among the lines of standard error (the notice
// that no viewer is found comes under another caption).
std::string ProbexNotices(const std::string& stdErr) {
  std::istringstream lines(stdErr);
  std::string notices;
  for (std::string line; std::getline(lines, line);)
    if (line.rfind("Probex: ", 0) == 0)
      notices += line + "\n";
  return notices;
}

const char kDeclareNone[] =
    "Probex: no case ran in this process: its test classes declare none. Set "
    "PROBEX_ALLOW_NO_CASES=1 where that is meant.\n";

// Each run: the scenario's mode, its settings, the exit status and the
// notices. Every notice is given once, however often its cause recurs.
TEST(RunNotices, CasesThatNeverRunAreToldOnceAndFailTheProcess) {
  using Settings = std::map<std::string, std::string>;
  const std::tuple<const char*, Settings, int, std::string> runs[] = {
      {"verdict", {}, 0, ""},
      {"verdict",
       {{"PROBEX_FILTER", "Nope.*"}},
       1,
       "Probex: no case ran in this process: PROBEX_FILTER 'Nope.*' matches none of its cases. "
       "Set PROBEX_ALLOW_NO_CASES=1 where that is meant.\n"},
      {"verdict",
       {{"PROBEX_FILTER", "-*"}},
       1,
       "Probex: no case ran in this process: PROBEX_FILTER '-*' matches none of its cases. Set "
       "PROBEX_ALLOW_NO_CASES=1 where that is meant.\n"},
      {"verdict", {{"PROBEX_FILTER", "Nope.*"}, {"PROBEX_ALLOW_NO_CASES", "1"}}, 0, ""},
      {"verdict",
       {{"PROBEX_FILTER", "Nope.*"}, {"PROBEX_ALLOW_NO_CASES", "yes"}},
       1,
       "Probex: no case ran in this process: PROBEX_FILTER 'Nope.*' matches none of its cases. "
       "Set PROBEX_ALLOW_NO_CASES=1 where that is meant.\n"},
      // An unreadable filter has its own notice, which says that nothing runs.
      {"verdict",
       {{"PROBEX_FILTER", "Nope"}},
       1,
       "Probex: PROBEX_FILTER cannot be read: 'Nope' is not Class.Case (for all cases of a "
       "class: Nope.*). No case runs.\n"},
      {"empty", {}, 1, kDeclareNone},
      {"empty", {{"PROBEX_ALLOW_NO_CASES", "1"}}, 0, ""},
      // Said at the end of the process when main does not ask for the status.
      {"empty-unasked", {}, 0, kDeclareNone},
      {"extended",
       {},
       1,
       "Probex: CExtended declares cases after the end marker of a class it derives from, and "
       "they never run: Extra, More. Derive the test class from a fixture base class without "
       "PX_DECLARATION_END(), and end the test class with it.\n"}};
  for (const auto& [mode, settings, status, notices] : runs) {
    Settings env = settings;
    env["TMPDIR"] = PxMakeTempDir(std::string("notice-") + mode);
    env["PATH"] = env["TMPDIR"];
    const SPxChildResult run = PxRunChild({PxScenarioPath("px_class_scenario"), mode}, env);
    const std::string filter = settings.count("PROBEX_FILTER") ? settings.at("PROBEX_FILTER") : "";
    EXPECT_EQ(run.exitCode, status) << mode << " " << filter << run.stdErr;
    EXPECT_EQ(ProbexNotices(run.stdErr), notices) << mode << " " << filter;
  }
}

} // namespace
