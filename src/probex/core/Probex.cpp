#include "probex/core/Probex.h"

#include "probex/base/PxFormat.h"
#include "probex/base/PxNameRecord.h"
#include "probex/base/PxSideKind.h"
#include "probex/base/PxTexts.h"
#include "probex/core/ProbexData.h"
#include "probex/core/PxCaseFilter.h"
#include "probex/core/PxHeldCaption.h"
#include "probex/core/PxMessageBlocks.h"
#include "probex/core/PxRunNotices.h"
#include "probex/core/PxRunVerdict.h"
#include "probex/core/PxRunningCaseMap.h"
#include "probex/platform/platform.h"
#include "probex/view/ProbexRecordSink.h"
#include "probex/view/PxRecordChannel.h"
#include "probex/view/PxSideRoute.h"

#include <exception>
#include <typeinfo>

namespace {

// The framework's own positions in the method table, below the test methods.
constexpr int kFrameworkSlots = 8;

// Points the record channel at the run's sink and back to the default on
// every way out of Run, so a sink never outlives its place in the channel.
class CPxRecordViewScope {
public:
  explicit CPxRecordViewScope(CProbexView* view) { PxRecordChannel().SetView(view); }
  ~CPxRecordViewScope() { PxRecordChannel().SetView(nullptr); }
  CPxRecordViewScope(const CPxRecordViewScope&) = delete;
  CPxRecordViewScope& operator=(const CPxRecordViewScope&) = delete;
};

// Tells the threads apart without asking the system: its address is the
// calling thread's own.
thread_local char threadMark;

// To the attached sink, else the default one of the test case.
void Deliver(CProbex& self, CProbexData& data, const char* text, EPxMsgType kind) {
  if (data.m_pView)
    data.m_pView->OutputMessage(text, kind);
  else
    self.CProbexView::OutputMessage(text, kind);
}

// The sink of side records on the attached view, else the test case itself.
CProbexRecordSink* RecordSinkOf(CProbex& self, const CProbexData& data) {
  return PxRecordSinkOf(data.m_pView ? data.m_pView : &self);
}

// A side record to that sink, else to the log where the messages go there.
void DeliverSide(CProbexRecordSink* sink, const CProbexData& data, const char* text,
                 unsigned kind) {
  if (sink)
    sink->OutputRecord(text, kind);
  else
    PxWriteSideRecord(data.m_pView, text, kind);
}

// Sends the messages held back, in their order; to the thread that sends
// them they are another's. The blocks' lock is held.
void SendHeld(CProbexData& data) {
  CPxMessageBlocks& blocks = PxMessageBlocks();
  CProbexRecordSink* const sink = RecordSinkOf(*data.m_pHoldingCase, data);
  for (const auto& [kind, text] : data.m_held) {
    if (NPxSideKind::IsSideKind(kind)) {
      DeliverSide(sink, data, text.c_str(), kind);
      continue;
    }
    blocks.Count(false);
    Deliver(*data.m_pHoldingCase, data, text.c_str(), kind);
  }
  data.m_held.clear();
}

// While no case is open. The case thread's first message inside a case
// opens it: the messages held go out right after that message's group, so
// after the case's location and caption. Another thread's message waits.
// Kept out of line, so that a message of an open case pays nothing for it.
[[gnu::noinline]] bool HeldBack(CProbexData& data, const char* text, EPxMsgType kind) {
  if (&threadMark != data.m_pRunThreadMark) {
    data.m_held.emplace_back(kind, text);
    // Counted as sent: the thread's open check must not think others came.
    PxMessageBlocks().Count();
    return true;
  }
  if (data.m_bInCase) {
    data.m_bHoldOthers = false;
    PxMessageBlocks().AtGroupEnd([](void* held) { SendHeld(*static_cast<CProbexData*>(held)); },
                                 &data);
  }
  return false;
}

// Once a case's method has returned, nothing of its own can open it any
// more: what was held goes out, and what comes now goes out at once.
void OpenCase(CProbexData& data) {
  std::lock_guard<CPxMessageBlocks> block(PxMessageBlocks());
  SendHeld(data);
  data.m_bHoldOthers = false;
}

// Holds other threads' messages back from the start of the run loop until
// its end, on every way out.
class CPxHoldOthersScope {
public:
  CPxHoldOthersScope(CProbex& testCase, CProbexData& data) : m_data(data) {
    std::lock_guard<CPxMessageBlocks> block(PxMessageBlocks());
    m_data.m_pHoldingCase = &testCase;
    m_data.m_pRunThreadMark = &threadMark;
    m_data.m_bInCase = false;
    m_data.m_bHoldOthers = true;
  }
  ~CPxHoldOthersScope() {
    std::lock_guard<CPxMessageBlocks> block(PxMessageBlocks());
    SendHeld(m_data);
    m_data.m_bHoldOthers = false;
    m_data.m_bInCase = false;
  }
  CPxHoldOthersScope(const CPxHoldOthersScope&) = delete;
  CPxHoldOthersScope& operator=(const CPxHoldOthersScope&) = delete;

private:
  CProbexData& m_data;
};

// Test captions wait for their check only while the class runs; one that
// nothing followed leaves with the run (and is dropped when an exception
// ends it: it names no check, and a sink is no place to throw from).
class CPxCaptionsHeldScope {
public:
  CPxCaptionsHeldScope(CProbex& testCase, CProbexData& data)
      : m_testCase(testCase), m_data(data), m_exceptions(std::uncaught_exceptions()) {
    m_data.m_bCaptionsHeld = true;
  }
  ~CPxCaptionsHeldScope() {
    m_data.m_bCaptionsHeld = false;
    if (std::uncaught_exceptions() == m_exceptions)
      CPxHeldCaption::Release(m_testCase);
    else
      CPxHeldCaption::Drop();
  }
  CPxCaptionsHeldScope(const CPxCaptionsHeldScope&) = delete;
  CPxCaptionsHeldScope& operator=(const CPxCaptionsHeldScope&) = delete;

private:
  CProbex& m_testCase;
  CProbexData& m_data;
  const int m_exceptions;
};

bool IsSelected(const CProbexData& data, int position, const std::string& className) {
  const char* caseName = data.m_caseNames[static_cast<size_t>(position)];
  return !caseName || PxCaseFilter().Selects(className, caseName);
}

// Whether a case runs after the method at position: the next method that
// runs is a case and not an end marker.
bool CaseFollows(const CProbexData& data, int position, const std::string& className) {
  for (int next = position + 1; data.m_methods[static_cast<size_t>(next)]; ++next)
    if (IsSelected(data, next, className))
      return data.m_caseNames[static_cast<size_t>(next)] != nullptr;
  return false;
}

// Takes the calling thread's registry entry out on every way out of
// RunMain, so the registry never names a test case that may be destroyed.
class CPxRunningCaseScope {
public:
  explicit CPxRunningCaseScope(CProbex* testCase) : m_threadId(NPxPlatform::GetCurrentThreadId()) {
    g_mapRunningCase.Enter(m_threadId, testCase);
  }
  ~CPxRunningCaseScope() { g_mapRunningCase.Remove(m_threadId); }
  CPxRunningCaseScope(const CPxRunningCaseScope&) = delete;
  CPxRunningCaseScope& operator=(const CPxRunningCaseScope&) = delete;

private:
  std::uint32_t m_threadId;
};

// When the loop stopped at an end marker (a method without a case name),
// the cases after it are a further-derived class's, which never run: told
// once per test case, rather than dropped in silence.
void TellCasesAfterEndMarker(CProbexData& data, int endPosition, const std::type_info& type) {
  if (data.m_caseNames[static_cast<size_t>(endPosition)] || data.m_bCasesAfterEndTold)
    return;
  std::vector<std::string> cases;
  for (size_t position = static_cast<size_t>(endPosition) + 1; position < data.m_caseNames.size();
       ++position)
    if (data.m_caseNames[position])
      cases.emplace_back(data.m_caseNames[position]);
  if (cases.empty())
    return;
  data.m_bCasesAfterEndTold = true;
  PxTellCasesAfterEndMarker(CPxCaseFilter::ClassNameOf(type), cases);
}

} // namespace

