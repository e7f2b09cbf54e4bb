// The recorder's process-wide state in one place: its locks and what they
// guard. The module keeps the one object past every destructor, since
// instrumented code may still run while the process ends.
#pragma once

#include "probex/coverage/PxCoverage.h"

#include <atomic>
#include <cstdint>
#include <mutex>

struct SPxCoverageState {
  // Held through the sending too, so step-log records leave in the order of
  // their passages; re-entrant for sinks whose own code is instrumented.
  std::recursive_mutex lineLock;
  std::mutex cookieLock;
  // Guarded by cookieLock.
  std::int32_t cookieCounter = 0;
  // The repeat filter's last passage, which call sites read and move
  // without a lock; the fields below stand for it when it did not pack.
  SPxPassageGate gate;
  // Guarded by lineLock: the unpacked last passage, the time base and the
  // last time.
  std::int32_t prevCookie = -1;
  std::int32_t prevLine = -1;
  std::int32_t prevPoint = -1;
  bool timeBaseSet = false;
  std::uint32_t timeBase = 0;
  std::uint32_t lastTime = 0;
  // The mode: racing first reads store the same answer; known goes up only
  // once the answer is in place.
  std::atomic<bool> modeKnown{false};
  std::atomic<bool> countMode{false};
};

SPxCoverageState& PxCoverageState();
