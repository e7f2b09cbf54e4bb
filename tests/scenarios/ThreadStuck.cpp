// A threaded test case whose worker never ends: destroying the object must
// end the process with a notice rather than run the worker on freed memory.
#include "probex/concurrent/ProbexThread.h"
#include "probex/core/ProbexMacros.h"

#include <unistd.h>

#include <cstdio>

namespace {

class CSilent : public CProbexView {
public:
  void OutputMessage(const char*, EPxMsgType) override {}
};

class CStuckTest : public CProbexThread {
public:
  CStuckTest() { PX_CAPTION_CLASS("a worker that never ends"); }
  void RunThread(int) override {
    for (;;)
      ::pause();
  }
  PX_CASE(Nothing) {}
  PX_DECLARATION_END();
};

} // namespace

int main() {
  CSilent silent;
  {
    CStuckTest test;
    test.SetViewClass(&silent);
    test.Run();
    std::printf("run returned\n");
    std::fflush(stdout);
  }
  std::printf("destroyed\n");
  return 0;
}
