#include "probex/core/PxRunNotices.h"

#include "probex/base/PxNoCaseRun.h"
#include "probex/core/PxCaseFilter.h"
#include "probex/core/PxRunVerdict.h"
#include "probex/platform/Process.h"

namespace {

const char kCaption[] = "Probex";

} // namespace

void PxTellCasesAfterEndMarker(const std::string& className,
                               const std::vector<std::string>& cases) {
  std::string names;
  for (const std::string& name : cases)
    names += (names.empty() ? "" : ", ") + name;
  NPxPlatform::WriteNotice(
      kCaption, (className + " declares cases after the end marker of a class it derives from, " +
                 "and they never run: " + names +
                 ". Derive the test class from a fixture base class without " +
                 "PX_DECLARATION_END(), and end the test class with it.")
                    .c_str());
  PxRunVerdict().NoteFailure();
}

bool PxNoCaseRan() {
  CPxRunVerdict& verdict = PxRunVerdict();
  const CPxCaseFilter& filter = PxCaseFilter();
  if (verdict.CaseRan() || !filter.GetProblem().empty() || NPxNoCaseRun::Allowed())
    return false;
  if (verdict.TakeNoCaseNotice()) {
    const std::string why =
        filter.IsActive()    ? "PROBEX_FILTER '" + filter.GetText() + "' matches none of its cases"
        : verdict.ClassRan() ? std::string("its test classes declare none")
                             : std::string("no test class ran");
    NPxPlatform::WriteNotice(kCaption, (std::string(NPxNoCaseRun::kNoCaseRan) + ": " + why + ". " +
                                        NPxNoCaseRun::kAllowHint)
                                           .c_str());
  }
  return true;
}
