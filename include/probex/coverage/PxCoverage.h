// Functions that code under test calls: source cookies, line passages,
// function entries and exits, passable-line tables, the step-log default and
// the routing of failed ASSERT/VERIFY checks to the running test case. Every
// function may be called from any thread; none reports an error.
#pragma once

#include "probex/base/PxApi.h"

#include <atomic>
#include <cstdint>

// The counter of one passage point of one line in count mode. A call site
// of the instrumentation macros keeps it, so that a later passage of the
// same point is one atomic increment; it serves while the gate's generation
// is the one it was made in (a flush or a change of mode moves that on).
struct SPxPassageCell {
  std::atomic<std::uint32_t> count{0};
  // The packed passage it was made for; a site passing another goes the slow way.
  std::uint64_t passage = 0;
  std::uint32_t generation = 0;
};

// Shared by every passage: the last one that got through, for the filter of
// exact repeats, and the generation in which cells serve.
struct SPxPassageGate {
  std::atomic<std::uint64_t> last{0};
  std::atomic<std::uint32_t> generation{1};
};

namespace NPxCoverage {

// The highest passage point a line can have. A passage with a point outside
// 1 to kMaxPassagePoint is no passage: it is ignored in both modes and leaves
// the repeat filter as it was.
constexpr int kMaxPassagePoint = 65535;

// Hands out 0, 1, 2, ... within the process: one cookie per instrumented source.
PX_API int GetSourceCookie();

// One arrival at passage point `point` (from 1) of line `line` of the source
// `cookie`. An exact repeat of the last passage that got through is dropped.
// Step-log mode sends a step record at once, carrying the elapsed
// milliseconds when the time has changed since the last record that carried
// one; count mode counts the passage, and the counts are sent as count
// records when the log closes (their texts: PxCoverageRecordCodec.h in
// src/probex/base/). Counting keys on the low 16 bits of the line plus the
// cookie shifted by 16, so a line outside 0 to 65535 spills into the cookie.
PX_API void OutputLine(int cookie, int line, int point);

// Cookie, line and point in one word: 15, 32 and 16 bits; never 0, since a
// point is at least 1. A cookie past 15 bits packs to kUnpackedPassage.
constexpr std::uint64_t kUnpackedPassage = std::uint64_t{1} << 63;
constexpr std::uint64_t PackPassage(int cookie, int line, int point) {
  return cookie >= 0 && cookie <= 0x7FFF
             ? (static_cast<std::uint64_t>(cookie) << 48) |
                   (static_cast<std::uint64_t>(static_cast<std::uint32_t>(line)) << 16) |
                   static_cast<std::uint16_t>(point)
             : kUnpackedPassage;
}

PX_API SPxPassageGate& PassageGate();
// OutputLine for a call site: in count mode the site is left holding the
// passage's counter.
PX_API void OutputSiteLine(std::atomic<SPxPassageCell*>& site, int cookie, int line, int point);

// Step-log mode only: the function's text as a "PxFn" record, and on exit
// "text:value" with the value in hex as a "PxFo" record. A null text counts
// as empty; an empty entry record is not written to the log.
PX_API void OutputFuncIn(const char* function);
PX_API void OutputFuncOut(const char* function, unsigned long value);

// In both modes: the passable-line record ("PxPs") of source `first`, whose
// table starts at line `second` (text: src/probex/base/PxCoverageRecordCodec.h).
// A null name counts as empty; a count of 0 or below, or a null table, adds
// no bytes.
PX_API void OutputPassibleLine(int first, int second, const char* name, const unsigned char* table,
                               int count);

// Reads the mode word of the controlling tool again, now, taking a word of 0
// (no tool) as step-log mode. Without this call no tool means count mode.
// Takes effect for every later call, on every thread.
PX_API void SetStepLogMode();

// Charges one false ASSERT/VERIFY to the test case whose RunMain runs on the
// calling thread; on any other thread it is dropped. Always returns 0.
PX_API int OnAssertFailedLine(const char* file, int line);

} // namespace NPxCoverage
