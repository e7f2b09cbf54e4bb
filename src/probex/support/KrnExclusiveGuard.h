// Holds a lockable object locked for the guard's scope, also while an
// exception leaves it. A null object throws CNullPointerException; a Lock
// that answers false is not matched by an Unlock.
#pragma once

#include "probex/PxApi.h"
#include "probex/support/KrnLockable.h"

namespace KRN {

class PX_API CKrnExclusiveGuard {
public:
  explicit CKrnExclusiveGuard(CKrnLockable* pLockable);
  CKrnExclusiveGuard(const CKrnExclusiveGuard&) = delete;
  CKrnExclusiveGuard& operator=(const CKrnExclusiveGuard&) = delete;
  ~CKrnExclusiveGuard();

private:
  CKrnLockable* m_pLockable;
  bool m_locked;
};

} // namespace KRN
