// Counts the running workers of one threaded test case, so that the case
// can wait for them before it goes, and holds their bodies back until the
// run is ready for them. Shared by the case and its workers; the last of
// them to let go frees it.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>

class CPxWorkerGate {
public:
  // Before a worker starts; Leave undoes it, also when the start failed.
  void Enter();
  // The last thing a worker does with anything of its test case.
  void Leave();
  // True when no worker runs, at once or within the time given.
  bool WaitUntilIdle(unsigned milliseconds);
  // How long a run waits for its workers after its pause: the documented
  // CProbexThread::kWorkerGraceMs. Only a test program built from the
  // library's objects shortens it, so that a stuck worker ends it sooner.
  static unsigned GraceMs() { return m_sGraceMs; }
  static void SetGraceMs(unsigned milliseconds) { m_sGraceMs = milliseconds; }

  // Holds workers back (Close) until the run lets them go (Open).
  void Close();
  void Open();
  void WaitUntilOpen();

private:
  std::mutex m_lock;
  std::condition_variable m_changed;
  int m_nRunning = 0;
  bool m_bOpen = true;

  static std::atomic<unsigned> m_sGraceMs;
};
