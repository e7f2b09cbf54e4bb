#include "common/PxChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace {

// Arguments and environment as the exec calls want them.
struct SPxLaunch {
  std::vector<std::string> argStrings;
  std::vector<std::string> envStrings;
  std::vector<char*> argv;
  std::vector<char*> envp;
};

void Prepare(SPxLaunch& launch, const std::vector<std::string>& argv,
             const std::map<std::string, std::string>& env) {
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
  for (const auto& [key, value] : merged)
    launch.envStrings.push_back(key + "=" + value);
  launch.argStrings = argv;
  for (std::string& s : launch.envStrings)
    launch.envp.push_back(s.data());
  launch.envp.push_back(nullptr);
  for (std::string& s : launch.argStrings)
    launch.argv.push_back(s.data());
  launch.argv.push_back(nullptr);
}

std::string Drain(int fd) {
  std::string out;
  char buf[4096];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n > 0)
      out.append(buf, static_cast<size_t>(n));
    else if (n == 0 || errno != EINTR)
      break;
  }
  ::close(fd);
  return out;
}

// Reads both pipes to their end while waiting for the child; a traced child
// is let go on at every stop, with the signal that stopped it.
SPxChildResult Collect(pid_t pid, int outFd, int errFd, bool traced) {
  SPxChildResult result;
  std::thread outReader([&] { result.stdOut = Drain(outFd); });
  std::thread errReader([&] { result.stdErr = Drain(errFd); });
  int status = 0;
  for (;;) {
    if (::waitpid(pid, &status, 0) < 0) {
      if (errno == EINTR)
        continue;
      break;
    }
    if (traced && WIFSTOPPED(status)) {
      const int sig = WSTOPSIG(status);
      ::ptrace(PTRACE_CONT, pid, nullptr, sig == SIGTRAP ? 0 : sig);
      continue;
    }
    break;
  }
  outReader.join();
  errReader.join();
  if (WIFEXITED(status))
    result.exitCode = WEXITSTATUS(status);
  else if (WIFSIGNALED(status))
    result.signal = WTERMSIG(status);
  return result;
}

} // namespace

std::string PxScenarioPath(const std::string& name) {
  return std::string(PROBEX_SCENARIO_DIR) + "/" + name;
}

SPxChildResult PxRunChild(const std::vector<std::string>& argv,
                          const std::map<std::string, std::string>& env) {
  SPxLaunch launch;
  Prepare(launch, argv, env);
  int outPipe[2], errPipe[2];
  if (::pipe2(outPipe, O_CLOEXEC) != 0 || ::pipe2(errPipe, O_CLOEXEC) != 0)
    return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
  pid_t pid = -1;
  const int rc = ::posix_spawn(&pid, launch.argv[0], &actions, nullptr, launch.argv.data(),
                               launch.envp.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(outPipe[1]);
  ::close(errPipe[1]);
  if (rc != 0) {
    ::close(outPipe[0]);
    ::close(errPipe[0]);
    SPxChildResult failed;
    failed.stdErr = "spawn failed";
    return failed;
  }
  return Collect(pid, outPipe[0], errPipe[0], false);
}

SPxChildResult PxRunChildTraced(const std::vector<std::string>& argv,
                                const std::map<std::string, std::string>& env) {
  // LeakSanitizer cannot run under a tracer; the rest of ASan can.
  std::map<std::string, std::string> tracedEnv = env;
  tracedEnv["ASAN_OPTIONS"] = "detect_leaks=0";
  SPxLaunch launch;
  Prepare(launch, argv, tracedEnv);
  int outPipe[2], errPipe[2];
  if (::pipe2(outPipe, O_CLOEXEC) != 0 || ::pipe2(errPipe, O_CLOEXEC) != 0)
    return {};
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(outPipe[1], STDOUT_FILENO);
    ::dup2(errPipe[1], STDERR_FILENO);
    ::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
    ::execve(launch.argv[0], launch.argv.data(), launch.envp.data());
    ::_exit(127);
  }
  ::close(outPipe[1]);
  ::close(errPipe[1]);
  if (pid < 0) {
    ::close(outPipe[0]);
    ::close(errPipe[0]);
    return {};
  }
  return Collect(pid, outPipe[0], errPipe[0], true);
}

