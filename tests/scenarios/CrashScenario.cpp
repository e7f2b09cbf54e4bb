// A test program that ends badly on request, so that tests can read what
// its log kept. The first argument picks the end: a signal's name, "throw",
// "_exit", "overflow" (the stack runs out), "worker-overflow" (a RunThread
// worker's does), "handled" (the program takes SIGTERM itself and goes on),
// "late" (the program installs a SIGSEGV handler of its own during the run,
// then crashes), "fork", "threads" (8 threads fail checks at once), "fsize"
// (the log's file may not grow past 4000 bytes; the program ignores
// SIGXFSZ) or "fsize-default" (the same, SIGXFSZ left as it is).
#include <probex/probex.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cfenv>
#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

std::string g_end;
volatile sig_atomic_t g_termTaken = 0;

volatile int g_neverReached = -1;

// Each frame holds a page that the compiler cannot drop: the stack soon runs out.
[[gnu::noinline]] int Recurse(int depth) {
  volatile char frame[4096];
  frame[0] = static_cast<char>(depth);
  return depth == g_neverReached ? 0 : Recurse(depth + 1) + frame[0];
}

void EndAsAsked() {
  volatile double zero = 0;
  // SIGSEGV: a page no access may touch; a null store is a sanitizer's to catch.
  if (g_end == "SIGSEGV" || g_end == "late")
    *static_cast<volatile int*>(
        ::mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0)) = 1;
  else if (g_end == "SIGFPE") { // a trapping float division: an integer one is UB to sanitizers
    ::feenableexcept(FE_DIVBYZERO);
    zero = 1.0 / zero;
  } else if (g_end == "SIGILL")
    __builtin_trap();
  else if (g_end == "SIGABRT")
    std::abort();
  else if (g_end == "SIGBUS" || g_end == "SIGINT")
    ::raise(g_end == "SIGBUS" ? SIGBUS : SIGINT);
  else if (g_end == "SIGTERM" || g_end == "handled")
    ::kill(::getpid(), SIGTERM);
  else if (g_end == "throw")
    throw std::runtime_error("thrown from a case");
  else if (g_end == "SIGXFSZ") { // the program's own file grows past the limit
    const int fd = ::open((std::string(std::getenv("TMPDIR")) + "/own").c_str(),
                          O_WRONLY | O_CREAT | O_TRUNC, 0600);
    static const char block[1000] = {};
    while (::write(fd, block, sizeof block) > 0) {
    }
  } else if (g_end == "overflow")
    Recurse(0);
  else if (g_end == "SIGKILL") // no handler runs: the buffer is lost with the process
    ::raise(SIGKILL);
  else if (g_end == "_exit")
    ::_exit(0);
}

// The program's own handler, installed after the library's: it ends the
// process its own way.
void EndOwnWay(int) {
  ::_exit(7);
}

class CCrash : public CProbex {
public:
  CCrash() { PX_CAPTION_CLASS("crash"); }
  PX_CASE(Passes) {
    PX_ASSERT(true);
    if (g_end == "late") {
      ::signal(SIGSEGV, EndOwnWay);
      // The next case starts at another tick of the coarse clock.
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  PX_CASE(Dies) {
    PX_CASE_CAPTION("dies");
    PX_ASSERT(1 > 2);
    EndAsAsked();
  }
  PX_DECLARATION_END();
};

class CFork : public CProbex {
public:
  CFork() { PX_CAPTION_CLASS("fork"); }
  PX_CASE(Forks) {
    PX_ASSERT(1 > 2);
    const pid_t child = ::fork();
    if (child == 0) {
      CProbexView().OutputMessage("child", PX_MSG_ETC);
      std::exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    PX_ASSERT(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  PX_DECLARATION_END();
};

// A worker whose stack runs out once the case's check has failed, before
// it has sent a record of its own.
class CWorkerOverflow : public CProbexThread {
public:
  CWorkerOverflow() { PX_CAPTION_CLASS("worker"); }
  void RunThread(int) override {
    while (!m_checked)
      std::this_thread::yield();
    Recurse(0);
  }
  PX_CASE(Waits) {
    PX_ASSERT(1 > 2);
    m_checked = true;
    for (;;)
      std::this_thread::sleep_for(std::chrono::seconds(1));
  }
  PX_DECLARATION_END();

private:
  std::atomic<bool> m_checked{false};
};

// Each thread fails its own check at a line of its own, as PX_ASSERT would.
class CThreads : public CProbex {
public:
  CThreads() { PX_CAPTION_CLASS("threads"); }
  PX_CASE(FailTogether) {
    std::vector<std::thread> threads;
    for (int n = 0; n < 8; ++n)
      threads.emplace_back([this, n] {
        const std::string expression = "thread " + std::to_string(n);
        for (int i = 0; i < 300; ++i) {
          x_SetTestExpectLine(__FILE__, 1000 + n);
          x_Assert(false, expression.c_str());
        }
      });
    for (std::thread& thread : threads)
      thread.join();
  }
  PX_DECLARATION_END();
};

void TakeTerm(int) {
  g_termTaken = 1;
}

// No file of the process may grow past 4000 bytes.
void LimitFileSize() {
  const rlimit limit{4000, 4000};
  ::setrlimit(RLIMIT_FSIZE, &limit);
}

} // namespace

int main(int argc, char** argv) {
  g_end = argc > 1 ? argv[1] : "";
  if (g_end == "fork") {
    CFork().Run();
  } else if (g_end == "worker-overflow") {
    CWorkerOverflow().Run();
  } else if (g_end == "threads") {
    CThreads().Run();
  } else if (g_end == "fsize" || g_end == "fsize-default") {
    LimitFileSize();
    if (g_end == "fsize") // else the limit ends the process, as it would without the library
      ::signal(SIGXFSZ, SIG_IGN);
    CThreads().Run();
  } else {
    if (g_end == "SIGXFSZ")
      LimitFileSize();
    // The program's own handler, in place before the library's: it is
    // called after the library has written what waits, and the run goes on.
    if (g_end == "handled")
      ::signal(SIGTERM, TakeTerm);
    CCrash().Run();
    if (g_end == "handled" && !g_termTaken)
      return 3;
  }
  return 0;
}
