#include "probex/coverage/PxCoverage.h"

#include "probex/core/PxFormat.h"
#include "probex/coverage/PxCoverageMode.h"
#include "probex/coverage/PxLineCounts.h"
#include "probex/coverage/PxRecordChannel.h"
#include "probex/platform/platform.h"

#include <cstdint>
#include <mutex>

namespace {

// The locks are made on first use and never destroyed: the log writer's
// destructor may still reach the recorder at unload, after every
// function-local object of the library is gone.
std::recursive_mutex& g_csLine() {
  static std::recursive_mutex* lock = new std::recursive_mutex;
  return *lock;
}

std::recursive_mutex& g_csCookie() {
  static std::recursive_mutex* lock = new std::recursive_mutex;
  return *lock;
}

// Guarded by g_csCookie.
std::int32_t g_nCookieCounter = 0;

// Guarded by g_csLine: the repeat filter, the time base and the last time.
std::int32_t g_nPrevCookie = -1;
std::int32_t g_nPrevLine = -1;
std::int32_t g_nPrevPoint = -1;
bool g_bTimeBaseSet = false;
std::uint32_t g_dwTimeBase = 0;
std::uint32_t g_dwLastTime = 0;

const char* Text(const char* text) {
  return text ? text : "";
}

void SendStep(int cookie, int line, int point) {
  const std::uint32_t elapsed = NPxPlatform::GetTickCount() - g_dwTimeBase;
  std::string text;
  if (elapsed == g_dwLastTime) {
    text = PxFormat("?%d,%d(%d", cookie, line, point);
  } else {
    text = PxFormat("?%d,%d(%d):%X", cookie, line, point, static_cast<unsigned>(elapsed));
    g_dwLastTime = elapsed;
  }
  OutputRecord(text.c_str(), PX_MSG_COVERAGE_LINE);
}

} // namespace

int NPxCoverage::GetSourceCookie() {
  std::lock_guard<std::recursive_mutex> guard(g_csCookie());
  return g_nCookieCounter++;
}

void NPxCoverage::OutputLine(int cookie, int line, int point) {
  if (point < 1 || point > kMaxPassagePoint)
    return;
  // Held through the sending too, so step-log records leave in the order of
  // their passages; re-entrant for sinks whose own code is instrumented.
  std::lock_guard<std::recursive_mutex> guard(g_csLine());
  if (!g_bTimeBaseSet) {
    g_bTimeBaseSet = true;
    g_dwTimeBase = NPxPlatform::GetTickCount();
  }
  if (cookie == g_nPrevCookie && line == g_nPrevLine && point == g_nPrevPoint)
    return;
  if (IsCountMode())
    CountPassage(cookie, line, point);
  else
    SendStep(cookie, line, point);
  g_nPrevCookie = cookie;
  g_nPrevLine = line;
  g_nPrevPoint = point;
}

void NPxCoverage::OutputFuncIn(const char* function) {
  if (!IsCountMode())
    OutputRecord(Text(function), PX_MSG_COVERAGE_FUNC_IN);
}

void NPxCoverage::OutputFuncOut(const char* function, unsigned long value) {
  if (!IsCountMode())
    OutputRecord(PxFormat("%s:%lX", Text(function), value).c_str(), PX_MSG_COVERAGE_FUNC_OUT);
}

void NPxCoverage::OutputPassibleLine(int first, int second, const char* name,
                                     const unsigned char* table, int count) {
  std::string text = PxFormat("!%d,%d;%s(0):", first, second, Text(name));
  if (table && count > 0) {
    static const char kDigits[] = "0123456789ABCDEF";
    text.reserve(text.size() + 2 * static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
      text += kDigits[table[i] >> 4];
      text += kDigits[table[i] & 0x0F];
    }
  }
  OutputRecord(text.c_str(), PX_MSG_COVERAGE_PASSABLE);
}
