#include "BackgroundChild.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

extern char** environ;

CBackgroundChild::CBackgroundChild(const std::vector<std::string>& argv,
                                   const std::map<std::string, std::string>& env) {
  std::map<std::string, std::string> merged;
  for (char** e = environ; *e; ++e) {
    const std::string entry(*e);
    const std::size_t eq = entry.find('=');
    if (eq != std::string::npos)
      merged[entry.substr(0, eq)] = entry.substr(eq + 1);
  }
  for (const auto& [key, value] : env)
    merged[key] = value;
  std::vector<std::string> envStrings;
  for (const auto& [key, value] : merged)
    envStrings.push_back(key + "=" + value);
  std::vector<char*> envp, args;
  for (std::string& s : envStrings)
    envp.push_back(s.data());
  envp.push_back(nullptr);
  std::vector<std::string> argCopy = argv;
  for (std::string& s : argCopy)
    args.push_back(s.data());
  args.push_back(nullptr);

  int out[2];
  if (::pipe2(out, O_CLOEXEC) != 0)
    return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  pid_t pid = -1;
  const int rc = ::posix_spawn(&pid, args[0], &actions, nullptr, args.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  if (rc != 0) {
    ::close(out[0]);
    return;
  }
  m_pid = pid;
  m_stdout = out[0];
}

CBackgroundChild::~CBackgroundChild() {
  if (m_pid > 0) {
    Kill(SIGKILL);
    Wait();
  }
  if (m_stdout >= 0)
    ::close(m_stdout);
}

bool CBackgroundChild::ReadUntil(const std::string& text) {
  char buffer[4096];
  while (m_output.find(text) == std::string::npos) {
    const ssize_t n = m_stdout < 0 ? 0 : ::read(m_stdout, buffer, sizeof buffer);
    if (n > 0)
      m_output.append(buffer, static_cast<std::size_t>(n));
    else if (n == 0 || errno != EINTR)
      return false;
  }
  return true;
}

void CBackgroundChild::m_ReadToEnd() {
  char buffer[4096];
  for (;;) {
    const ssize_t n = m_stdout < 0 ? 0 : ::read(m_stdout, buffer, sizeof buffer);
    if (n > 0)
      m_output.append(buffer, static_cast<std::size_t>(n));
    else if (n == 0 || errno != EINTR)
      return;
  }
}

int CBackgroundChild::Wait() {
  m_ReadToEnd();
  if (m_pid <= 0)
    return -1;
  int status = 0;
  while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
  }
  m_pid = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

void CBackgroundChild::Kill(int signal) {
  if (m_pid > 0)
    ::kill(m_pid, signal);
}

bool PxAwait(const std::function<bool()>& condition) {
  for (int i = 0; i < 6000; ++i) {
    if (condition())
      return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}
