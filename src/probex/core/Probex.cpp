#include "probex/core/Probex.h"

#include "probex/base/PxFormat.h"
#include "probex/base/PxNameRecord.h"
#include "probex/base/PxSideKind.h"
#include "probex/base/PxTexts.h"
#include "probex/core/ProbexData.h"
#include "probex/core/PxCaseFilter.h"
#include "probex/core/PxMessageBlocks.h"
#include "probex/core/PxRunNotices.h"
#include "probex/core/PxRunVerdict.h"
#include "probex/core/PxRunningCaseMap.h"
#include "probex/platform/platform.h"
#include "probex/view/ProbexRecordSink.h"
#include "probex/view/PxRecordChannel.h"
#include "probex/view/PxSideRoute.h"

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
  blocks.Count();
  if (m_pData->m_pView)
    m_pData->m_pView->OutputMessage(text, kind);
  else
    CProbexView::OutputMessage(text, kind);
}

CProbexRecordSink* CProbex::m_RecordSink() {
  return m_pData->m_pView ? PxRecordSinkOf(m_pData->m_pView)
                          : dynamic_cast<CProbexRecordSink*>(this);
}

void CProbex::m_SendSideRecord(CProbexRecordSink* sink, const char* text, unsigned kind) {
  std::lock_guard<CPxMessageBlocks> block(PxMessageBlocks());
  if (sink)
    sink->OutputRecord(text, kind);
  else
    PxWriteSideRecord(m_pData->m_pView, text, kind);
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
  if (m_pData->m_pRunStartHook)
    m_pData->m_pRunStartHook(this);
  PxRunVerdict().NoteClassRan();
  const std::string className =
      PxCaseFilter().IsActive() ? CPxCaseFilter::ClassNameOf(typeid(*this)) : std::string();
  CProbexRecordSink* const recordSink = m_RecordSink();
  std::string caseName; // one buffer for every case's name record
  {
    CPxRunningCaseScope running(this);
    for (int position = GetVirtualMethodCount(); m_HasMethodAt(position); ++position) {
      if (!m_IsSelected(position, className))
        continue;
      if (const char* name = m_pData->m_caseNames[static_cast<size_t>(position)]) {
        NPxNameRecord::Write(name, caseName);
        m_SendSideRecord(recordSink, caseName.c_str(), NPxSideKind::kCaseName);
      }
      const std::uint32_t t0 = NPxPlatform::GetTickCount();
      m_RunSub(position);
      m_CheckAssertCounter();
      if (!m_pData->m_bEndMethodPending) {
        TellCasesAfterEndMarker(*m_pData, position, typeid(*this));
        break;
      }
      const std::uint32_t t1 = NPxPlatform::GetTickCount();
      OutputMessage(PxFormat("%dms", static_cast<int>(t1 - t0)).c_str(), PX_MSG_CASE_TIME);
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
  const char* caseName = m_pData->m_caseNames[static_cast<size_t>(position)];
  return !caseName || PxCaseFilter().Selects(className, caseName);
}

void CProbex::m_RunSub(int position) {
  // A handler the program installed since the last case comes after ours.
  NPxPlatform::ReclaimFatalHandlersEveryTick();
  (this->*m_pMethodTable[position])();
}
