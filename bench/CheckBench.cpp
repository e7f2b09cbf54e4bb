// What a check and a case cost, beside GoogleTest, Catch2 and doctest doing
// the same work in the same run: a passing check, a failing check written to
// a file, and the overhead of one empty case (a run of kPxBenchCases cases
// less a run of one). Probex writes its log, the peers their console
// output, each into a file of the benchmark's own folder. Every program,
// this one included, runs as a child process and times itself by the same
// code.
#include "PxBenchDir.h"
#include "PxBenchTimer.h"

#include <probex/probex.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern char** environ;

namespace {

double g_passingNs = 0;
double g_failingNs = 0;

class CChecks : public CProbex {
public:
  CChecks() { PX_CAPTION_CLASS("checks"); }
  PX_CASE(Passing) {
    g_passingNs = PxMedianNs(kPxBenchChecks, [this](long n) {
      for (long i = 0; i < n; ++i)
        PX_ASSERT_EQUAL(PxOpaque(i), i);
    });
  }
  PX_CASE(Failing) {
    g_failingNs = PxMedianNs(kPxBenchChecks, [this](long n) {
      for (long i = 0; i < n; ++i)
        PX_ASSERT_EQUAL(PxOpaque(i), i + 1);
    });
  }
  PX_DECLARATION_END();
};

#define PX_PROBEX_CASE_NAMED(name)                                                                 \
  PX_CASE(name) {}
#define PX_PROBEX_CASE_(n) PX_PROBEX_CASE_NAMED(PX_BENCH_CAT(Case, n))
#define PX_PROBEX_CASE() PX_PROBEX_CASE_(__COUNTER__)

class CMany : public CProbex {
public:
  CMany() { PX_CAPTION_CLASS("many"); }
  PX_BENCH_1000(PX_PROBEX_CASE)
  PX_DECLARATION_END();
};

class COne : public CProbex {
public:
  COne() { PX_CAPTION_CLASS("one"); }
  PX_CASE(Case) {}
  PX_DECLARATION_END();
};

// The log this process has written so far, in the temporary folder.
std::string LogSoFar() {
  for (const auto& entry : std::filesystem::directory_iterator(std::getenv("TMPDIR"))) {
    if (entry.path().extension() == ".qpxlog") {
      std::ifstream in(entry.path(), std::ios::binary);
      return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
  }
  return {};
}

// What the file alone costs a passing check: its share of the log's bytes,
// written as the log is written, 8000 bytes at a time into a file that is
// each time opened, checked, appended to and closed. Set beside the whole
// check, it shows what the machine's system calls take.
double FileShareNs() {
  const std::string log = LogSoFar();
  const size_t first = log.find("TtEL|");
  const size_t last = log.rfind("TtOk|\r", log.find("TtNg|"));
  if (first == std::string::npos || last == std::string::npos || last < first)
    return 0;
  size_t checks = 0;
  for (size_t at = first; (at = log.find("TtOk|\r", at)) <= last; ++at)
    ++checks;
  const double bytesPerCheck = static_cast<double>(last + 6 - first) / static_cast<double>(checks);
  const std::string path = std::string(std::getenv("TMPDIR")) + "/floor";
  const std::string block(8000, 'x');
  const double flushNs = PxMedianNs(200, [&path, &block](long n) {
    for (long i = 0; i < n; ++i) {
      const int fd =
          ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW | O_CLOEXEC, 0600);
      struct stat info {};
      if (fd < 0 || ::fstat(fd, &info) != 0 || ::write(fd, block.data(), block.size()) < 0)
        std::abort();
      ::close(fd);
    }
  });
  ::unlink(path.c_str());
  return flushNs * bytesPerCheck / 8000;
}

// Runs a program with its standard output into outPath; the figures it
// wrote to standard error.
std::string FiguresOf(const std::string& program, const std::string& outPath) {
  char* args[] = {const_cast<char*>(program.c_str()), const_cast<char*>("figures"), nullptr};
  int errPipe[2];
  if (::pipe(errPipe) != 0)
    return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
  posix_spawn_file_actions_addclose(&actions, errPipe[0]);
  pid_t pid = -1;
  const int rc = ::posix_spawn(&pid, args[0], &actions, nullptr, args, environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(errPipe[1]);
  std::string err;
  char buf[4096];
  for (ssize_t n; rc == 0 && (n = ::read(errPipe[0], buf, sizeof buf)) > 0;)
    err.append(buf, static_cast<size_t>(n));
  ::close(errPipe[0]);
  if (rc == 0)
    ::waitpid(pid, nullptr, 0);
  return err;
}

double Figure(const std::string& err, const std::string& key) {
  const std::string tag = "figure " + key + " ";
  const size_t at = err.find(tag);
  return at == std::string::npos ? 0 : std::atof(err.c_str() + at + tag.size());
}

struct SPeer {
  const char* key;
  const char* name;
  std::string program;
};

int Drive(const std::string& self) {
  const CPxBenchDir dir;
  if (!dir.IsReady())
    return 2;
  const std::string folder = std::getenv("TMPDIR");
  const std::vector<SPeer> peers = {
      {"probex", "Probex", self},
      {"gtest", "GoogleTest", PX_BENCH_GTEST_PEER},
      {"catch2", "Catch2 v2", PX_BENCH_CATCH2_PEER},
      {"doctest", "doctest", PX_BENCH_DOCTEST_PEER},
  };
  std::printf("%-12s %14s %14s %14s\n", "ns", "passing check", "failing check", "per case");
  for (const SPeer& peer : peers) {
    const std::string err = FiguresOf(peer.program, folder + "/" + peer.key + ".out");
    const char* keys[] = {"passing_check", "failing_check", "case_overhead"};
    double figures[3];
    for (int i = 0; i < 3; ++i)
      figures[i] = Figure(err, keys[i]);
    std::printf("%-12s %14.1f %14.1f %14.1f\n", peer.name, figures[0], figures[1], figures[2]);
    for (int i = 0; i < 3; ++i)
      std::printf("figure %s.%s %.2f\n", peer.key, keys[i], figures[i]);
    if (peer.program == self)
      std::printf("figure probex.passing_check_file %.2f\n", Figure(err, "passing_check_file"));
  }
  return 0;
}

} // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "figures") == 0) {
    CChecks().Run();
    std::fprintf(stderr, "figure passing_check_file %.2f\n", FileShareNs());
    PxPrintFigures(
        g_passingNs, g_failingNs, [] { CMany().Run(); }, [] { COne().Run(); });
    return 0;
  }
  return Drive(std::filesystem::read_symlink("/proc/self/exe").string());
}
