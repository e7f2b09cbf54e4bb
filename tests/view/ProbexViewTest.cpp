// The debugger rendering of every kind, and the switch between debugger and
// log decided afresh for each message.
#include "probex/view/ProbexView.h"
#include "common/PxDebuggerStandIn.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Events = std::vector<std::string>;

Events Render(const char* text, EPxMsgType kind) {
  CPxDebuggerStandIn debugger;
  CProbexView().OutputMessage(text, kind);
  return debugger.Events();
}

TEST(DebuggerRendering, EachKindHasItsLineFollowedByAPause) {
  const struct {
    EPxMsgType kind;
    const char* text;
    const char* line;
  } cases[] = {
      {PX_MSG_ETC, "banner", "banner\n"},
      {PX_MSG_ETC, "", "\n"},
      {PX_MSG_CLASS_CAPTION, "cap", "[cap]\n"},
      {PX_MSG_CLASS_NAME, "CTestA", ">>>> CTestA\n"},
      {PX_MSG_CLASS_RESULT, "Case     \t2", ">> Case     \t2\n"},
      {PX_MSG_CASE_LINE, "/a.cpp(3):", ""},
      {PX_MSG_CASE_CAPTION, "case", "-----case\n"},
      {PX_MSG_CASE_TIME, "12ms", "             -->Time 12ms\n\n"},
      {PX_MSG_TEST_CAPTION, "check", "check\n"},
      {PX_MSG_TEST_LINE, "/a.cpp(4):", ""},
      {PX_MSG_TEST_EXPECT_LINE, "/a.cpp(5):", "/a.cpp(5):<\n"},
      {PX_MSG_TEST_EXPRESSION, "a == b", "a == b\n"},
      {PX_MSG_TEST_OK, "whatever it says", "\n"},
      {PX_MSG_TEST_NG, "bad", "** bad\n\n"},
      {PX_MSG_TEST_NG, "", "** \n\n"},
      {static_cast<EPxMsgType>(0x41424344u), "odd kind", "odd kind\n"},
      {PX_MSG_ETC, nullptr, "\n"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Render(c.text, c.kind), (Events{c.line, "<pause 10>"})) << c.line;
}

TEST(DebuggerRendering, CoverageKindsAreSilentAndTakeNoPause) {
  for (EPxMsgType kind : {PX_MSG_COVERAGE_LINE, PX_MSG_COVERAGE_FUNC_IN, PX_MSG_COVERAGE_FUNC_OUT,
                          PX_MSG_COVERAGE_PASSABLE, PX_MSG_COVERAGE_COUNT})
    EXPECT_TRUE(Render("?1,2(3", kind).empty());
}

TEST(DebuggerRendering, LongTextArrivesWholeInOneCall) {
  const std::string text(5000, 'x');
  const Events events = Render(text.c_str(), PX_MSG_TEST_NG);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0], "** " + text + "\n\n");
}

TEST(DebuggerRendering, CopiesAreEquallyUsable) {
  CPxDebuggerStandIn debugger;
  CProbexView original;
  CProbexView copy(original);
  CProbexView assigned;
  assigned = copy;
  copy.OutputMessage("a", PX_MSG_ETC);
  assigned.OutputMessage("b", PX_MSG_ETC);
  original.OutputMessage("c", PX_MSG_ETC);
  EXPECT_EQ(debugger.Output(), "a\nb\nc\n");
}

TEST(DebuggerRendering, DetachedDebuggerSendsTheNextMessageElsewhere) {
  CPxDebuggerStandIn debugger;
  CProbexView view;
  view.OutputMessage("seen", PX_MSG_ETC);
  debugger.SetAttached(false);
  view.OutputMessage("", PX_MSG_ETC);
  debugger.SetAttached(true);
  view.OutputMessage("seen again", PX_MSG_ETC);
  EXPECT_EQ(debugger.Output(), "seen\nseen again\n");
}

} // namespace
