#include "concurrent/PxFinishes.h"

#include "platform/PxParty.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>

void PxExpectFinishes(const std::function<void()>& call, const char* what) {
  auto done = std::make_shared<std::atomic<bool>>(false);
  std::thread worker([call, done] {
    call();
    *done = true;
  });
  if (!PxEventually([&] { return done->load(); })) {
    // The call is stuck for good; nothing can be cleaned up behind it.
    std::fprintf(stderr, "did not return: %s\n", what);
    std::abort();
  }
  worker.join();
}
