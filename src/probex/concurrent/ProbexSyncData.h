// The private record of a CProbexSync: the counts and the events that
// completed rendezvous keep open until the end of the run.
#pragma once

#include "probex/platform/NamedEvent.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

class CProbexSyncData {
public:
  // Atomic: workers of a threaded case read them while the caller runs.
  std::atomic<std::int32_t> m_nOppositeCount{0};
  std::atomic<std::int32_t> m_nWorkingCount{0};
  // Guarded by m_lock, which every thread on the object shares.
  std::vector<NPxPlatform::CNamedEvent> m_handles;
  std::mutex m_lock;
};
