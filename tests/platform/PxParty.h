// A child process that runs beside the test: started with its standard
// output piped, read line by line, killed or awaited. The destructor kills
// and reaps a child that is still running.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

class CPxParty {
public:
  CPxParty() = default;
  ~CPxParty();
  CPxParty(const CPxParty&) = delete;
  CPxParty& operator=(const CPxParty&) = delete;

  // Starts argv[0] with argv and the current environment.
  bool Start(const std::vector<std::string>& argv);
  // The next line of standard output without its newline; empty at its end.
  std::string ReadLine();
  // Everything still to come on standard output.
  std::string ReadAll();
  void Kill();
  // The exit status, or minus the signal that ended the child.
  int Wait();

private:
  pid_t m_pid = -1;
  int m_out = -1;
};

// Polls the condition every millisecond until it holds; false after 30 s, so
// a fault fails the test instead of hanging it.
bool PxEventually(const std::function<bool()>& condition);
