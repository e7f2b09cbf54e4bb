// Macros that instrument code under test for the coverage recorder. Use them
// in source files only, never in headers: each source file takes one source
// cookie, on its first passage, through a static object of its own.
//
//   PX_COVERAGE_PASSABLE(10, kTable);  // the lines of this file that can run
//   int Clamp(int v, int lo, int hi) {
//     PX_COVERAGE_FUNCTION();          // "PxFn" now, "PxFo" on every way out
//     PX_COVERAGE_LINE();              // passage point 1 of this line
//     if (v < lo) { PX_COVERAGE_POINT(2); return lo; }
//     ...
//
// The passable-line table: PX_COVERAGE_PASSABLE(first, table) sends
// OutputPassibleLine(cookie, first, __FILE__, table, sizeof table), the
// passable-line record of src/probex/base/PxCoverageRecordCodec.h. Bit b
// (least significant first) of byte k set means that line first + 8k + b of
// this file is a passable line. `table` must be an array of unsigned char.
#pragma once

#include "probex/coverage/PxCoverage.h"

class CPxFunctionPassage {
public:
  // Reports the entry; the exit follows when the object goes out of scope,
  // also on an early return or an exception. Both are step-log records only.
  explicit CPxFunctionPassage(const char* function, unsigned long value = 0)
      : m_pFunction(function), m_value(value) {
    NPxCoverage::OutputFuncIn(m_pFunction);
  }
  ~CPxFunctionPassage() { NPxCoverage::OutputFuncOut(m_pFunction, m_value); }
  CPxFunctionPassage(const CPxFunctionPassage&) = delete;
  CPxFunctionPassage& operator=(const CPxFunctionPassage&) = delete;

private:
  const char* m_pFunction;
  unsigned long m_value;
};

namespace {

// One per source file: internal linkage gives every file its own cookie.
inline int PxSourceCookie() {
  static const int cookie = NPxCoverage::GetSourceCookie();
  return cookie;
}

inline SPxPassageGate& PxPassageGate() {
  static SPxPassageGate& gate = NPxCoverage::PassageGate();
  return gate;
}

// A passage at a call site. Once the site holds the counter of its passage,
// and while that counter serves, a passage that is no exact repeat of the
// last is one atomic increment; anything else takes the full way, which
// also hands the site its counter in count mode.
inline void PxPassSite(std::atomic<SPxPassageCell*>& site, int line, int point) {
  const int cookie = PxSourceCookie();
  const std::uint64_t passage = NPxCoverage::PackPassage(cookie, line, point);
  SPxPassageGate& gate = PxPassageGate();
  SPxPassageCell* cell = site.load(std::memory_order_acquire);
  if (cell && cell->passage == passage &&
      cell->generation == gate.generation.load(std::memory_order_acquire)) {
    if (gate.last.exchange(passage, std::memory_order_acq_rel) != passage)
      cell->count.fetch_add(1, std::memory_order_relaxed);
    return;
  }
  NPxCoverage::OutputSiteLine(site, cookie, line, point);
}

} // namespace

#define PX_COVERAGE_CONCAT_(a, b) a##b
#define PX_COVERAGE_CONCAT(a, b) PX_COVERAGE_CONCAT_(a, b)

// A passage at point `point` (from 1) of the current line, as OutputLine
// records it; the site keeps its counter.
#define PX_COVERAGE_POINT(point)                                                                   \
  do {                                                                                             \
    static std::atomic<SPxPassageCell*> pxPassageSite{nullptr};                                    \
    PxPassSite(pxPassageSite, __LINE__, (point));                                                  \
  } while (0)
// A passage at point 1 of the current line.
#define PX_COVERAGE_LINE() PX_COVERAGE_POINT(1)

// Entry and exit of the enclosing function, named by __func__; the exit
// record carries `value` (in hex), or 0.
#define PX_COVERAGE_FUNCTION_VALUE(value)                                                          \
  const CPxFunctionPassage PX_COVERAGE_CONCAT(pxFunctionPassage, __LINE__)(__func__, (value))
#define PX_COVERAGE_FUNCTION() PX_COVERAGE_FUNCTION_VALUE(0)

#define PX_COVERAGE_PASSABLE(first, table)                                                         \
  do {                                                                                             \
    NPxCoverage::OutputPassibleLine(PxSourceCookie(), (first), __FILE__, (table),                  \
                                    static_cast<int>(sizeof(table)));                              \
  } while (0)
