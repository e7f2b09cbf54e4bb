#include "probex/suite/ProbexSuite.h"

#include "probex/base/PxFailureRow.h"
#include "probex/base/PxFormat.h"
#include "probex/base/PxTexts.h"
#include "probex/base/PxTranscriptLayout.h"
#include "probex/core/Probex.h"
#include "probex/core/PxCaseFilter.h"
#include "probex/view/ProbexRecordSink.h"
#include "probex/view/PxSideRoute.h"

#include <mutex>
#include <string>
#include <vector>

// What the suite's cases send to: messages go on to the suite as they are,
// side records where the suite's own messages go.
class CPxSuiteRelay : public CProbexView, public CProbexRecordSink {
public:
  CPxSuiteRelay(CProbexView& suite, CProbexView*& suiteView) : m_suite(suite), m_view(suiteView) {}
  void OutputMessage(const char* text, EPxMsgType kind) override {
    m_suite.OutputMessage(text, kind);
  }
  void OutputRecord(const char* text, unsigned kind) override {
    PxSendSideRecord(m_view, text, kind);
  }

private:
  CProbexView& m_suite;
  CProbexView*& m_view;
};

// The suite's collection is guarded: worker threads of a threaded case send
// their messages through the suite while the case runs.
class CProbexSuiteData {
public:
  explicit CProbexSuiteData(CProbexView& suite) : m_relay(suite, m_pView) {}
  std::vector<CProbex*> m_cases;
  std::vector<std::string> m_names;
  CProbexView* m_pView = nullptr;
  std::string m_strLastExpectLine;
  std::vector<std::string> m_results;
  std::mutex m_lock;
  CPxSuiteRelay m_relay;
};

CProbexSuite::CProbexSuite() : m_pData(new CProbexSuiteData(*this)) {}

CProbexSuite::CProbexSuite(CProbex& testCase, CProbexView* view) : m_pData(nullptr) {
  testCase.SetViewClass(view);
  testCase.Run();
  m_pData = new CProbexSuiteData(*this);
}

CProbexSuite::~CProbexSuite() {
  for (CProbex* testCase : m_pData->m_cases)
    delete testCase;
  delete m_pData;
}

void CProbexSuite::SetViewClass(CProbexView* view) {
  m_pData->m_pView = view;
}

void CProbexSuite::x_AddProbex(const char* name, CProbex* testCase) {
  m_pData->m_names.emplace_back(name ? name : "");
  m_pData->m_cases.push_back(testCase);
}

void CProbexSuite::Suite() {
  if (!PxCaseFilter().AllowsRun())
    return;
  {
    std::lock_guard<std::mutex> guard(m_pData->m_lock);
    m_pData->m_results.clear();
  }
  for (size_t i = 0; i < m_pData->m_cases.size(); ++i) {
    CProbex* testCase = m_pData->m_cases[i];
    if (!testCase)
      continue;
    const std::string className = PxFormat("%s", m_pData->m_names[i].c_str());
    testCase->SetViewClass(&m_pData->m_relay);
    testCase->OutputMessage("", PX_MSG_ETC);
    testCase->OutputMessage(className.c_str(), PX_MSG_CLASS_NAME);
    testCase->Run();
  }
  if (m_pData->m_pView)
    return;
  std::vector<std::string> results;
  {
    std::lock_guard<std::mutex> guard(m_pData->m_lock);
    results = m_pData->m_results;
  }
  OutputMessage("", PX_MSG_ETC);
  OutputMessage(NPxText::kSuiteResultsHeading, PX_MSG_ETC);
  OutputMessage("", PX_MSG_ETC);
  for (const std::string& line : results)
    OutputMessage(line.c_str(), PX_MSG_ETC);
  OutputMessage("", PX_MSG_ETC);
}

void CProbexSuite::OutputMessage(const char* text, EPxMsgType kind) {
  if (CProbexView* view = m_pData->m_pView) {
    view->OutputMessage(text, kind);
    return;
  }
  const char* shown = text ? text : "";
  {
    std::lock_guard<std::mutex> guard(m_pData->m_lock);
    std::vector<std::string>& results = m_pData->m_results;
    switch (kind) {
    case PX_MSG_TEST_EXPECT_LINE:
      m_pData->m_strLastExpectLine = shown;
      break;
    case PX_MSG_TEST_NG:
      results.push_back(m_pData->m_strLastExpectLine);
      results.push_back(NPxFailureRow::Write(shown));
      break;
    case PX_MSG_CLASS_NAME:
      results.emplace_back();
      results.push_back(NPxTranscriptLayout::Line(kind, shown));
      break;
    case PX_MSG_CLASS_RESULT:
      results.push_back(NPxTranscriptLayout::Line(kind, shown));
      break;
    default:
      break;
    }
  }
  CProbexView::OutputMessage(text, kind);
}
