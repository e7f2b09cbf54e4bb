#include "probex/concurrent/ProbexThread.h"

#include "probex/concurrent/PxWorkerGate.h"
#include "probex/core/PxHeldCaption.h"
#include "probex/platform/platform.h"

#include <memory>
#include <string>
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

// The case's share of its workers' gate; each worker holds a share of its own.
class CProbexThreadData {
public:
  std::shared_ptr<CPxWorkerGate> m_pWorkers = std::make_shared<CPxWorkerGate>();
};

CProbexThread::CProbexThread() : m_pThreadData(nullptr) {
  // Position 8 stands for RunThread, so the cases start at 9.
  x_AddFrameworkSlot();
  // From the reset of the counters on, nothing a worker counts is lost.
  x_SetRunStartHook(
      [](CProbex* self) { static_cast<CProbexThread*>(self)->m_pThreadData->m_pWorkers->Open(); });
  // The workers' records belong to the last case: it ends once they have
  // (the pause after the cases, then the grace), so that their failures
  // are inside it and in the class's results. A stuck worker ends the
  // process there, and the log's end names the class and that case.
  x_SetLastCaseEndHook([](CProbex* self) {
    auto* run = static_cast<CProbexThread*>(self);
    if (!run->m_pThreadData->m_pWorkers->WaitUntilIdle(kPauseAfterCasesMs))
      run->m_WaitForWorkers();
  });
  // Last, so that nothing can throw past it unfreed.
  m_pThreadData = new CProbexThreadData;
}

CProbexThread::~CProbexThread() {
  m_WaitForWorkers();
  delete m_pThreadData;
}

int CProbexThread::GetVirtualMethodCount() {
  return kThreadSlots;
}

void CProbexThread::RunMain() {
  m_BeginRun();
  const std::shared_ptr<CPxWorkerGate>& workers = m_pThreadData->m_pWorkers;
  workers->Close();
  for (int index = 1; index <= GetOppositeCount() && index <= kMaxWorkers; ++index) {
    auto* record = new SPxThreadStart{this, index, workers};
    workers->Enter();
    try {
      std::thread(m_sRunThread, record).detach();
    } catch (const std::system_error&) {
      // That index simply gets no worker.
      workers->Leave();
      delete record;
    }
  }
  // On every way out, also an exception from a case: let the workers go,
  // wait for them, and close what they kept open after the loop closed.
  struct SEndRun {
    CProbexThread* self;
    ~SEndRun() {
      self->m_pThreadData->m_pWorkers->Open();
      self->m_WaitForWorkers();
      self->m_CloseHandles();
    }
  } endRun{this};
  m_RunBaseLoop();
  NPxPlatform::Sleep(kPauseAfterCasesMs);
}

void CProbexThread::m_WaitForWorkers() {
  if (m_pThreadData->m_pWorkers->WaitUntilIdle(CPxWorkerGate::GraceMs()))
    return;
  constexpr char kStuck[] = "a RunThread worker is still running after its test run";
  NPxPlatform::ShowNotice(
      "Probex", (std::string("CProbexThread: ") + kStuck + "; ending the process.").c_str());
  NPxPlatform::EndProcessAbnormally(kStuck);
}

unsigned long CProbexThread::m_sRunThread(void* record) {
  std::unique_ptr<SPxThreadStart> start(static_cast<SPxThreadStart*>(record));
  NPxPlatform::PrepareThreadForFatalEnd();
  start->workers->WaitUntilOpen();
  start->owner->RunThread(start->index);
  // While the owner is sure to live: a caption nothing followed.
  CPxHeldCaption::Release(*start->owner);
  start->workers->Leave();
  return 0;
}
