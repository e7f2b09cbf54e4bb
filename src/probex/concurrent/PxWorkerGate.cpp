#include "probex/concurrent/PxWorkerGate.h"

#include <chrono>

void CPxWorkerGate::Enter() {
  std::lock_guard<std::mutex> guard(m_lock);
  ++m_nRunning;
}

void CPxWorkerGate::Leave() {
  std::lock_guard<std::mutex> guard(m_lock);
  if (--m_nRunning == 0)
    m_idle.notify_all();
}

bool CPxWorkerGate::WaitUntilIdle(unsigned milliseconds) {
  std::unique_lock<std::mutex> lock(m_lock);
  return m_idle.wait_for(lock, std::chrono::milliseconds(milliseconds),
                         [this] { return m_nRunning == 0; });
}