CProbex::CProbex() : m_pMethodTable(nullptr), m_pData(new CProbexData) {
  for (int slot = 0; slot < kFrameworkSlots; ++slot)
    x_AddFrameworkSlot();
}

CProbex::~CProbex() {
  delete m_pData;
}

void CProbex::OutputMessage(const char* text, EPxMsgType kind) {
  CPxMessageBlocks& blocks = PxMessageBlocks();
  std::lock_guard<CPxMessageBlocks> block(blocks);
  CPxHeldCaption::Release(*this);
  if (m_pData->m_bHoldOthers && HeldBack(*m_pData, text, kind))
    return;
  blocks.Count();
  Deliver(*this, *m_pData, text, kind);
}

CProbexRecordSink* CProbex::m_RecordSink() {
  return RecordSinkOf(*this, *m_pData);
}

void CProbex::m_SendSideRecord(CProbexRecordSink* sink, const char* text, unsigned kind) {
  std::lock_guard<CPxMessageBlocks> block(PxMessageBlocks());
  // Another thread's side record waits with the messages it follows.
  if (m_pData->m_bHoldOthers && &threadMark != m_pData->m_pRunThreadMark) {
    m_pData->m_held.emplace_back(static_cast<EPxMsgType>(kind), text);
    return;
  }
  DeliverSide(sink, *m_pData, text, kind);
}

