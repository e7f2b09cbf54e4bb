// The coverage store: for every source line reached in count mode, one hit
// counter per passage point, kept in the order in which the lines were first
// reached, and sent as one "PxCt" record per line when the log closes.
#pragma once

#include "probex/coverage/PxCoverage.h"

#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

class CPxLineCounts {
public:
  CPxLineCounts() = default;
  CPxLineCounts(const CPxLineCounts&) = delete;
  CPxLineCounts& operator=(const CPxLineCounts&) = delete;

  // Counts one arrival at `point` (from 1) of the line and returns its
  // counter, made for `passage` in `generation` (see SPxPassageCell); null
  // for a point outside 1 to NPxCoverage::kMaxPassagePoint, which is
  // ignored. Counters wrap at 2^32.
  SPxPassageCell* CountPassage(int cookie, int line, int point,
                               std::uint64_t passage = NPxCoverage::kUnpackedPassage,
                               std::uint32_t generation = 0);
  // In count mode, sends one "PxCt" record per line, in first-reached order,
  // through the record channel, and empties the store; in step-log mode it
  // leaves the store as it is. An empty store sends nothing and asks no mode.
  void Flush();

private:
  // Most lines have a point or two: those counters sit in the line itself.
  static constexpr std::size_t kNearPoints = 4;
  struct SLine {
    std::uint32_t key = 0;
    // One past the highest point reached; null where a point never was.
    std::uint32_t width = 0;
    SPxPassageCell* near[kNearPoints] = {};
    std::vector<SPxPassageCell*> far;
    SPxPassageCell*& Cell(std::size_t slot);
  };
  struct SCounted {
    std::uint32_t key;
    std::vector<std::uint32_t> counts;
  };

  // Takes every line out, in first-reached order, leaving the store empty.
  std::vector<SCounted> m_TakeAll();
  // The line of the key, appended when new.
  SLine& m_Line(std::uint32_t key);
  bool m_IsEmpty();

  std::mutex m_lock;
  // Lines in first-reached order. The index is addressed directly: by the
  // key's upper half, then its lower half, to a position in m_lines plus one
  // (0: not reached yet); each part grows to the highest half seen. So a new
  // line costs the same whatever the store already holds.
  std::deque<SLine> m_lines;
  std::vector<std::vector<std::uint32_t>> m_index;
  // Counters outlive the lines that a flush takes: call sites may still hold
  // them, and only learn from the generation that they are stale.
  std::deque<SPxPassageCell> m_cells;
};

// The module's one store.
CPxLineCounts& PxLineCounts();
