#include "probex/concurrent/ProbexThread.h"

#include "probex/concurrent/PxWorkerGate.h"
#include "probex/platform/platform.h"

#include <cstdlib>
#include <system_error>
#include <thread>

namespace {

constexpr int kThreadSlots = 9;
constexpr unsigned kPauseAfterCasesMs = 1000;

// What a worker needs, and frees itself.
struct SPxThreadStart {
  CProbexThread* owner;
  int index;
  std::shared_ptr<CPxWorkerGate> workers;
};

} // namespace

CProbexThread::CProbexThread() : m_pWorkers(std::make_shared<CPxWorkerGate>()) {
  // Position 8 stands for RunThread, so the cases start at 9.
  x_AddFrameworkSlot();
}

CProbexThread::~CProbexThread() {
  if (!m_pWorkers->WaitUntilIdle(kWorkerGraceMs)) {
    NPxPlatform::ShowNotice("Probex", "CProbexThread: a RunThread worker is still running while "
                                      "its test object is destroyed; ending the process.");
    std::abort();
  }
}

int CProbexThread::GetVirtualMethodCount() {
  return kThreadSlots;
}

void CProbexThread::RunMain() {
  m_BeginRun();
  for (int index = 1; index <= GetOppositeCount() && index <= kMaxWorkers; ++index) {
    auto* record = new SPxThreadStart{this, index, m_pWorkers};
    m_pWorkers->Enter();
    try {
      std::thread(m_sRunThread, record).detach();
    } catch (const std::system_error&) {
      // That index simply gets no worker.
      m_pWorkers->Leave();
      delete record;
    }
  }
  m_RunBaseLoop();
  NPxPlatform::Sleep(kPauseAfterCasesMs);
}

unsigned long CProbexThread::m_sRunThread(void* record) {
  std::unique_ptr<SPxThreadStart> start(static_cast<SPxThreadStart*>(record));
  start->owner->RunThread(start->index);
  start->workers->Leave();
  return 0;
}
