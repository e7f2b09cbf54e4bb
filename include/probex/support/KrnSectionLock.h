// A re-entrant lock: the thread that holds it may take it again, and must
// release it as often as it took it. Lock waits without limit whatever the
// time-out, and always returns true.
#pragma once

#include "probex/base/PxApi.h"
#include "probex/support/KrnLockable.h"

#include <mutex>

namespace KRN {

class PX_API CKrnSectionLock : public CKrnLockable {
public:
  CKrnSectionLock();
  CKrnSectionLock(const CKrnSectionLock&) = delete;
  CKrnSectionLock& operator=(const CKrnSectionLock&) = delete;
  ~CKrnSectionLock() override;

  bool Lock(unsigned long timeout) override;
  void Unlock() override;

private:
  std::recursive_mutex m_section;
};

} // namespace KRN
