#include "probex/support/KrnHandle.h"

#include <new>

namespace KRN {

CKrnHandleBlock g_krnEmptyBlock{{0}, nullptr};

CKrnHandleBlock* KrnNewBlock(void* pObject) noexcept {
  return new (std::nothrow) CKrnHandleBlock{{1}, pObject};
}

void* KrnLeaveBlock(CKrnHandleBlock* pBlock) noexcept {
  if (pBlock == &g_krnEmptyBlock || pBlock->m_count.fetch_sub(1, std::memory_order_acq_rel) != 1) {
    return nullptr;
  }
  void* pObject = pBlock->m_pObject;
  delete pBlock;
  return pObject;
}

} // namespace KRN
