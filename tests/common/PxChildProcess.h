// A program run as a child process: its standard output read line by line
// while it runs, and what it left once it ended. Tests use it for behaviour
// that belongs to a process.
#pragma once

#if !defined(_WIN32)
#include <sys/types.h>

#include <csignal>
#endif

#include <functional>
#include <future>
#include <map>
#include <memory>
#include <string>
#include <vector>

// What Wait reports as the signal of a child that Kill ended; on Windows,
// where a kill is TerminateProcess, the same number stands for it.
#if defined(_WIN32)
constexpr int kPxKillSignal = 9;
#else
constexpr int kPxKillSignal = SIGKILL;
#endif

struct SPxChildResult {
  int exitCode = -1;  // exit status, or -1 when killed by a signal
  int signal = 0;     // the killing signal, or 0
  std::string stdErr; // everything written to standard error
  std::string stdOut; // standard output not yet read by ReadLine
};

class CPxChild {
public:
  CPxChild();
  ~CPxChild(); // kills and reaps a child still running
  CPxChild(const CPxChild&) = delete;
  CPxChild& operator=(const CPxChild&) = delete;

  // Starts argv[0] with argv and the current environment changed by env (an
  // empty value removes a variable). A traced child runs under this process
  // from its first instruction, as under a debugger.
  bool Start(const std::vector<std::string>& argv,
             const std::map<std::string, std::string>& env = {}, bool traced = false);
  // The next line of standard output without its newline; empty at its end.
  std::string ReadLine();
  // One line to its standard input, which closes when the test waits.
  bool WriteLine(const std::string& line);
  // Attaches in mid-run as a debugger would; Release stops it for a moment
  // and detaches again.
  bool Seize();
  bool Release();
  void Kill();
  // Waits for the end and for its pipes to close, unless it was killed.
  SPxChildResult Wait();

private:
#if defined(_WIN32)
  struct SWin32;
  std::unique_ptr<SWin32> m_win;
#else
  bool Pump(int timeoutMs); // reads what the pipes hold; false when nothing came

  pid_t m_pid = -1;
  bool m_traced = false, m_killed = false, m_seized = false;
  int m_in = -1;           // its standard input
  int m_fds[2] = {-1, -1}; // standard output, standard error
  std::string m_text[2];
#endif
};

// Starts the program as Start does, waits for it and returns what it left.
SPxChildResult PxRunChild(const std::vector<std::string>& argv,
                          const std::map<std::string, std::string>& env = {}, bool traced = false);

// The path of a scenario program built beside the tests.
std::string PxScenarioPath(const std::string& name);

// Polls the condition every millisecond until it holds; false after 30 s, so
// a fault fails the test instead of hanging it.
bool PxEventually(const std::function<bool()>& condition);

// Waits for the work to finish; after 20 s, far longer than any of it takes,
// ends the test process with what was awaited on standard error, so a fault
// fails the test in seconds instead of hanging it.
void PxExpectFinishes(std::future<void>& done, const char* what);
// Runs the call on a thread of its own and waits for it so.
void PxExpectReturns(const std::function<void()>& call, const char* what);

// This process's environment changed by env (an empty value removes a
// variable), as "name=value" entries for a child.
std::vector<std::string> PxEnvironment(const std::map<std::string, std::string>& env);

// Sets a variable of this process's environment; an empty value removes it.
void PxSetEnv(const std::string& name, const std::string& value);
