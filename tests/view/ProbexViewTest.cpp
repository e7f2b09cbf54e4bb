// The default sink under a debugger: what only a sink in this process can
// show (pauses, kinds no program sends, null texts), and the switch between
// debugger and log decided afresh for each message.
#include "probex/view/ProbexView.h"
#include "common/PxDebuggerStandIn.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Events = std::vector<std::string>;

TEST(DebuggerRendering, EachLineArrivesWholeAndIsFollowedByAPauseButCoverageIsSilent) {
  const std::string longText(5000, 'x');
  CPxDebuggerStandIn debugger;
  CProbexView view;
  view.OutputMessage(longText.c_str(), PX_MSG_TEST_NG);
  view.OutputMessage(nullptr, PX_MSG_ETC);
  view.OutputMessage("odd kind", static_cast<EPxMsgType>(0x41424344u));
  view.OutputMessage("/a.cpp(4):", PX_MSG_TEST_LINE);
  for (EPxMsgType kind : {PX_MSG_COVERAGE_LINE, PX_MSG_COVERAGE_FUNC_IN, PX_MSG_COVERAGE_FUNC_OUT,
                          PX_MSG_COVERAGE_PASSABLE, PX_MSG_COVERAGE_COUNT})
    view.OutputMessage("?1,2(3", kind);
  EXPECT_EQ(debugger.Events(), (Events{"** " + longText + "\n\n", "<pause 10>", "\n", "<pause 10>",
                                       "odd kind\n", "<pause 10>", "", "<pause 10>"}));
}

TEST(DebuggerRendering, CopiesAreEquallyUsableAndADetachedDebuggerSendsTheNextMessageElsewhere) {
  CPxDebuggerStandIn debugger;
  CProbexView original;
  CProbexView copy(original);
  CProbexView assigned;
  assigned = copy;
  copy.OutputMessage("a", PX_MSG_ETC);
  assigned.OutputMessage("b", PX_MSG_ETC);
  debugger.SetAttached(false);
  original.OutputMessage("", PX_MSG_ETC);
  debugger.SetAttached(true);
  original.OutputMessage("c", PX_MSG_ETC);
  EXPECT_EQ(debugger.Output(), "a\nb\nc\n");
}

} // namespace
