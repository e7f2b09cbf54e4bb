#include "probex/support/KrnExclusiveGuard.h"

#include "probex/support/KrnException.h"

namespace KRN {

void CKrnExclusiveGuard::m_sThrowNullPointer() {
  throw CNullPointerException();
}

} // namespace KRN
