#include "common/PxChildProcess.h"

#include <fcntl.h>
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
