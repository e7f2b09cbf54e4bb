// The private record of a test case. Counters are atomic because worker
// threads of a threaded test case make expectations on the same object.
#pragma once

#include "probex/core/Probex.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class CProbexData {
public:
  std::string m_strClassCaption;
  std::atomic<std::int32_t> m_nFailures{0};
  std::atomic<std::int32_t> m_nExceptions{0};
  std::atomic<std::int32_t> m_nAssertFailed{0};
  CProbexView* m_pView = nullptr;
  bool m_bEndMethodPending = true;
  // The cases declared after a base class's end marker have been told.
  bool m_bCasesAfterEndTold = false;
  CProbex::PxRunStartHook m_pRunStartHook = nullptr;
  CProbex::PxRunStartHook m_pLastCaseEndHook = nullptr;
  // While the run loop runs, messages of threads other than the one that
  // runs the cases wait in m_held until a case is open, so that a worker's
  // records never come before its case's opening records or between cases.
  // Guarded by the message blocks' lock.
  CProbex* m_pHoldingCase = nullptr;
  const char* m_pRunThreadMark = nullptr; // a thread-local's address: the case thread
  bool m_bHoldOthers = false;
  bool m_bInCase = false;
  // Between the start and the end of Run: test captions wait for their check.
  std::atomic<bool> m_bCaptionsHeld{false};
  std::vector<std::pair<EPxMsgType, std::string>> m_held;
  // The explicit method table; its last entry is always empty.
  std::vector<CProbex::PxMethod> m_methods{nullptr};
  // The case name of each entry, null where a filter has no say.
  std::vector<const char*> m_caseNames{nullptr};
};

class CPxInlineText;
// "<fully qualified file>(<line>):", as locations are sent.
void PxAppendLocation(CPxInlineText& location, const char* file, long long line);
