#include "probex/core/PxMessageBlocks.h"

namespace {

// The messages the calling thread has sent, and how deep it holds the lock.
thread_local std::uint64_t sentByThisThread = 0;
thread_local unsigned heldDepth = 0;
// What runs when the calling thread's outermost group ends.
thread_local void (*groupEndAction)(void*) = nullptr;
thread_local void* groupEndContext = nullptr;

} // namespace

void CPxMessageBlocks::lock() {
  if (heldDepth++ == 0)
    m_lock.lock();
}

void CPxMessageBlocks::unlock() {
  if (heldDepth == 1 && groupEndAction)
    return m_EndGroupWithAction();
  if (--heldDepth == 0)
    m_lock.unlock();
}

void CPxMessageBlocks::m_EndGroupWithAction() {
  // Taken first: the action's own messages end groups too.
  void (*action)(void*) = groupEndAction;
  groupEndAction = nullptr;
  action(groupEndContext);
  unlock();
}

void CPxMessageBlocks::Count(bool own) {
  ++m_nAll;
  sentByThisThread += own;
}

void CPxMessageBlocks::AtGroupEnd(void (*action)(void*), void* context) {
  groupEndAction = action;
  groupEndContext = context;
}

CPxMessageBlocks::SMark CPxMessageBlocks::Mark() const {
  return SMark{m_nAll, sentByThisThread};
}

bool CPxMessageBlocks::OthersSince(const SMark& mark) const {
  return m_nAll - mark.all != sentByThisThread - mark.mine;
}
