#include "probex/core/PxHeldCaption.h"

#include "probex/core/Probex.h"

namespace {

// The calling thread's caption. A thread that ends holding one sends it
// through the object it captioned, which outlives the thread as every
// object a thread checks on must.
struct SThreadCaption {
  CProbex* owner = nullptr;
  std::string text;
  ~SThreadCaption() {
    if (CPxHeldCaption::IsHeld() && owner)
      CPxHeldCaption::Release(*owner);
  }
};
thread_local SThreadCaption threadCaption;

} // namespace

void CPxHeldCaption::Hold(CProbex& owner, const char* caption) {
  Release(owner);
  threadCaption.owner = &owner;
  threadCaption.text = caption ? caption : "";
  m_sbHeld = true;
}

const std::string& CPxHeldCaption::Last() {
  return threadCaption.text;
}

void CPxHeldCaption::m_sRelease(CProbex& via) {
  // Cleared first: the caption's own message must not release it again.
  m_sbHeld = false;
  via.OutputMessage(threadCaption.text.c_str(), PX_MSG_TEST_CAPTION);
}
