// The run loop: what every shape of test class calls and sends, in order,
// and the exit status it leaves.
#include "common/PxDebuggerStandIn.h"
#include "common/PxRecordingSink.h"
#include "common/PxTestFiles.h"
#include "probex/core/Probex.h"
#include "probex/core/ProbexMacros.h"
#include "probex/core/PxExitStatus.h"
#include "probex/core/PxRunVerdict.h"
#include "probex/core/PxRunningCaseMap.h"
#include "probex/platform/platform.h"

#include <stdexcept>

namespace {

std::string g_calls; // what the classes below were called for, in order

class CTwoCases : public CProbex {
public:
  CTwoCases() { PX_CAPTION_CLASS("two cases"); }
  void SetUp() override { g_calls += "SetUp "; }
  void TearDown() override { g_calls += "TearDown "; }
  PX_CASE(First) {
    g_calls += "First ";
    x_SetTestCaption("first");
  }
  PX_CASE(Second);
  PX_DECLARATION_END();
};
void CTwoCases::Second() {
  g_calls += "Second ";
  x_SetTestCaption("second");
}

class CNeverCaptioned : public CProbex {
public:
  void SetUp() override { g_calls += "SetUp "; }
  PX_CASE(Case) { g_calls += "Case "; }
  PX_DECLARATION_END();
};

class CNullCaption : public CNeverCaptioned {
public:
  CNullCaption() { PX_CAPTION_CLASS(nullptr); }
};

class CClearedCaption : public CNeverCaptioned {
public:
  CClearedCaption() {
    PX_CAPTION_CLASS("set");
    PX_CAPTION_CLASS("");
  }
};

class COnlyEndMarker : public CProbex {
public:
  COnlyEndMarker() { PX_CAPTION_CLASS("empty"); }
  PX_DECLARATION_END();
};

class CNoEndMarker : public CProbex {
public:
  CNoEndMarker() { PX_CAPTION_CLASS("open"); }
  PX_CASE(Only) { g_calls += "Only "; }
};

class CNothingAtAll : public CProbex {
public:
  CNothingAtAll() { PX_CAPTION_CLASS("bare"); }
};

class CStopsEarly : public CProbex {
public:
  CStopsEarly() { PX_CAPTION_CLASS("stops"); }
  PX_CASE(Before) { g_calls += "Before "; }
  PX_CASE(Stopper) {
    g_calls += "Stopper ";
    x_SetEndMethodFlag();
  }
  PX_CASE(After) { g_calls += "After "; }
  PX_DECLARATION_END();
};

class CBase : public CProbex {
public:
  CBase() { PX_CAPTION_CLASS("base"); }
  PX_CASE(One) { g_calls += "Base::One "; }
  PX_CASE(Two) { g_calls += "Base::Two "; }
  PX_DECLARATION_END();
};

class CDerived : public CBase {
public:
  void One() override { g_calls += "Derived::One "; }
  PX_CASE(Three) { g_calls += "Derived::Three "; }
  PX_DECLARATION_END();
};

class CFailsOnce : public CProbex {
public:
  CFailsOnce() { PX_CAPTION_CLASS("fails once"); }
  int runs = 0;
  PX_CASE(Check) { PX_ASSERT(++runs > 1); }
  PX_DECLARATION_END();
};

class COverCounted : public CProbex {
public:
  COverCounted() { PX_CAPTION_CLASS("counted past the table"); }
  int GetVirtualMethodCount() override { return 1000; }
  PX_DECLARATION_END();
};

class CRegistryProbe : public CProbex {
public:
  CRegistryProbe() { PX_CAPTION_CLASS("probe"); }
  PX_CASE(Look) {
    g_calls +=
        g_mapRunningCase.Find(NPxPlatform::GetCurrentThreadId()) == this ? "found " : "lost ";
  }
  PX_DECLARATION_END();
};

// The messages of `runs` runs of one object, then the calls they made and
// the exit status they leave the process.
template <class T> std::string Transcript(const char* name, int runs = 1) {
  T test;
  CPxRecordingSink sink;
  test.SetViewClass(&sink);
  g_calls.clear();
  PxRunVerdict().Clear();
  for (int run = 0; run < runs; ++run)
    test.Run();
  const std::string status = std::to_string(PxExitStatus());
  PxRunVerdict().Clear();
  return std::string("== ") + name + "\n" + PxTranscript(sink.Messages()) + "calls " + g_calls +
         "\nexit status " + status + "\n";
}

TEST(RunLoop, EveryShapeOfClassSendsItsMessagesAndRunsItsCasesInOrder) {
  PxExpectApproved("core/approved/run-loop.txt",
                   Transcript<CTwoCases>("two cases") + Transcript<CNullCaption>("null caption") +
                       Transcript<CClearedCaption>("cleared caption") +
                       Transcript<CNeverCaptioned>("never captioned") +
                       Transcript<COnlyEndMarker>("only the end marker") +
                       Transcript<CNoEndMarker>("no end marker") +
                       Transcript<CNothingAtAll>("nothing at all") +
                       Transcript<CStopsEarly>("a case sets the end flag") +
                       Transcript<CDerived>("derived") + Transcript<CFailsOnce>("two runs", 2) +
                       Transcript<COverCounted>("first position past the table") +
                       Transcript<CRegistryProbe>("registry"));
  EXPECT_EQ(g_mapRunningCase.GetCount(), 0u);
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
  void TearDown() override { g_calls += "TearDown "; }
  PX_CASE(Throw) { throw std::runtime_error("boom"); }
  PX_DECLARATION_END();
};

TEST(RunLoop, ExceptionLeavesRunWithoutResultsAndLeavesNoRegistryEntry) {
  CPxRecordingSink sink;
  CThrows test;
  test.SetViewClass(&sink);
  g_calls.clear();
  EXPECT_THROW(test.Run(), std::runtime_error);
  EXPECT_EQ(g_calls, "");
  for (const SPxMessage& m : sink.Messages()) {
    EXPECT_NE(m.kind, PX_MSG_CASE_TIME);
    EXPECT_NE(m.kind, PX_MSG_CLASS_RESULT);
  }
  EXPECT_EQ(g_mapRunningCase.GetCount(), 0u);
}

} // namespace
