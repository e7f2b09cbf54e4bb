#include "probex/support/KrnExclusiveGuard.h"

#include "probex/support/KrnException.h"

namespace KRN {

CKrnExclusiveGuard::CKrnExclusiveGuard(CKrnLockable* pLockable)
    : m_pLockable(pLockable), m_locked(false) {
  if (!m_pLockable) {
    throw CNullPointerException();
  }
  m_locked = m_pLockable->Lock(kKrnInfinite);
}

CKrnExclusiveGuard::~CKrnExclusiveGuard() {
  if (m_locked) {
    m_pLockable->Unlock();
  }
}

} // namespace KRN
