#include "probex/view/PxRecordChannel.h"

#include "probex/view/ProbexView.h"

void CPxRecordChannel::SetView(CProbexView* view) {
  m_pView.store(view);
}

void CPxRecordChannel::Output(const char* text, EPxMsgType kind) {
  std::lock_guard<std::recursive_mutex> guard(m_lock);
  if (CProbexView* view = m_pView.load())
    view->OutputMessage(text, kind);
  else
    CProbexView().OutputMessage(text, kind);
}
