#include "probex/coverage/PxLineCounts.h"

#include "probex/base/PxFormat.h"
#include "probex/coverage/PxCoverage.h"
#include "probex/coverage/PxCoverageMode.h"
#include "probex/support/KrnExclusiveGuard.h"
#include "probex/view/PxRecordChannel.h"

namespace {

// The cookie shifted left by 16 plus the line, wrapping in 32 bits: line
// 65536 of cookie 2 is line 0 of cookie 3.
std::uint32_t Key(int cookie, int line) {
  return (static_cast<std::uint32_t>(cookie) << 16) + static_cast<std::uint32_t>(line);
}

std::string CountText(const CPxLineCounts::CEntry& entry) {
  std::string text = PxFormat("?%d,%d();", static_cast<int>(entry.m_key >> 16),
                              static_cast<int>(entry.m_key & 0xFFFFu));
  const std::uint32_t points = entry.m_value.GetSize();
  for (std::uint32_t i = 0; i < points; ++i)
    text += PxFormat("%06X", static_cast<unsigned>(*entry.m_value.ElementPtr(i)));
  return text;
}

} // namespace

void CPxLineCounts::CountPassage(int cookie, int line, int point) {
  if (point < 1 || point > NPxCoverage::kMaxPassagePoint)
    return;
  const std::uint32_t key = Key(cookie, line);
  KRN::CKrnExclusiveGuard guard(&m_map);
  std::uint32_t index = 0;
  const auto found = m_index.find(key);
  if (found != m_index.end()) {
    index = found->second;
  } else {
    // Appended by position: the map's own keyed insert would scan every entry.
    const CEntry entry{key, {}};
    index = m_map.GetSize();
    if (m_map.AddRange(1, &entry) != 1)
      return;
    m_index.emplace(key, index);
  }
  // Through the entry the map holds: a copy of the counters would turn
  // private on its first write and the count would be lost.
  KRN::CKrnGrowVector<std::uint32_t>& counts = m_map.WritableElement(index)->m_value;
  const std::uint32_t slot = static_cast<std::uint32_t>(point - 1);
  if (slot < counts.GetSize())
    ++*counts.WritableElement(slot);
  else
    counts.Set(slot, 1);
}

std::vector<CPxLineCounts::CEntry> CPxLineCounts::m_TakeAll() {
  KRN::CKrnExclusiveGuard guard(&m_map);
  std::vector<CEntry> entries;
  const std::uint32_t size = m_map.GetSize();
  entries.reserve(size);
  // Copies share the counters' storage; emptying the map leaves them theirs.
  for (std::uint32_t i = 0; i < size; ++i)
    entries.push_back(*m_map.ElementPtr(i));
  m_map.RemoveAll();
  m_index.clear();
  return entries;
}

bool CPxLineCounts::m_IsEmpty() {
  KRN::CKrnExclusiveGuard guard(&m_map);
  return m_map.GetSize() == 0;
}

void CPxLineCounts::Flush() {
  // Nothing counted means nothing to send, and no reason to open the mode
  // block at unload, when the platform may be tearing down. The records
  // leave after the store's lock is released: it is the innermost lock.
  if (m_IsEmpty() || !IsCountMode())
    return;
  for (const CEntry& entry : m_TakeAll())
    PxRecordChannel().Output(CountText(entry).c_str(), PX_MSG_COVERAGE_COUNT);
}
