// A child process that runs while the test goes on: started with its own
// environment, its standard output read as it comes, killed and reaped by
// the destructor if the test leaves it running.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

class CBackgroundChild {
public:
  // env as for PxRunChild: changes to this process's environment.
  CBackgroundChild(const std::vector<std::string>& argv,
                   const std::map<std::string, std::string>& env);
  ~CBackgroundChild();
  CBackgroundChild(const CBackgroundChild&) = delete;
  CBackgroundChild& operator=(const CBackgroundChild&) = delete;

  bool Started() const { return m_pid > 0; }
  // Reads standard output until it holds text (true) or ends (false).
  bool ReadUntil(const std::string& text);
  // Reads standard output to its end and waits for the exit; the exit
  // status, or 128 + the signal that ended the child.
  int Wait();
  void Kill(int signal);
  const std::string& Output() const { return m_output; }

private:
  void m_ReadToEnd();

  int m_pid = -1;
  int m_stdout = -1;
  std::string m_output;
};

// Polls until the condition holds; false when it did not within a minute
// (a hang, not a measurement).
bool PxAwait(const std::function<bool()>& condition);
