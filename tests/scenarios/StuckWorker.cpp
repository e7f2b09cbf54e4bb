// A threaded case whose worker fails a check and then never ends:
// px_stuck_worker <grace in ms>. The run must end the process with a notice
// and its log written rather than leave the worker to a destroyed object,
// with the worker's failure inside the case. Built from the library's
// objects, so that the grace after the run can be shortened.
#include "probex/concurrent/PxWorkerGate.h"

#include <probex/probex.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <thread>

namespace {

class CStuck : public CProbexThread {
public:
  CStuck() { PX_CAPTION_CLASS("a worker that never ends"); }
  void RunThread(int) override {
    PX_ASSERT(1 == 2);
    for (;;)
      std::this_thread::sleep_for(std::chrono::seconds(1));
  }
  PX_CASE(Report) {
    PX_CASE_CAPTION("waits for its worker");
    std::cout << "case ran" << std::endl;
  }
  PX_DECLARATION_END();
};

} // namespace

int main(int argc, char** argv) {
  if (argc != 2)
    return 2;
  CPxWorkerGate::SetGraceMs(static_cast<unsigned>(std::atol(argv[1])));
  CStuck().Run();
  std::cout << "run returned" << std::endl;
  return 0;
}
