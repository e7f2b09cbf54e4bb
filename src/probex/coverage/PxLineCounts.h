// The coverage store: for every source line reached in count mode, one hit
// counter per passage point, kept in the order in which the lines were first
// reached, and sent as one "PxCt" record per line when the log closes.
#pragma once

#include "probex/support/KrnMap.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

class CPxLineCounts {
public:
  using CEntry = KRN::CKrnLineCountMap::CEntry;

  CPxLineCounts() = default;
  CPxLineCounts(const CPxLineCounts&) = delete;
  CPxLineCounts& operator=(const CPxLineCounts&) = delete;

  // Counts one arrival at `point` (from 1) of the line. Points outside 1 to
  // NPxCoverage::kMaxPassagePoint are ignored. Counters wrap at 2^32.
  void CountPassage(int cookie, int line, int point);
  // In count mode, sends one "PxCt" record per line, in first-reached order,
  // through the record channel, and empties the store; in step-log mode it
  // leaves the store as it is. An empty store sends nothing and asks no mode.
  void Flush();

private:
  // Takes every line out, in first-reached order, leaving the store empty.
  std::vector<CEntry> m_TakeAll();
  bool m_IsEmpty();

  // First-reached order lives in the map; the index finds a key's entry at
  // once, so a passage costs the same however many lines are stored.
  KRN::CKrnLineCountMap m_map;
  std::unordered_map<std::uint32_t, std::uint32_t> m_index;
};

// The module's one store.
CPxLineCounts& PxLineCounts();
