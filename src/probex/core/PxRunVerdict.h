// Whether anything in this process has failed so far. Sticky: once a
// failure is noted, no later run or thread takes it back.
#pragma once

#include <atomic>

class CPxRunVerdict {
public:
  CPxRunVerdict() = default;
  CPxRunVerdict(const CPxRunVerdict&) = delete;
  CPxRunVerdict& operator=(const CPxRunVerdict&) = delete;

  void NoteFailure() { m_failed.store(true, std::memory_order_relaxed); }
  bool HasFailed() const { return m_failed.load(std::memory_order_relaxed); }
  // For tests that check the verdict of one run in a longer process.
  void Clear() { m_failed.store(false, std::memory_order_relaxed); }

private:
  std::atomic<bool> m_failed{false};
};

// The module's one verdict.
CPxRunVerdict& PxRunVerdict();
