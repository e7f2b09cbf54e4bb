#include "common/PxChildProcess.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#if defined(_WIN32)
#include "common/win32/PxChildProcess.inc"
#else
#include "common/posix/PxChildProcess.inc"
#endif

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

void PxExpectFinishes(std::future<void>& done, const char* what) {
  if (done.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
    std::fprintf(stderr, "did not return: %s\n", what);
    std::abort();
  }
}

void PxExpectReturns(const std::function<void()>& call, const char* what) {
  std::future<void> done = std::async(std::launch::async, call);
  PxExpectFinishes(done, what);
}
