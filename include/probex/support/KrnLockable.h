// Anything that can be locked and unlocked: the section lock and every
// collection. The exclusive guard works over this interface.
#pragma once

#include "probex/base/PxApi.h"

namespace KRN {

// A time-out that never runs out.
inline constexpr unsigned long kKrnInfinite = 0xFFFFFFFFUL;

class PX_API CKrnLockable {
public:
  virtual ~CKrnLockable();
  // True when the lock is held on return.
  virtual bool Lock(unsigned long timeout) = 0;
  virtual void Unlock() = 0;
};

} // namespace KRN
