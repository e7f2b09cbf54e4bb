// CProbexThread: a synchronised test case that plays every side of its sync
// points itself. Run starts one detached worker per opposite party, each
// calling RunThread(index) with index 1 to the count, while the cases run on
// the calling thread; both meet with PX_SYNC_POINT.
//
// The last case ends only once its workers have: what they send comes
// inside it and counts in the class's results. RunMain then pauses 1000 ms,
// so TearDown and the destructors never run under a worker. A worker still
// running 1000 ms plus kWorkerGraceMs after the last case's method returned
// ends the process there (a notice on standard error, the log written with
// a last "End." record that names the class and the case, then abort): its
// object could not outlive it otherwise.
// The destructor waits the same way, for a run that an exception left. A
// thread body must not let an exception escape: that ends the process too.
#pragma once

#include "probex/base/PxApi.h"
#include "probex/concurrent/ProbexSync.h"

class CProbexThreadData;

class PX_API CProbexThread : public CProbexSync {
public:
  // A sync point holds at most 64 parties, so more workers could never meet;
  // indexes above this get no worker, as if their start had failed.
  static constexpr int kMaxWorkers = 63;
  static constexpr unsigned kWorkerGraceMs = 10000;

  CProbexThread();
  ~CProbexThread() override;
  void RunMain() override;

protected:
  int GetVirtualMethodCount() override;
  // The thread body, run once on each worker; never run as a test.
  virtual void RunThread(int index) = 0;

private:
  PX_INTERNAL static unsigned long m_sRunThread(void* record);
  PX_INTERNAL void m_WaitForWorkers();

  CProbexThreadData* m_pThreadData;
};
