// The run loop: which messages a test class sends, in which order.
#include "common/PxDebuggerStandIn.h"
#include "common/PxRecordingSink.h"
#include "probex/core/Probex.h"
#include "probex/core/ProbexMacros.h"
#include "probex/core/PxCaseFilter.h"
#include "probex/core/PxExitStatus.h"
#include "probex/core/PxRunVerdict.h"
#include "probex/core/PxRunningCaseMap.h"
#include "probex/platform/platform.h"
#include "probex/suite/ProbexSuite.h"

#include <gtest/gtest.h>

#include <functional>
#include <regex>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

using Messages = std::vector<SPxMessage>;

const SPxMessage kBlank{PX_MSG_ETC, ""};
const SPxMessage kBanner{PX_MSG_ETC, "Probex  Ver1.40"};

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

// Every time line, once checked to be a number and "ms", as "<time>", so
// sequences compare exactly.
Messages WithoutTimes(Messages messages) {
  for (SPxMessage& m : messages) {
    if (m.kind == PX_MSG_CASE_TIME) {
      EXPECT_TRUE(std::regex_match(m.text, std::regex("[0-9]+ms"))) << m.text;
      m.text = "<time>";
    }
  }
  return messages;
}

class CTwoCases : public CProbex {
public:
  CTwoCases() { PX_CAPTION_CLASS("two cases"); }
  std::vector<std::string> calls;
  void SetUp() override { calls.push_back("SetUp"); }
  void TearDown() override { calls.push_back("TearDown"); }
  PX_CASE(First) {
    calls.push_back("First");
    x_SetTestCaption("first");
  }
  PX_CASE(Second);
  PX_DECLARATION_END();
};
void CTwoCases::Second() {
  calls.push_back("Second");
  x_SetTestCaption("second");
}

TEST(RunLoop, CaptionedClassWithTwoCasesSendsBannerCaptionCasesAndResults) {
  CTwoCases test;
  const Messages messages = RunRecorded(test);
  const Messages expected{kBlank,
                          kBanner,
                          kBlank,
                          {PX_MSG_CLASS_CAPTION, "two cases"},
                          {PX_MSG_TEST_CAPTION, "first"},
                          {PX_MSG_CASE_TIME, "<time>"},
                          {PX_MSG_TEST_CAPTION, "second"},
                          {PX_MSG_CASE_TIME, "<time>"},
                          kBlank,
                          Result("Case     ", 2),
                          Result("Exception", 0),
                          Result("Failures ", 0),
                          kBlank};
  EXPECT_EQ(WithoutTimes(messages), expected);
  EXPECT_EQ(test.calls, (std::vector<std::string>{"SetUp", "First", "Second", "TearDown"}));
}

class CNoCaption : public CProbex {
public:
  bool setUp = false, tearDown = false, ran = false;
  void SetUp() override { setUp = true; }
  void TearDown() override { tearDown = true; }
  PX_CASE(Case) { ran = true; }
  PX_DECLARATION_END();
};

class CNullCaption : public CNoCaption {
public:
  CNullCaption() { PX_CAPTION_CLASS(nullptr); }
};

class CClearedCaption : public CNoCaption {
public:
  CClearedCaption() {
    PX_CAPTION_CLASS("set");
    PX_CAPTION_CLASS("");
  }
};

template <typename T> void ExpectCaptionWarningOnly() {
  T test;
  const Messages messages = RunRecorded(test);
  ASSERT_EQ(messages.size(), 4u);
  EXPECT_EQ(messages[0], kBlank);
  EXPECT_EQ(messages[1], kBanner);
  EXPECT_EQ(messages[2].kind, PX_MSG_ETC);
  EXPECT_EQ(messages[2].text.rfind("Warning:", 0), 0u);
  EXPECT_NE(messages[2].text.find("PX_CAPTION_CLASS()"), std::string::npos);
  EXPECT_EQ(messages[3], kBlank);
  EXPECT_FALSE(test.setUp || test.ran || test.tearDown);
}

TEST(RunLoop, ClassWithoutCaptionSendsExactlyFourMessagesAndRunsNothing) {
  ExpectCaptionWarningOnly<CNoCaption>();
  ExpectCaptionWarningOnly<CNullCaption>();
  ExpectCaptionWarningOnly<CClearedCaption>();
}

class COnlyEndMarker : public CProbex {
public:
  COnlyEndMarker() { PX_CAPTION_CLASS("empty"); }
  PX_DECLARATION_END();
};

class CNoEndMarker : public CProbex {
public:
  CNoEndMarker() { PX_CAPTION_CLASS("open"); }
  PX_CASE(Only) {}
};

