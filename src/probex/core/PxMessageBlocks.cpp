#include "probex/core/PxMessageBlocks.h"

namespace {

// The messages the calling thread has sent.
thread_local std::uint64_t sentByThisThread = 0;

} // namespace

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