CPxLiveChild::CPxLiveChild(const std::vector<std::string>& argv,
                           const std::map<std::string, std::string>& env) {
  SPxLaunch launch;
  Prepare(launch, argv, env);
  int inPipe[2], outPipe[2], errPipe[2];
  if (::pipe2(inPipe, O_CLOEXEC) != 0 || ::pipe2(outPipe, O_CLOEXEC) != 0 ||
      ::pipe2(errPipe, O_CLOEXEC) != 0)
    return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, inPipe[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
  pid_t pid = -1;
  const int rc = ::posix_spawn(&pid, launch.argv[0], &actions, nullptr, launch.argv.data(),
                               launch.envp.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(inPipe[0]);
  ::close(outPipe[1]);
  ::close(errPipe[1]);
  m_in = inPipe[1];
  m_out = outPipe[0];
  m_errReader = std::thread([this, fd = errPipe[0]] { m_result.stdErr = Drain(fd); });
  if (rc == 0)
    m_pid = pid;
}

CPxLiveChild::~CPxLiveChild() {
  if (m_pid > 0) {
    ::kill(m_pid, SIGKILL);
    Finish();
  }
  if (m_errReader.joinable())
    m_errReader.join();
}

std::string CPxLiveChild::Ask(const std::string& line) {
  const std::string sent = line + "\n";
  if (m_pid <= 0 || ::write(m_in, sent.data(), sent.size()) != static_cast<ssize_t>(sent.size()))
    return {};
  for (int slice = 0; slice < 200; ++slice) {
    const size_t eol = m_pending.find('\n');
    if (eol != std::string::npos) {
      const std::string answer = m_pending.substr(0, eol);
      m_pending.erase(0, eol + 1);
      return answer;
    }
    pollfd ready{m_out, POLLIN, 0};
    if (::poll(&ready, 1, 50) > 0) {
      char buf[256];
      const ssize_t n = ::read(m_out, buf, sizeof buf);
      if (n <= 0)
        return {};
      m_pending.append(buf, static_cast<size_t>(n));
    } else if (int status = 0; m_seized && ::waitpid(m_pid, &status, WNOHANG | __WALL) > 0) {
      ContinueStopped(status);
    }
  }
  return {};
}

void CPxLiveChild::ContinueStopped(int status) {
  if (!WIFSTOPPED(status))
    return;
  const bool eventStop = (status >> 16) == PTRACE_EVENT_STOP;
  ::ptrace(PTRACE_CONT, m_pid, nullptr, eventStop ? 0 : WSTOPSIG(status));
}

bool CPxLiveChild::Seize() {
  m_seized = m_pid > 0 && ::ptrace(PTRACE_SEIZE, m_pid, nullptr, nullptr) == 0;
  return m_seized;
}

bool CPxLiveChild::Release() {
  if (!m_seized || ::ptrace(PTRACE_INTERRUPT, m_pid, nullptr, nullptr) != 0)
    return false;
  int status = 0;
  while (::waitpid(m_pid, &status, __WALL) < 0) {
    if (errno != EINTR)
      return false;
  }
  if (!WIFSTOPPED(status))
    return false;
  // A stop for a signal hands the signal back on detaching.
  const bool eventStop = (status >> 16) == PTRACE_EVENT_STOP;
  m_seized = false;
  return ::ptrace(PTRACE_DETACH, m_pid, nullptr, eventStop ? 0 : WSTOPSIG(status)) == 0;
}

SPxChildResult CPxLiveChild::Finish() {
  if (m_seized)
    Release();
  if (m_in >= 0)
    ::close(m_in);
  m_in = -1;
  if (m_out >= 0)
    m_result.stdOut = m_pending + Drain(m_out);
  m_out = -1;
  int status = 0;
  while (m_pid > 0) {
    if (::waitpid(m_pid, &status, __WALL) < 0) {
      if (errno == EINTR)
        continue;
      break;
    }
    if (m_seized && WIFSTOPPED(status)) {
      ContinueStopped(status);
      continue;
    }
    if (WIFEXITED(status))
      m_result.exitCode = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
      m_result.signal = WTERMSIG(status);
    break;
  }
  m_pid = -1;
  if (m_errReader.joinable())
    m_errReader.join();
  return m_result;
}

std::string PxMakeTempDir(const std::string& stem) {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/" + stem + "-XXXXXX";
  return ::mkdtemp(pattern.data()) ? pattern : std::string();
}

std::string PxReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}
