// A child process beside the test, its standard output piped. The destructor
// kills and reaps a child still running.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

class CPxParty {
public:
  CPxParty() = default;
  ~CPxParty() {
    Kill();
    Wait();
  }
  CPxParty(const CPxParty&) = delete;
  CPxParty& operator=(const CPxParty&) = delete;

  // Starts argv[0] with argv and the current environment.
  bool Start(const std::vector<std::string>& argv) {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
      return false;
    std::vector<char*> args;
    for (const std::string& arg : argv)
      args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    const int rc = ::posix_spawn(&m_pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    m_out = pipeFds[0]; // Wait closes it, after a failed start too
    if (rc != 0)
      m_pid = -1;
    return rc == 0;
  }
  // The next line of standard output without its newline; empty at its end.
  std::string ReadLine() {
    std::string line;
    for (char c = 0; Read(&c, 1) > 0 && c != '\n';)
      line.push_back(c);
    return line;
  }
  std::string ReadAll() { // everything still to come
    std::string all;
    char buffer[4096];
    for (ssize_t n; (n = Read(buffer, sizeof buffer)) > 0;)
      all.append(buffer, static_cast<size_t>(n));
    return all;
  }
  void Kill() {
    if (m_pid > 0)
      ::kill(m_pid, SIGKILL);
  }
  // The exit status, or minus the signal that ended the child.
  int Wait() {
    if (m_out >= 0)
      ::close(m_out);
    m_out = -1;
    if (m_pid <= 0)
      return -1;
    int status = 0;
    while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
    }
    m_pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
  }

private:
  // read() that retries an interrupted call; 0 at the end or without a pipe.
  ssize_t Read(char* buffer, size_t size) {
    ssize_t n = 0;
    do
      n = m_out < 0 ? 0 : ::read(m_out, buffer, size);
    while (n < 0 && errno == EINTR);
    return n;
  }

  pid_t m_pid = -1;
  int m_out = -1;
};

// Polls the condition every millisecond until it holds; false after 30 s, so
// a fault fails the test instead of hanging it.
inline bool PxEventually(const std::function<bool()>& condition) {
  for (int i = 0; i < 30000; ++i) {
    if (condition())
      return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return condition();
}
