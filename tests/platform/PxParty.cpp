#include "platform/PxParty.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

extern char** environ;

CPxParty::~CPxParty() {
  Kill();
  Wait();
}

bool CPxParty::Start(const std::vector<std::string>& argv) {
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0)
    return false;
  std::vector<std::string> copy = argv;
  std::vector<char*> args;
  for (std::string& arg : copy)
    args.push_back(arg.data());
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  const int rc = ::posix_spawn(&m_pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeFds[1]);
  if (rc != 0) {
    ::close(pipeFds[0]);
    m_pid = -1;
    return false;
  }
  m_out = pipeFds[0];
  return true;
}

std::string CPxParty::ReadLine() {
  std::string line;
  char c = 0;
  for (;;) {
    const ssize_t n = m_out < 0 ? 0 : ::read(m_out, &c, 1);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0 || c == '\n')
      return line;
    line.push_back(c);
  }
}

std::string CPxParty::ReadAll() {
  std::string all;
  char buf[4096];
  for (;;) {
    const ssize_t n = m_out < 0 ? 0 : ::read(m_out, buf, sizeof buf);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      return all;
    all.append(buf, static_cast<size_t>(n));
  }
}

void CPxParty::Kill() {
  if (m_pid > 0)
    ::kill(m_pid, SIGKILL);
}

int CPxParty::Wait() {
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

bool PxEventually(const std::function<bool()>& condition) {
  for (int i = 0; i < 30000; ++i) {
    if (condition())
      return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return condition();
}
