#include "probex/coverage/PxRecordChannel.h"

#include "probex/view/ProbexView.h"

#include <atomic>
#include <mutex>

namespace {

std::atomic<CProbexView*> g_pRecordView{nullptr};

// Never destroyed: the log writer's destructor still sends the final counts
// through the channel at unload, after function-local objects are gone.
std::recursive_mutex& g_csOutput() {
  static std::recursive_mutex* lock = new std::recursive_mutex;
  return *lock;
}

} // namespace

void SetRecordView(CProbexView* view) {
  g_pRecordView.store(view);
}

void OutputRecord(const char* text, EPxMsgType kind) {
  std::lock_guard<std::recursive_mutex> guard(g_csOutput());
  if (CProbexView* view = g_pRecordView.load())
    view->OutputMessage(text, kind);
  else
    CProbexView().OutputMessage(text, kind);
}

CPxRecordChannelGuard::CPxRecordChannelGuard() {
  g_csOutput().lock();
}

CPxRecordChannelGuard::~CPxRecordChannelGuard() {
  g_csOutput().unlock();
}
