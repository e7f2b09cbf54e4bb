// The process's case filter and exit status: which cases run, what the
// results block then counts, and what the process reports at its end.
#include "probex/core/PxCaseFilter.h"
#include "common/PxRecordingSink.h"
#include "common/PxTestFiles.h"
#include "probex/core/Probex.h"
#include "probex/core/ProbexMacros.h"
#include "probex/core/PxExitStatus.h"
#include "probex/core/PxRunVerdict.h"
#include "probex/suite/ProbexSuite.h"

#include <gtest/gtest.h>

#include <thread>
#include <typeinfo>
#include <vector>

namespace {

using Messages = std::vector<SPxMessage>;

// Runs the test case with a recording sink attached; returns what it sent.
Messages RunRecorded(CProbex& test) {
  CPxRecordingSink sink;
  test.SetViewClass(&sink);
  test.Run();
  test.SetViewClass(nullptr);
  return sink.Messages();
}

class CFiltered : public CProbex {
public:
  CFiltered() { PX_CAPTION_CLASS("filtered"); }
  std::vector<std::string> calls;
  PX_CASE(Alpha) { calls.push_back("Alpha"); }
  PX_CASE(Beta) { calls.push_back("Beta"); }
  PX_CASE(Gamma) { calls.push_back("Gamma"); }
  PX_DECLARATION_END();
};

// Sets the process's filter for one test and puts "no filter" back.
class CFilterScope {
public:
  explicit CFilterScope(const char* text) { PxCaseFilter() = CPxCaseFilter(text); }
  ~CFilterScope() { PxCaseFilter() = CPxCaseFilter(); }
};

// Each filter with the cases that ran, what the results block counted, how
// many messages the class sent alone and in a suite, and the exit status: a
// filter that cannot be read runs nothing and sends nothing.
TEST(CaseFilter, SelectsExcludesOrRefusesAndCountsOnlyWhatRan) {
  std::string all;
  for (const char* filter :
       {static_cast<const char*>(nullptr), "", "CFiltered.Beta", "*.?amma:CFiltered.Alpha",
        "CFil*-*.Beta", "-*a:Other.*", "Other.*", "CFiltered.*-*.*", "CFiltered",
        "CFiltered.Beta:", "-", "A.b-C.d-E.f", "CFiltered.B eta", "a.b.c"}) {
    CFilterScope scope(filter);
    PxRunVerdict().Clear();
    CFiltered test;
    const Messages messages = RunRecorded(test);
    CPxRecordingSink sink;
    CProbexSuite suite;
    suite.SetViewClass(&sink);
    PX_ADD(suite, CFiltered);
    suite.Suite();
    all += std::string(filter ? filter : "(unset)") + " ran";
    for (const std::string& call : test.calls)
      all += " " + call;
    for (const SPxMessage& message : messages)
      if (message.kind == PX_MSG_CLASS_RESULT && message.text.rfind("Case", 0) == 0)
        all += ", counted " + message.text;
    all += ", sent " + std::to_string(messages.size()) + " alone and " +
           std::to_string(sink.Messages().size()) + " in a suite, exit status " +
           std::to_string(PxExitStatus()) + "\n";
  }
  PxRunVerdict().Clear();
  PxExpectApproved("core/approved/case-filter.txt", all);
}

namespace NOuter {
struct SInner {};
template <typename T> struct STemplated {};
} // namespace NOuter

TEST(CaseFilter, KnowsAClassByItsNameWithoutNamespacesOrTemplateArguments) {
  EXPECT_EQ(CPxCaseFilter::ClassNameOf(typeid(CFiltered)), "CFiltered");
  EXPECT_EQ(CPxCaseFilter::ClassNameOf(typeid(NOuter::STemplated<NOuter::SInner>)),
            "STemplated<(anonymous namespace)::NOuter::SInner>");
}

// A false ASSERT of the code under test, expected by a count check ('e') or
// left after the case ('c'), and a check failed on another thread ('t').
class CVerdictProbe : public CProbex {
public:
  explicit CVerdictProbe(char how) : m_how(how) { PX_CAPTION_CLASS("verdict"); }
  PX_CASE(Body) {
    if (m_how == 't')
      std::thread([this] { PX_ASSERT(m_how != 't'); }).join();
    else
      NPxCoverage::OnAssertFailedLine(__FILE__, __LINE__);
    if (m_how == 'e')
      PX_ASSERT_COUNT(1);
  }
  PX_DECLARATION_END();

private:
  const char m_how;
};

// Each shape of class leaves its status in the run loop's transcript too.
TEST(ExitStatus, AnyFailureOfTheProcessSticksAcrossThreadsAndCountsOnlyWhatNoCheckExpects) {
  for (const auto& [how, status] : {std::pair{'e', 0}, std::pair{'c', 1}, std::pair{'t', 1}}) {
    PxRunVerdict().Clear();
    CVerdictProbe test(how);
    RunRecorded(test);
    EXPECT_EQ(PxExitStatus(), status) << how;
  }
  PxRunVerdict().Clear();
}

} // namespace