class CNothingAtAll : public CProbex {
public:
  CNothingAtAll() { PX_CAPTION_CLASS("bare"); }
};

Messages ResultBlock(const Messages& all) {
  // From the blank line that opens the results block to the end.
  for (size_t i = all.size(); i-- > 0;) {
    if (all[i].kind == PX_MSG_CLASS_RESULT && all[i].text.rfind("Case", 0) == 0)
      return Messages(all.begin() + static_cast<long>(i) - 1, all.end());
  }
  return {};
}

TEST(RunLoop, EndMarkerAndItsAbsence) {
  COnlyEndMarker empty;
  const Messages messages = RunRecorded(empty);
  const Messages zero{kBlank, Result("Case     ", 0), Result("Exception", 0),
                      Result("Failures ", 0), kBlank};
  EXPECT_EQ(ResultBlock(messages), zero);
  for (const SPxMessage& m : messages)
    EXPECT_NE(m.kind, PX_MSG_CASE_TIME);

  CNoEndMarker open;
  Messages block = ResultBlock(RunRecorded(open));
  ASSERT_EQ(block.size(), 6u);
  EXPECT_EQ(block[1], Result("Case     ", 1));
  EXPECT_EQ(block[4].kind, PX_MSG_ETC);
  EXPECT_EQ(block[4].text.rfind("Warrning;", 0), 0u);
  EXPECT_NE(block[4].text.find("PX_DECLARATION_END()"), std::string::npos);
  EXPECT_EQ(block[5], kBlank);

  CNothingAtAll bare;
  block = ResultBlock(RunRecorded(bare));
  ASSERT_EQ(block.size(), 6u);
  EXPECT_EQ(block[1], Result("Case     ", 0));
  EXPECT_EQ(block[4].text.rfind("Warrning;", 0), 0u);
}

class CStopsEarly : public CProbex {
public:
  CStopsEarly() { PX_CAPTION_CLASS("stops"); }
  std::vector<std::string> calls;
  PX_CASE(Before) { calls.push_back("Before"); }
  PX_CASE(Stopper) {
    calls.push_back("Stopper");
    x_SetEndMethodFlag();
  }
  PX_CASE(After) { calls.push_back("After"); }
  PX_DECLARATION_END();
};

TEST(RunLoop, CaseThatSetsTheEndFlagEndsTheLoopUntimedAndUncounted) {
  CStopsEarly test;
  const Messages messages = RunRecorded(test);
  EXPECT_EQ(test.calls, (std::vector<std::string>{"Before", "Stopper"}));
  int times = 0;
  for (const SPxMessage& m : messages)
    times += m.kind == PX_MSG_CASE_TIME;
  EXPECT_EQ(times, 1);
  EXPECT_EQ(ResultBlock(messages)[1], Result("Case     ", 1));
}

class CBase : public CProbex {
public:
  CBase() { PX_CAPTION_CLASS("base"); }
  std::vector<std::string> calls;
  PX_CASE(One) { calls.push_back("Base::One"); }
  PX_CASE(Two) { calls.push_back("Base::Two"); }
  PX_DECLARATION_END();
};

class CDerived : public CBase {
public:
  void One() override { calls.push_back("Derived::One"); }
  PX_CASE(Three) { calls.push_back("Derived::Three"); }
  PX_DECLARATION_END();
};

TEST(RunLoop, OverridesRunInPlaceAndCasesAfterTheBaseEndMarkerNever) {
  CDerived test;
  const Messages messages = RunRecorded(test);
  EXPECT_EQ(test.calls, (std::vector<std::string>{"Derived::One", "Base::Two"}));
  EXPECT_EQ(ResultBlock(messages)[1], Result("Case     ", 2));
}

class CFailsOnce : public CProbex {
public:
  CFailsOnce() { PX_CAPTION_CLASS("fails once"); }
  int runs = 0;
  PX_CASE(Check) { PX_ASSERT(++runs > 1); }
  PX_DECLARATION_END();
};

TEST(RunLoop, EachRunReportsItsOwnCounts) {
  CFailsOnce test;
  const Messages messages = RunRecorded(test);
  EXPECT_EQ(ResultBlock(messages)[3], Result("Failures ", 1));
  EXPECT_EQ(ResultBlock(RunRecorded(test))[3], Result("Failures ", 0));
}

TEST(RunLoop, DetachingTheSinkRestoresTheDefault) {
  CPxDebuggerStandIn debugger;
  CPxRecordingSink sink;
  COnlyEndMarker test;
  test.SetViewClass(&sink);
  test.Run();
  const size_t seen = sink.Messages().size();
  EXPECT_TRUE(debugger.Output().empty());
  test.SetViewClass(nullptr);
  test.Run();
  EXPECT_EQ(sink.Messages().size(), seen);
  EXPECT_NE(debugger.Output().find("[empty]\n"), std::string::npos);
}

