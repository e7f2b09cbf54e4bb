// Where a run stands after each record: what the "End." record of a process
// that dies there names.
#include "probex/base/PxRunPosition.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace {

TEST(RunPosition, ClassesAndCasesOpenAndCloseByTheirKindsAndLongCaptionsAreCut) {
  const std::string longCaption(200, 'c');
  const struct {
    EPxMsgType kind;
    const char* text;
    std::string classCaption, caseCaption;
    int caseNumber;
    bool classOpen;
  } steps[] = {
      {PX_MSG_ETC, "banner", "", "", 1, false},
      {PX_MSG_CLASS_CAPTION, "first", "first", "", 1, true},
      {PX_MSG_CASE_CAPTION, "one", "first", "one", 1, true},
      {PX_MSG_TEST_NG, "failed", "first", "one", 1, true},
      {PX_MSG_CASE_TIME, "3ms", "first", "", 2, true},
      {PX_MSG_CASE_LINE, "f.cpp(9):", "first", "", 2, true}, // a case without a caption
      {PX_MSG_CASE_TIME, "1ms", "first", "", 3, true},
      {PX_MSG_CASE_CAPTION, longCaption.c_str(), "first", longCaption.substr(0, 159), 3, true},
      {PX_MSG_CLASS_RESULT, "Failures \t1", "first", longCaption.substr(0, 159), 3, false},
      {PX_MSG_CLASS_NAME, "CSecond", "first", longCaption.substr(0, 159), 3, false},
      {PX_MSG_CLASS_CAPTION, longCaption.c_str(), longCaption.substr(0, 159), "", 1, true},
  };
  CPxRunPosition position;
  for (const auto& step : steps) {
    SCOPED_TRACE(step.text);
    position.Follow(step.kind, step.text);
    EXPECT_EQ(
        std::make_tuple(std::string(position.ClassCaption()), std::string(position.CaseCaption()),
                        position.CaseNumber(), position.IsClassOpen()),
        std::make_tuple(step.classCaption, step.caseCaption, step.caseNumber, step.classOpen));
  }
}

} // namespace
