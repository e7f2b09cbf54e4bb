// A child process beside the test, its standard output piped. The destructor
// kills and reaps a child still running. On Windows a kill is TerminateProcess.
#pragma once

#include "common/PxChildProcess.h"

#include <map>

#if defined(_WIN32)
#include "probex/platform/win32/Win32.h"

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

// What Wait answers for a party that Kill ended.
constexpr int kPxKilledStatus = 137;

class CPxParty {
public:
  CPxParty() = default;
  ~CPxParty() {
    Kill();
    Wait();
  }
  CPxParty(const CPxParty&) = delete;
  CPxParty& operator=(const CPxParty&) = delete;

  // Starts argv[0] with argv and the environment changed by env.
  bool Start(const std::vector<std::string>& argv,
             const std::map<std::string, std::string>& env = {}) {
    std::string block;
    for (const std::string& entry : PxEnvironment(env))
      block += entry + '\0';
    block += '\0';
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE write = nullptr;
    if (!::CreatePipe(&m_out, &write, &inherit, 0))
      return false;
    ::SetHandleInformation(m_out, HANDLE_FLAG_INHERIT, 0);
    std::string line;
    for (const std::string& arg : argv)
      line += (line.empty() ? "\"" : " \"") + arg + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = write;
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    const bool started = ::CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, &block[0],
                                          nullptr, &startup, &process) != FALSE;
    ::CloseHandle(write);
    if (!started)
      return false;
    ::CloseHandle(process.hThread);
    m_process = process.hProcess;
    return true;
  }
  // The next line of standard output without its line end; empty at its end.
  std::string ReadLine() {
    std::string line;
    for (char c = 0; Read(&c, 1) > 0 && c != '\n';) {
      if (c != '\r')
        line.push_back(c);
    }
    return line;
  }
  std::string ReadAll() { // everything still to come, lines ending in LF
    std::string all;
    char buffer[4096];
    for (DWORD n; (n = Read(buffer, sizeof buffer)) > 0;) {
      for (DWORD i = 0; i < n; ++i) {
        if (buffer[i] != '\r')
          all += buffer[i];
      }
    }
    return all;
  }
  void Kill() {
    if (m_process)
      ::TerminateProcess(m_process, kPxKilledStatus);
  }
  int Wait() {
    if (m_out)
      ::CloseHandle(m_out);
    m_out = nullptr;
    if (!m_process)
      return -1;
    DWORD code = 0;
    ::WaitForSingleObject(m_process, INFINITE);
    ::GetExitCodeProcess(m_process, &code);
    ::CloseHandle(m_process);
    m_process = nullptr;
    return static_cast<int>(code);
  }

private:
  DWORD Read(char* buffer, DWORD size) {
    DWORD n = 0;
    return m_out && ::ReadFile(m_out, buffer, size, &n, nullptr) ? n : 0;
  }

  HANDLE m_process = nullptr;
  HANDLE m_out = nullptr;
};
#else
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

// What Wait answers for a party that Kill ended.
constexpr int kPxKilledStatus = -SIGKILL;

class CPxParty {
public:
  CPxParty() = default;
  ~CPxParty() {
    Kill();
    Wait();
  }
  CPxParty(const CPxParty&) = delete;
  CPxParty& operator=(const CPxParty&) = delete;

  // Starts argv[0] with argv and the environment changed by env.
  bool Start(const std::vector<std::string>& argv,
             const std::map<std::string, std::string>& env = {}) {
    std::vector<std::string> entries = PxEnvironment(env);
    std::vector<char*> envp;
    for (std::string& entry : entries)
      envp.push_back(entry.data());
    envp.push_back(nullptr);
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
    const int rc = ::posix_spawn(&m_pid, args[0], &actions, nullptr, args.data(), envp.data());
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

#endif

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
