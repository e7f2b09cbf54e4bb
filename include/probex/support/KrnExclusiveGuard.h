// Holds a lockable object locked for the guard's scope, also while an
// exception leaves it. A null object throws CNullPointerException; a Lock
// that answers false is not matched by an Unlock.
#pragma once

#include "probex/base/PxApi.h"
#include "probex/support/KrnLockable.h"

namespace KRN {

class PX_API CKrnExclusiveGuard {
public:
  // Inline, so that callers' optimisers see that a null object never gets
  // past the guard.
  explicit CKrnExclusiveGuard(CKrnLockable* pLockable) : m_pLockable(pLockable), m_locked(false) {
    if (!m_pLockable) {
      m_sThrowNullPointer();
    }
    m_locked = m_pLockable->Lock(kKrnInfinite);
  }
  CKrnExclusiveGuard(const CKrnExclusiveGuard&) = delete;
  CKrnExclusiveGuard& operator=(const CKrnExclusiveGuard&) = delete;
  ~CKrnExclusiveGuard() {
    if (m_locked) {
      m_pLockable->Unlock();
    }
  }

private:
  [[noreturn]] static void m_sThrowNullPointer();

  CKrnLockable* m_pLockable;
  bool m_locked;
};

} // namespace KRN
