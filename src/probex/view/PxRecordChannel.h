// The channel through which coverage records reach a sink: the running test
// case's sink while Run is active, the default sink otherwise.
#pragma once

#include "probex/base/PxMsgType.h"

#include <atomic>
#include <mutex>

class CProbexView;

class CPxRecordChannel {
public:
  CPxRecordChannel() = default;
  CPxRecordChannel(const CPxRecordChannel&) = delete;
  CPxRecordChannel& operator=(const CPxRecordChannel&) = delete;

  // Not owned; the sink must stay alive while it is set.
  void SetView(CProbexView* view);
  // Delivers one record under the channel's lock, re-entrant for sinks whose
  // own code is instrumented.
  void Output(const char* text, EPxMsgType kind);

private:
  std::atomic<CProbexView*> m_pView{nullptr};
  std::recursive_mutex m_lock;
};

// The module's one channel; it outlives every destructor, since records may
// still be sent while the process ends.
CPxRecordChannel& PxRecordChannel();
