#include "probex/concurrent/PxWorkerGate.h"

#include "probex/concurrent/ProbexThread.h"

#include <chrono>

std::atomic<unsigned> CPxWorkerGate::m_sGraceMs{CProbexThread::kWorkerGraceMs};

void CPxWorkerGate::Enter() {
  std::lock_guard<std::mutex> guard(m_lock);
  ++m_nRunning;
}

void CPxWorkerGate::Leave() {
  std::lock_guard<std::mutex> guard(m_lock);
  if (--m_nRunning == 0)
    m_changed.notify_all();
}

bool CPxWorkerGate::WaitUntilIdle(unsigned milliseconds) {
  std::unique_lock<std::mutex> lock(m_lock);
  return m_changed.wait_for(lock, std::chrono::milliseconds(milliseconds),
                            [this] { return m_nRunning == 0; });
}

void CPxWorkerGate::Close() {
  std::lock_guard<std::mutex> guard(m_lock);
  m_bOpen = false;
}

void CPxWorkerGate::Open() {
  std::lock_guard<std::mutex> guard(m_lock);
  m_bOpen = true;
  m_changed.notify_all();
}

void CPxWorkerGate::WaitUntilOpen() {
  std::unique_lock<std::mutex> lock(m_lock);
  m_changed.wait(lock, [this] { return m_bOpen; });
}
