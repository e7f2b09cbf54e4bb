// Where a run stands after each record: what the "End." record of a process
// that dies there names. The names come from side records, which a log
// may lack: the position then has none.
#include "probex/base/PxRunPosition.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace {

TEST(RunPosition, ClassesAndCasesOpenAndCloseByTheirKindsAndLongCaptionsAreCut) {
  const std::string longCaption(200, 'c');
  const struct {
    unsigned kind;
    const char* text;
    std::string classCaption, caseCaption;
    int caseNumber;
    bool classOpen;
    std::string className, caseName;
  } steps[] = {
      {PX_MSG_ETC, "banner", "", "", 1, false, "", ""},
      {PX_MSG_CLASS_CAPTION, "first", "first", "", 1, true, "", ""},
      {NPxSideKind::kClassName, "CFirst", "first", "", 1, true, "CFirst", ""},
      {NPxSideKind::kCaseName, "One", "first", "", 1, true, "CFirst", "One"},
      {PX_MSG_CASE_CAPTION, "one", "first", "one", 1, true, "CFirst", "One"},
      {PX_MSG_TEST_NG, "failed", "first", "one", 1, true, "CFirst", "One"},
      {PX_MSG_CASE_TIME, "3ms", "first", "", 2, true, "CFirst", ""},
      {PX_MSG_CASE_LINE, "f.cpp(9):", "first", "", 2, true, "CFirst", ""}, // no caption, no name
      {PX_MSG_CASE_TIME, "1ms", "first", "", 3, true, "CFirst", ""},
      {NPxSideKind::kCaseName, longCaption.c_str(), "first", "", 3, true, "CFirst",
       longCaption.substr(0, 159)},
      {PX_MSG_CASE_CAPTION, longCaption.c_str(), "first", longCaption.substr(0, 159), 3, true,
       "CFirst", longCaption.substr(0, 159)},
      {PX_MSG_CLASS_RESULT, "Failures \t1", "first", longCaption.substr(0, 159), 3, false, "CFirst",
       longCaption.substr(0, 159)},
      {PX_MSG_CLASS_NAME, "CSecond", "first", longCaption.substr(0, 159), 3, false, "CFirst",
       longCaption.substr(0, 159)},
      // A new class forgets the last one's names until its own come.
      {PX_MSG_CLASS_CAPTION, longCaption.c_str(), longCaption.substr(0, 159), "", 1, true, "", ""},
  };
  CPxRunPosition position;
  for (const auto& step : steps) {
    SCOPED_TRACE(step.text);
    position.Follow(step.kind, step.text);
    EXPECT_EQ(std::make_tuple(std::string(position.ClassCaption()),
                              std::string(position.CaseCaption()), position.CaseNumber(),
                              position.IsClassOpen(), std::string(position.ClassName()),
                              std::string(position.CaseName())),
              std::make_tuple(step.classCaption, step.caseCaption, step.caseNumber, step.classOpen,
                              step.className, step.caseName));
  }
}

} // namespace
