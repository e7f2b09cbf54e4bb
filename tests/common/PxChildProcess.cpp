#include "common/PxChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>
#include <utility>

extern char** environ;

namespace {

// The current environment changed by env, as "KEY=value" strings.
std::vector<std::string> Environment(const std::map<std::string, std::string>& env) {
  std::map<std::string, std::string> merged;
  for (char** e = environ; *e; ++e) {
    const std::string entry(*e);
    const size_t eq = entry.find('=');
    if (eq != std::string::npos)
      merged[entry.substr(0, eq)] = entry.substr(eq + 1);
  }
  for (const auto& [key, value] : env) {
    if (value.empty())
      merged.erase(key);
    else
      merged[key] = value;
  }
  std::vector<std::string> strings;
  for (const auto& [key, value] : merged)
    strings.push_back(key + "=" + value);
  return strings;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings)
    pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

} // namespace

CPxChild::~CPxChild() {
  Kill();
  Wait();
}

bool CPxChild::Start(const std::vector<std::string>& argv,
                     const std::map<std::string, std::string>& env, bool traced) {
  std::map<std::string, std::string> changes = env;
  if (traced) // LeakSanitizer cannot run under a tracer; the rest of ASan can
    changes["ASAN_OPTIONS"] = "detect_leaks=0";
  std::vector<std::string> args = argv, envStrings = Environment(changes);
  const std::vector<char*> argp = Pointers(args), envp = Pointers(envStrings);
  int in[2], out[2], err[2];
  if (argv.empty() || ::pipe2(in, O_CLOEXEC) != 0)
    return false;
  if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) {
    for (int fd : {in[0], in[1], out[0], out[1]})
      ::close(fd);
    return false;
  }
  if (traced) {
    m_pid = ::fork();
    if (m_pid == 0) {
      ::dup2(in[0], STDIN_FILENO);
      ::dup2(out[1], STDOUT_FILENO);
      ::dup2(err[1], STDERR_FILENO);
      ::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
      ::execve(argp[0], argp.data(), envp.data());
      ::_exit(127);
    }
  } else { // spawning is far cheaper than a fork of a sanitized process
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    if (::posix_spawn(&m_pid, argp[0], &actions, nullptr, argp.data(), envp.data()) != 0)
      m_pid = -1;
    posix_spawn_file_actions_destroy(&actions);
  }
  ::close(in[0]);
  ::close(out[1]);
  ::close(err[1]);
  m_in = in[1];
  m_fds[0] = out[0];
  m_fds[1] = err[0];
  m_traced = traced;
  m_killed = false;
  m_text[0].clear();
  m_text[1].clear();
  return m_pid > 0;
}

bool CPxChild::Pump(int timeoutMs) {
  pollfd polled[2];
  nfds_t count = 0;
  for (int fd : m_fds)
    if (fd >= 0)
      polled[count++] = {fd, POLLIN, 0};
  if (count == 0 || ::poll(polled, count, timeoutMs) <= 0)
    return false;
  for (nfds_t i = 0; i < count; ++i) {
    if (polled[i].revents == 0)
      continue;
    const int stream = polled[i].fd == m_fds[0] ? 0 : 1;
    char buffer[4096];
    const ssize_t n = ::read(polled[i].fd, buffer, sizeof buffer);
    if (n > 0) {
      m_text[stream].append(buffer, static_cast<size_t>(n));
    } else if (n == 0 || errno != EINTR) {
      ::close(m_fds[stream]);
      m_fds[stream] = -1;
    }
  }
  return true;
}

std::string CPxChild::ReadLine() {
  size_t end;
  while ((end = m_text[0].find('\n')) == std::string::npos && m_fds[0] >= 0)
    Pump(-1);
  const std::string line = m_text[0].substr(0, end);
  m_text[0].erase(0, end == std::string::npos ? end : end + 1);
  return line;
}

bool CPxChild::WriteLine(const std::string& line) {
  const std::string sent = line + "\n";
  return m_in >= 0 && ::write(m_in, sent.data(), sent.size()) == static_cast<ssize_t>(sent.size());
}

bool CPxChild::Seize() {
  m_seized = m_pid > 0 && ::ptrace(PTRACE_SEIZE, m_pid, nullptr, nullptr) == 0;
  return m_seized;
}

bool CPxChild::Release() {
  if (!m_seized || ::ptrace(PTRACE_INTERRUPT, m_pid, nullptr, nullptr) != 0)
    return false;
  int status = 0;
  while (::waitpid(m_pid, &status, __WALL) < 0)
    if (errno != EINTR)
      return false;
  m_seized = false;
  if (!WIFSTOPPED(status))
    return false;
  // A stop for a signal hands the signal back on detaching.
  const bool eventStop = (status >> 16) == PTRACE_EVENT_STOP;
  return ::ptrace(PTRACE_DETACH, m_pid, nullptr, eventStop ? 0 : WSTOPSIG(status)) == 0;
}

void CPxChild::Kill() {
  if (m_pid > 0 && ::kill(m_pid, SIGKILL) == 0)
    m_killed = true;
}

SPxChildResult CPxChild::Wait() {
  if (m_seized)
    Release();
  if (m_in >= 0)
    ::close(std::exchange(m_in, -1));
  SPxChildResult result;
  int status = 0;
  bool reaped = false;
  while (m_pid > 0) {
    const pid_t ended = ::waitpid(m_pid, &status, WNOHANG);
    if (ended == m_pid && m_traced && WIFSTOPPED(status)) {
      // Let a traced child go on, with the signal that stopped it.
      const int sig = WSTOPSIG(status);
      ::ptrace(PTRACE_CONT, m_pid, nullptr, sig == SIGTRAP ? 0 : sig);
    } else if (ended == m_pid || (ended < 0 && errno != EINTR)) {
      reaped = ended == m_pid;
      m_pid = -1;
    } else if (!Pump(10) && ended == 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
  // A killed child's pipes may stay open in what it started: take only what is there.
  while (m_fds[0] >= 0 || m_fds[1] >= 0)
    if (!Pump(m_killed ? 0 : -1) && m_killed)
      break;
  for (int& fd : m_fds)
    if (fd >= 0)
      ::close(std::exchange(fd, -1));
  if (reaped && WIFEXITED(status))
    result.exitCode = WEXITSTATUS(status);
  else if (reaped && WIFSIGNALED(status))
    result.signal = WTERMSIG(status);
  result.stdOut = std::move(m_text[0]);
  result.stdErr = std::move(m_text[1]);
  return result;
}

SPxChildResult PxRunChild(const std::vector<std::string>& argv,
                          const std::map<std::string, std::string>& env, bool traced) {
  CPxChild child;
  child.Start(argv, env, traced);
  return child.Wait(); // exit code -1 when it never started
}

std::string PxScenarioPath(const std::string& name) {
  return std::string(PROBEX_SCENARIO_DIR) + "/" + name;
}

bool PxEventually(const std::function<bool()>& condition) {
  for (int i = 0; i < 30000; ++i) {
    if (condition())
      return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return condition();
}
