#include "probex/coverage/PxLineCounts.h"

#include "probex/base/PxCoverageRecordCodec.h"
#include "probex/coverage/PxCoverageMode.h"
#include "probex/coverage/PxCoverageState.h"
#include "probex/view/PxRecordChannel.h"

#include <algorithm>

namespace {

// The cookie shifted left by 16 plus the line, wrapping in 32 bits: line
// 65536 of cookie 2 is line 0 of cookie 3.
std::uint32_t Key(int cookie, int line) {
  return (static_cast<std::uint32_t>(cookie) << 16) + static_cast<std::uint32_t>(line);
}

} // namespace

SPxPassageCell*& CPxLineCounts::SLine::Cell(std::size_t slot) {
  if (slot >= width)
    width = static_cast<std::uint32_t>(slot + 1);
  if (slot < kNearPoints)
    return near[slot];
  if (slot - kNearPoints >= far.size())
    far.resize(slot - kNearPoints + 1, nullptr);
  return far[slot - kNearPoints];
}

CPxLineCounts::SLine& CPxLineCounts::m_Line(std::uint32_t key) {
  const std::size_t upper = key >> 16;
  const std::size_t lower = key & 0xFFFFu;
  if (upper >= m_index.size())
    m_index.resize(upper + 1);
  std::vector<std::uint32_t>& lines = m_index[upper];
  if (lower >= lines.size())
    lines.resize(std::max(lower + 1, 2 * lines.size()), 0);
  std::uint32_t& position = lines[lower];
  if (position == 0) {
    m_lines.emplace_back().key = key;
    position = static_cast<std::uint32_t>(m_lines.size());
  }
  return m_lines[position - 1];
}

SPxPassageCell* CPxLineCounts::CountPassage(int cookie, int line, int point, std::uint64_t passage,
                                            std::uint32_t generation) {
  if (point < 1 || point > NPxCoverage::kMaxPassagePoint)
    return nullptr;
  const std::uint32_t key = Key(cookie, line);
  std::lock_guard<std::mutex> guard(m_lock);
  SPxPassageCell*& cell = m_Line(key).Cell(static_cast<std::size_t>(point - 1));
  if (!cell) {
    cell = &m_cells.emplace_back();
    cell->passage = passage;
    cell->generation = generation;
  }
  cell->count.fetch_add(1, std::memory_order_relaxed);
  return cell;
}

std::vector<CPxLineCounts::SCounted> CPxLineCounts::m_TakeAll() {
  std::lock_guard<std::mutex> guard(m_lock);
  // Call sites holding a counter of these lines go back to the slow path.
  PxCoverageState().gate.generation.fetch_add(1);
  std::vector<SCounted> taken;
  taken.reserve(m_lines.size());
  for (SLine& line : m_lines) {
    SCounted counted{line.key, {}};
    for (std::size_t slot = 0; slot < line.width; ++slot) {
      const SPxPassageCell* cell = line.Cell(slot);
      counted.counts.push_back(cell ? cell->count.load(std::memory_order_relaxed) : 0);
    }
    taken.push_back(std::move(counted));
  }
  m_lines.clear();
  m_index.clear();
  return taken;
}

bool CPxLineCounts::m_IsEmpty() {
  std::lock_guard<std::mutex> guard(m_lock);
  return m_lines.empty();
}

void CPxLineCounts::Flush() {
  // Nothing counted means nothing to send, and no reason to open the mode
  // block at unload, when the platform may be tearing down. The records
  // leave after the store's lock is released: it is the innermost lock.
  if (m_IsEmpty() || !IsCountMode())
    return;
  for (const SCounted& line : m_TakeAll())
    PxRecordChannel().Output(NPxCoverageRecord::CountText(static_cast<int>(line.key >> 16),
                                                          static_cast<int>(line.key & 0xFFFFu),
                                                          line.counts.data(), line.counts.size())
                                 .c_str(),
                             PX_MSG_COVERAGE_COUNT);
}
