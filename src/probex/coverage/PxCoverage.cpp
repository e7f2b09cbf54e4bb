#include "probex/coverage/PxCoverage.h"

#include "probex/base/PxCoverageRecordCodec.h"
#include "probex/base/PxFormat.h"
#include "probex/coverage/PxCoverageMode.h"
#include "probex/coverage/PxCoverageState.h"
#include "probex/coverage/PxLineCounts.h"
#include "probex/platform/platform.h"
#include "probex/view/PxRecordChannel.h"

#include <cstdint>
#include <mutex>

namespace {

const char* Text(const char* text) {
  return text ? text : "";
}

void SendStep(SPxCoverageState& state, int cookie, int line, int point) {
  const std::uint32_t elapsed = NPxPlatform::GetTickCount() - state.timeBase;
  const bool timed = elapsed != state.lastTime;
  if (timed)
    state.lastTime = elapsed;
  char text[NPxCoverageRecord::kStepTextSize];
  NPxCoverageRecord::WriteStep(text, cookie, line, point, timed, elapsed);
  PxRecordChannel().Output(text, PX_MSG_COVERAGE_LINE);
}

// One passage; in count mode its counter, else null.
SPxPassageCell* Pass(int cookie, int line, int point) {
  if (point < 1 || point > NPxCoverage::kMaxPassagePoint)
    return nullptr;
  SPxCoverageState& state = PxCoverageState();
  std::lock_guard<std::recursive_mutex> guard(state.lineLock);
  if (!state.timeBaseSet) {
    state.timeBaseSet = true;
    state.timeBase = NPxPlatform::GetTickCount();
  }
  const std::uint64_t passage = NPxCoverage::PackPassage(cookie, line, point);
  const std::uint64_t last = state.gate.last.exchange(passage);
  if (passage != NPxCoverage::kUnpackedPassage) {
    if (last == passage)
      return nullptr;
  } else {
    if (last == passage && cookie == state.prevCookie && line == state.prevLine &&
        point == state.prevPoint)
      return nullptr;
    state.prevCookie = cookie;
    state.prevLine = line;
    state.prevPoint = point;
  }
  if (IsCountMode()) {
    const std::uint32_t generation = state.gate.generation.load();
    return PxLineCounts().CountPassage(cookie, line, point, passage, generation);
  }
  SendStep(state, cookie, line, point);
  return nullptr;
}

} // namespace

int NPxCoverage::GetSourceCookie() {
  SPxCoverageState& state = PxCoverageState();
  std::lock_guard<std::mutex> guard(state.cookieLock);
  return state.cookieCounter++;
}

void NPxCoverage::OutputLine(int cookie, int line, int point) {
  Pass(cookie, line, point);
}

void NPxCoverage::OutputSiteLine(std::atomic<SPxPassageCell*>& site, int cookie, int line,
                                 int point) {
  if (SPxPassageCell* cell = Pass(cookie, line, point))
    site.store(cell, std::memory_order_release);
}

SPxPassageGate& NPxCoverage::PassageGate() {
  return PxCoverageState().gate;
}

void NPxCoverage::OutputFuncIn(const char* function) {
  if (!IsCountMode())
    PxRecordChannel().Output(Text(function), PX_MSG_COVERAGE_FUNC_IN);
}

void NPxCoverage::OutputFuncOut(const char* function, unsigned long value) {
  if (!IsCountMode())
    PxRecordChannel().Output(PxFormat("%s:%lX", Text(function), value).c_str(),
                             PX_MSG_COVERAGE_FUNC_OUT);
}

void NPxCoverage::OutputPassibleLine(int first, int second, const char* name,
                                     const unsigned char* table, int count) {
  PxRecordChannel().Output(
      NPxCoverageRecord::PassableText(first, second, name, table, count).c_str(),
      PX_MSG_COVERAGE_PASSABLE);
}
