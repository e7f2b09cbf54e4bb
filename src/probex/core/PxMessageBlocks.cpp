#include "probex/core/PxMessageBlocks.h"

namespace {

// The messages the calling thread has sent, and how deep it holds the lock.
thread_local std::uint64_t sentByThisThread = 0;
thread_local unsigned heldDepth = 0;

} // namespace

void CPxMessageBlocks::lock() {
  if (heldDepth++ == 0)
    m_lock.lock();
}

void CPxMessageBlocks::unlock() {
  if (--heldDepth == 0)
    m_lock.unlock();
}

void CPxMessageBlocks::Count() {
  ++m_nAll;
  ++sentByThisThread;
}

CPxMessageBlocks::SMark CPxMessageBlocks::Mark() const {
  return SMark{m_nAll, sentByThisThread};
}

bool CPxMessageBlocks::OthersSince(const SMark& mark) const {
  return m_nAll - mark.all != sentByThisThread - mark.mine;
}