class CThrows : public CProbex {
public:
  CThrows() { PX_CAPTION_CLASS("throws"); }
  bool tornDown = false;
  void TearDown() override { tornDown = true; }
  PX_CASE(Throw) { throw std::runtime_error("boom"); }
  PX_DECLARATION_END();
};

TEST(RunLoop, ExceptionLeavesRunWithoutResultsAndLeavesNoRegistryEntry) {
  CPxRecordingSink sink;
  CThrows test;
  test.SetViewClass(&sink);
  EXPECT_THROW(test.Run(), std::runtime_error);
  EXPECT_FALSE(test.tornDown);
  for (const SPxMessage& m : sink.Messages()) {
    EXPECT_NE(m.kind, PX_MSG_CASE_TIME);
    EXPECT_NE(m.kind, PX_MSG_CLASS_RESULT);
  }
  EXPECT_EQ(g_mapRunningCase.GetCount(), 0u);
}

class CRegistryProbe : public CProbex {
public:
  CRegistryProbe() { PX_CAPTION_CLASS("probe"); }
  CProbex* seen = nullptr;
  PX_CASE(Look) { seen = g_mapRunningCase.Find(NPxPlatform::GetCurrentThreadId()); }
  PX_DECLARATION_END();
};

TEST(RunLoop, RegistryNamesTheCaseOnlyWhileItRuns) {
  CRegistryProbe test;
  const Messages messages = RunRecorded(test);
  EXPECT_EQ(test.seen, &test);
  EXPECT_EQ(g_mapRunningCase.GetCount(), 0u);
}

class COverCounted : public CProbex {
public:
  COverCounted() { PX_CAPTION_CLASS("counted past the table"); }
  int GetVirtualMethodCount() override { return 1000; }
  PX_DECLARATION_END();
};

TEST(RunLoop, FirstPositionPastTheTableRunsNothing) {
  COverCounted test;
  const Messages messages = RunRecorded(test);
  EXPECT_EQ(ResultBlock(messages)[1], Result("Case     ", 0));
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
    const Messages block = ResultBlock(messages);
    ASSERT_EQ(block.size(), 5u) << "the end marker still closes the class";
    EXPECT_EQ(block[1], Result("Case     ", static_cast<int>(row.ran.size())));
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

class CVerdictProbe : public CProbex {
public:
  CVerdictProbe() { PX_CAPTION_CLASS("verdict"); }
  std::function<void(CVerdictProbe&)> body;
  void Check(bool ok) { PX_ASSERT(ok); }
  void CountOne() { NPxCoverage::OnAssertFailedLine(__FILE__, __LINE__); }
  void ExpectCount(int n) { PX_ASSERT_COUNT(n); }
  PX_CASE(Body) { body(*this); }
  PX_DECLARATION_END();
};

TEST(ExitStatus, AnyFailureOfTheProcessSticksAcrossRunsAndThreads) {
  using Step = std::function<void()>;
  const auto probe = [](std::function<void(CVerdictProbe&)> body) {
    return [body] {
      CVerdictProbe test;
      test.body = body;
      RunRecorded(test);
    };
  };
  const struct {
    const char* what;
    std::vector<Step> steps;
    int status;
  } rows[] = {
      {"passing checks", {probe([](CVerdictProbe& t) { t.Check(true); })}, 0},
      {"one failed check", {probe([](CVerdictProbe& t) { t.Check(false); })}, 1},
      {"a false ASSERT that a count check expects",
       {probe([](CVerdictProbe& t) {
         t.CountOne();
         t.ExpectCount(1);
       })},
       0},
      {"a false ASSERT left after the case", {probe([](CVerdictProbe& t) { t.CountOne(); })}, 1},
      {"a failure in one run, a pass in the next",
       {probe([](CVerdictProbe& t) { t.Check(false); }),
        probe([](CVerdictProbe& t) { t.Check(true); })},
       1},
      {"a failure made on another thread",
       {probe([](CVerdictProbe& t) { std::thread([&t] { t.Check(false); }).join(); })},
       1},
      {"no end marker",
       {[] {
         CNoEndMarker test;
         RunRecorded(test);
       }},
       1},
      {"no caption",
       {[] {
         CNoCaption test;
         RunRecorded(test);
       }},
       1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    PxRunVerdict().Clear();
    for (const Step& step : row.steps)
      step();
    EXPECT_EQ(PxExitStatus(), row.status);
  }
  PxRunVerdict().Clear();
}

} // namespace
