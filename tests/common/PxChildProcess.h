// Runs a program as a child process and gathers what it leaves: exit status
// and standard error. Tests use it for behaviour that belongs to a process.
#pragma once

#include <map>
#include <string>
#include <thread>
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

// A child the test talks to while it runs: a line to its standard input, the
// line it answers on standard output. A tracer can seize and release it in
// mid-run, as a debugger attaching and detaching would.
class CPxLiveChild {
public:
  CPxLiveChild(const std::vector<std::string>& argv,
               const std::map<std::string, std::string>& env = {});
  ~CPxLiveChild();
  CPxLiveChild(const CPxLiveChild&) = delete;
  CPxLiveChild& operator=(const CPxLiveChild&) = delete;

  // Sends one line and waits (10 s at most) for the answer; empty on timeout.
  std::string Ask(const std::string& line);
  // PTRACE_SEIZE, and back: interrupt, wait for the stop, detach.
  bool Seize();
  bool Release();
  // Closes its standard input and waits for its end.
  SPxChildResult Finish();

private:
  // Reaps a stop of a seized child and lets it go on with its signal.
  void ContinueStopped(int status);

  int m_pid = -1;
  int m_in = -1;
  int m_out = -1;
  bool m_seized = false;
  std::string m_pending;
  SPxChildResult m_result;
  std::thread m_errReader;
};

// A fresh directory under this test's TMPDIR.
std::string PxMakeTempDir(const std::string& stem);

// The whole content of a file; empty when it cannot be read.
std::string PxReadFile(const std::string& path);
