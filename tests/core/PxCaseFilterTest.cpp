// The process's case filter and exit status: which cases run, what the
// results block then counts, and what the process reports at its end.
#include "probex/core/PxCaseFilter.h"
#include "common/PxRecordingSink.h"
#include "probex/core/Probex.h"
#include "probex/core/ProbexMacros.h"
#include "probex/core/PxExitStatus.h"
#include "probex/core/PxRunVerdict.h"
#include "probex/suite/ProbexSuite.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <typeinfo>
#include <vector>

namespace {

using Messages = std::vector<SPxMessage>;

SPxMessage Result(const char* label, int count) {
  return {PX_MSG_CLASS_RESULT, std::string(label) + "\t" + std::to_string(count)};
}

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

TEST(CaseFilter, SelectsExcludesOrRefusesAndCountsOnlyWhatRan) {
  const struct {
    const char* filter;
    std::vector<std::string> ran; // {"refused"}: nothing at all is sent
  } rows[] = {
      {nullptr, {"Alpha", "Beta", "Gamma"}},
      {"", {"Alpha", "Beta", "Gamma"}},
      {"CFiltered.Beta", {"Beta"}},
      {"*.?amma:CFiltered.Alpha", {"Alpha", "Gamma"}},
      {"CFil*-*.Beta", {"Alpha", "Gamma"}},
      {"-*a:Other.*", {}},
      {"Other.*", {}},
      {"CFiltered.*-*.*", {}},
      {"CFiltered", {"refused"}},
      {"CFiltered.Beta:", {"refused"}},
      {"-", {"refused"}},
      {"A.b-C.d-E.f", {"refused"}},
      {"CFiltered.B eta", {"refused"}},
      {"a.b.c", {"refused"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.filter ? row.filter : "(unset)");
    CFilterScope scope(row.filter);
    PxRunVerdict().Clear();
    CFiltered test;
    const Messages messages = RunRecorded(test);
    const bool refused = row.ran == std::vector<std::string>{"refused"};
    EXPECT_EQ(PxExitStatus(), refused ? 1 : 0);
    if (refused) {
      EXPECT_TRUE(messages.empty());
      EXPECT_TRUE(test.calls.empty());
      CPxRecordingSink sink;
      CProbexSuite suite;
      suite.SetViewClass(&sink);
      PX_ADD(suite, CFiltered);
      suite.Suite();
      EXPECT_TRUE(sink.Messages().empty()) << "a suite runs nothing either";
      continue;
    }
    EXPECT_EQ(test.calls, row.ran);
    // The end marker still closes the class with its results.
    EXPECT_EQ(std::count(messages.begin(), messages.end(),
                         Result("Case     ", static_cast<int>(row.ran.size()))),
              1);
  }
  PxRunVerdict().Clear();
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