void CProbex::Run() {
  if (!PxCaseFilter().AllowsRun())
    return;
  CPxRecordViewScope recordView(m_pData->m_pView);
  OutputMessage("", PX_MSG_ETC);
  OutputMessage(PX_PRODUCT_NAME "  Ver" PX_VERSION_TEXT, PX_MSG_ETC);
  x_SetDecClass_QCoverageDisable();
  if (m_pData->m_strClassCaption.empty()) {
    OutputMessage(NPxText::kCaptionWarning, PX_MSG_ETC);
    OutputMessage("", PX_MSG_ETC);
    PxRunVerdict().NoteFailure();
    return;
  }
  OutputMessage("", PX_MSG_ETC);
  OutputMessage(m_pData->m_strClassCaption.c_str(), PX_MSG_CLASS_CAPTION);
  m_SendSideRecord(m_RecordSink(),
                   NPxNameRecord::Write(CPxCaseFilter::ClassNameOf(typeid(*this))).c_str(),
                   NPxSideKind::kClassName);
  CPxCaptionsHeldScope captionsHeld(*this, *m_pData);
  SetUp();
  RunMain();
  TearDown();
}

void CProbex::RunMain() {
  m_pMethodTable = m_pData->m_methods.data();
  int cases = 0;
  m_pData->m_bEndMethodPending = true;
  m_pData->m_nExceptions = 0;
  m_pData->m_nFailures = 0;
  m_pData->m_nAssertFailed = 0;
  {
    // Before the hook, which may let threads go that send.
    CPxHoldOthersScope holdOthers(*this, *m_pData);
    if (m_pData->m_pRunStartHook)
      m_pData->m_pRunStartHook(this);
    PxRunVerdict().NoteClassRan();
    const std::string className =
        PxCaseFilter().IsActive() ? CPxCaseFilter::ClassNameOf(typeid(*this)) : std::string();
    CProbexRecordSink* const recordSink = m_RecordSink();
    std::string caseName; // one buffer for every case's name record
    CPxRunningCaseScope running(this);
    for (int position = GetVirtualMethodCount(); m_HasMethodAt(position); ++position) {
      if (!m_IsSelected(position, className))
        continue;
      if (const char* name = m_pData->m_caseNames[static_cast<size_t>(position)]) {
        NPxNameRecord::Write(name, caseName);
        m_SendSideRecord(recordSink, caseName.c_str(), NPxSideKind::kCaseName);
      }
      const std::uint32_t t0 = NPxPlatform::GetTickCount();
      m_pData->m_bInCase = true;
      m_RunSub(position);
      m_CheckAssertCounter();
      if (!m_pData->m_bEndMethodPending) {
        TellCasesAfterEndMarker(*m_pData, position, typeid(*this));
        break;
      }
      const std::uint32_t t1 = NPxPlatform::GetTickCount();
      if (m_pData->m_pLastCaseEndHook && !CaseFollows(*m_pData, position, className)) {
        OpenCase(*m_pData);
        m_pData->m_pLastCaseEndHook(this);
      }
      m_EndCase(t1 - t0);
      ++cases;
      PxRunVerdict().NoteCaseRan();
    }
  }
  OutputMessage("", PX_MSG_ETC);
  OutputMessage(PxFormat("%s%d", NPxText::kResultCases, cases).c_str(), PX_MSG_CLASS_RESULT);
  OutputMessage(PxFormat("%s%d", NPxText::kResultExceptions, m_pData->m_nExceptions.load()).c_str(),
                PX_MSG_CLASS_RESULT);
  OutputMessage(PxFormat("%s%d", NPxText::kResultFailures, m_pData->m_nFailures.load()).c_str(),
                PX_MSG_CLASS_RESULT);
  if (m_pData->m_bEndMethodPending) {
    OutputMessage(NPxText::kEndMarkerWarning, PX_MSG_ETC);
    PxRunVerdict().NoteFailure();
  }
  OutputMessage("", PX_MSG_ETC);
}

