// Whether anything in this process has failed so far, and whether any case
// ran. Sticky: once noted, no later run or thread takes it back.
#pragma once

#include <atomic>

class CPxRunVerdict {
public:
  CPxRunVerdict() = default;
  CPxRunVerdict(const CPxRunVerdict&) = delete;
  CPxRunVerdict& operator=(const CPxRunVerdict&) = delete;

  void NoteFailure() { m_failed.store(true, std::memory_order_relaxed); }
  bool HasFailed() const { return m_failed.load(std::memory_order_relaxed); }
  // A class came to its cases; one of its cases ran.
  void NoteClassRan() { m_classRan.store(true, std::memory_order_relaxed); }
  void NoteCaseRan() { m_caseRan.store(true, std::memory_order_relaxed); }
  bool ClassRan() const { return m_classRan.load(std::memory_order_relaxed); }
  bool CaseRan() const { return m_caseRan.load(std::memory_order_relaxed); }
  // True once only: the notice that no case ran is given once.
  bool TakeNoCaseNotice() { return !m_noCaseTold.exchange(true); }
  // For tests that check the verdict of one run in a longer process.
  void Clear() {
    for (std::atomic<bool>* flag : {&m_failed, &m_classRan, &m_caseRan, &m_noCaseTold})
      flag->store(false, std::memory_order_relaxed);
  }

private:
  std::atomic<bool> m_failed{false};
  std::atomic<bool> m_classRan{false};
  std::atomic<bool> m_caseRan{false};
  std::atomic<bool> m_noCaseTold{false};
};

// The module's one verdict.
CPxRunVerdict& PxRunVerdict();
