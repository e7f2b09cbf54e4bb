#include "probex/concurrent/ProbexSync.h"

#include "probex/concurrent/ProbexSyncData.h"
#include "probex/platform/platform.h"

#include <cstdio>

namespace {

// The first arrival's pause after every look for a party's slot.
constexpr unsigned kPollMs = 5;
// How long the first arrival waits for a released party to say so.
constexpr unsigned kPassedOnMs = 1000;

bool IsCp932LeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

void CloseHandles(CProbexSyncData& data) {
  std::lock_guard<std::mutex> guard(data.m_lock);
  data.m_handles.clear();
}

class CPxCloseHandlesAtExit {
public:
  explicit CPxCloseHandlesAtExit(CProbexSyncData& data) : m_data(data) {}
  ~CPxCloseHandlesAtExit() { CloseHandles(m_data); }
  CPxCloseHandlesAtExit(const CPxCloseHandlesAtExit&) = delete;
  CPxCloseHandlesAtExit& operator=(const CPxCloseHandlesAtExit&) = delete;

private:
  CProbexSyncData& m_data;
};

} // namespace

CProbexSync::CProbexSync() : m_pSyncData(new CProbexSyncData) {}

CProbexSync::~CProbexSync() {
  m_CloseHandles();
  delete m_pSyncData;
}

void CProbexSync::RunMain() {
  m_BeginRun();
  m_RunBaseLoop();
}

void CProbexSync::m_BeginRun() {
  m_pSyncData->m_nWorkingCount = GetOppositeCount();
  m_CloseHandles();
}

void CProbexSync::m_CloseHandles() {
  CloseHandles(*m_pSyncData);
}

void CProbexSync::m_RunBaseLoop() {
  CPxCloseHandlesAtExit closeAtExit(*m_pSyncData);
  CProbex::RunMain();
}

int CProbexSync::GetOppositeCount() {
  int expected = 0;
  m_pSyncData->m_nOppositeCount.compare_exchange_strong(expected, 1);
  return m_pSyncData->m_nOppositeCount;
}

void CProbexSync::SetOppositeCount(int n) {
  if (n > 0)
    m_pSyncData->m_nOppositeCount = n;
}

bool CProbexSync::m_MakeSyncName(char* dst, const char* file, int number, int slot) {
  if (!dst)
    return false;
  dst[0] = '\0';
  if (!file || !file[0] || !file[1])
    return false;
  const int length = std::snprintf(dst, kSyncNameSize, "%s_%04d_%d", file + 2, number, slot);
  for (char* p = dst; *p; ++p) {
    if (IsCp932LeadByte(static_cast<unsigned char>(*p)) && p[1])
      ++p;
    else if (*p == '\\')
      *p = '_';
  }
  return length >= 0 && length < kSyncNameSize;
}

void CProbexSync::x_SyncPoint(const char* file, int number, bool all) {
  const int n = all ? m_pSyncData->m_nWorkingCount.load() : 1;
  char name[kSyncNameSize];
  // The highest slot has the longest name: if it fits, they all do.
  if (!m_MakeSyncName(name, file, number, n > 0 ? n : 0) || !m_MakeSyncName(name, file, number, 0))
    return;
  NPxPlatform::CNamedEvent point;
  const int created = point.Create(name);
  if (created < 0)
    return;

  if (created == 0) {
    // First arrival: wait until every party holds its slot, then release one;
    // each released party passes the signal on.
    NPxPlatform::CNamedEvent probe;
    for (int slot = 1; slot <= n; ++slot) {
      m_MakeSyncName(name, file, number, slot);
      for (bool seen = false; !seen;) {
        seen = probe.Open(name);
        probe.Close();
        NPxPlatform::Sleep(kPollMs);
      }
    }
    {
      std::lock_guard<std::mutex> guard(m_pSyncData->m_lock);
      point.Set();
    }
    // Each released party passes the signal on and then signals its own
    // slot. Once every party has, the one signal left over belongs to this
    // meeting: taken here, no later arrival can pass on it. A party that
    // does not say so in time leaves it, for the signal may still be its own.
    bool allPassedOn = true;
    for (int slot = 1; slot <= n; ++slot) {
      m_MakeSyncName(name, file, number, slot);
      allPassedOn = probe.Open(name) && probe.Wait(kPassedOnMs) && allPassedOn;
      probe.Close();
    }
    if (allPassedOn)
      point.Wait(kPassedOnMs);
    std::lock_guard<std::mutex> guard(m_pSyncData->m_lock);
    m_pSyncData->m_handles.push_back(std::move(point));
    return;
  }

  // Later arrival: take the first free slot; with none free, this point has
  // already met in this run.
  NPxPlatform::CNamedEvent mine;
  bool holding = false;
  for (int slot = 1; slot <= n && !holding; ++slot) {
    m_MakeSyncName(name, file, number, slot);
    holding = mine.Create(name) == 0;
  }
  if (!holding)
    return;
  point.Wait();
  std::lock_guard<std::mutex> guard(m_pSyncData->m_lock);
  point.Set();
  mine.Set();
  m_pSyncData->m_handles.push_back(std::move(mine));
}
