// Runs a program as a child process and gathers what it leaves: exit status
// and standard error. Tests use it for behaviour that belongs to a process.
#pragma once

#include <map>
#include <string>
#include <vector>

struct SPxChildResult {
  int exitCode = -1;  // exit status, or -1 when killed by a signal
  int signal = 0;     // the killing signal, or 0
  std::string stdErr; // everything written to standard error
  std::string stdOut; // everything written to standard output
};

// The path of a scenario program built beside the tests.
std::string PxScenarioPath(const std::string& name);

// Starts argv[0] with argv, the current environment changed by env (an empty
// value removes a variable), waits for it and returns what it left.
SPxChildResult PxRunChild(const std::vector<std::string>& argv,
                          const std::map<std::string, std::string>& env = {});

// The same, with the child traced by this process from its first
// instruction, as a debugger would: the library sees a debugger attached.
SPxChildResult PxRunChildTraced(const std::vector<std::string>& argv,
                                const std::map<std::string, std::string>& env = {});

// This process's environment changed by env (an empty value removes a
// variable), as "name=value" entries for a child.
std::vector<std::string> PxEnvironment(const std::map<std::string, std::string>& env);

// Sets a variable of this process's environment; an empty value removes it.
void PxSetEnv(const std::string& name, const std::string& value);

// A fresh directory under this test's TMPDIR.
std::string PxMakeTempDir(const std::string& stem);

// The whole content of a file; empty when it cannot be read.
std::string PxReadFile(const std::string& path);