// One group: what was held goes out inside the case, right before its
// time; after it, other threads wait for the next case again.
void CProbex::m_EndCase(std::uint32_t milliseconds) {
  CProbexData& data = *m_pData;
  std::lock_guard<CPxMessageBlocks> block(PxMessageBlocks());
  OpenCase(data);
  OutputMessage(PxFormat("%dms", static_cast<int>(milliseconds)).c_str(), PX_MSG_CASE_TIME);
  data.m_bInCase = false;
  data.m_bHoldOthers = true;
}

void CProbex::x_SetDecClass_QCoverageDisable() {}

void CProbex::SetUp() {}

void CProbex::TearDown() {}

int CProbex::GetVirtualMethodCount() {
  return kFrameworkSlots;
}

void CProbex::SetViewClass(CProbexView* view) {
  m_pData->m_pView = view;
}

void CProbex::x_SetEndMethodFlag() {
  m_pData->m_bEndMethodPending = false;
}

void CProbex::x_SetRunStartHook(PxRunStartHook hook) {
  m_pData->m_pRunStartHook = hook;
}

void CProbex::x_SetLastCaseEndHook(PxRunStartHook hook) {
  m_pData->m_pLastCaseEndHook = hook;
}

void CProbex::x_AddMethod(PxMethod method, const char* caseName) {
  // The table always ends with an empty entry; the new method takes its place.
  m_pData->m_methods.back() = method;
  m_pData->m_methods.push_back(nullptr);
  m_pData->m_caseNames.back() = caseName;
  m_pData->m_caseNames.push_back(nullptr);
}

void CProbex::x_AddFrameworkSlot() {
  x_AddMethod(&CProbex::m_FrameworkSlot);
}

void CProbex::m_FrameworkSlot() {}

bool CProbex::m_HasMethodAt(int position) const {
  // A position past the table reads as the empty entry that ends it.
  return position >= 0 && static_cast<size_t>(position) < m_pData->m_methods.size() &&
         m_pMethodTable[position] != nullptr;
}

bool CProbex::m_IsSelected(int position, const std::string& className) const {
  return IsSelected(*m_pData, position, className);
}

void CProbex::m_RunSub(int position) {
  // A handler the program installed since the last case comes after ours.
  NPxPlatform::ReclaimFatalHandlersEveryTick();
  (this->*m_pMethodTable[position])();
}
