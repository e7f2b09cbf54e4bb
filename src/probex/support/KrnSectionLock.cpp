#include "probex/support/KrnSectionLock.h"

namespace KRN {

CKrnLockable::~CKrnLockable() = default;

CKrnSectionLock::CKrnSectionLock() = default;

CKrnSectionLock::~CKrnSectionLock() = default;

bool CKrnSectionLock::Lock(unsigned long) {
  m_section.lock();
  return true;
}

void CKrnSectionLock::Unlock() {
  m_section.unlock();
}

} // namespace KRN
