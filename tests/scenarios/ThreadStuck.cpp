// A threaded test case whose worker never ends: the run must end the
// process with a notice and its log written rather than leave the worker to
// a destroyed object.
#include "probex/concurrent/ProbexThread.h"
#include "probex/core/ProbexMacros.h"

#include <chrono>
#include <cstdio>
#include <thread>

namespace {

class CStuckTest : public CProbexThread {
public:
  CStuckTest() { PX_CAPTION_CLASS("a worker that never ends"); }
  void RunThread(int) override {
    for (;;)
      std::this_thread::sleep_for(std::chrono::hours(1));
  }
  PX_CASE(Report) {
    std::printf("case ran\n");
    std::fflush(stdout);
  }
  PX_DECLARATION_END();
};

} // namespace

int main() {
  CStuckTest test;
  test.Run();
  std::printf("run returned\n");
  return 0;
}
