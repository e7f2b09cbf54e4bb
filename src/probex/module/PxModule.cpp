// The library's process-wide objects, defined together so that load builds
// them in this order and unload destroys them in the reverse one.
#include "probex/base/PxLasting.h"
#include "probex/core/PxCaseFilter.h"
#include "probex/core/PxMessageBlocks.h"
#include "probex/core/PxRunNotices.h"
#include "probex/core/PxRunVerdict.h"
#include "probex/core/PxRunningCaseMap.h"
#include "probex/coverage/PxCoverageState.h"
#include "probex/coverage/PxLineCounts.h"
#include "probex/platform/Module.h"
#include "probex/view/PxLogWriter.h"
#include "probex/view/PxRecordChannel.h"

#include <cstdlib>

CPxRunningCaseMap g_mapRunningCase;

namespace {

CPxCaseFilter g_caseFilter{std::getenv("PROBEX_FILTER")};
// Failures may still be noted by workers while the process ends.
CPxLasting<CPxRunVerdict> g_runVerdict;

// Instrumented code and late records may still arrive while the process
// ends, after the ordinary objects below are gone: these stay, the store
// too, since call sites keep pointers to its counters.
CPxLasting<SPxCoverageState> g_coverageState;
CPxLasting<CPxRecordChannel> g_recordChannel;
CPxLasting<CPxLineCounts> g_lineCounts;
CPxLasting<CPxMessageBlocks> g_messageBlocks;
CPxLogWriter g_logWriter;

// A process whose classes ran no case says so even when main did not ask
// for PxExitStatus(). The counts go out as the last records, then the
// buffer reaches the file.
void ExitStep() {
  if (g_runVerdict->ClassRan())
    PxNoCaseRan();
  g_lineCounts->Flush();
  g_logWriter.Close();
}

// The exit step is handed to the platform, whose unload (DllMain on
// Windows) runs it before any object here is destroyed. The object is
// defined last, so its destructor runs first at unload and runs the step
// wherever the platform had no earlier moment for it; it runs once.
class CPxModuleExit {
public:
  CPxModuleExit() { NPxPlatform::SetModuleExitStep(ExitStep); }
  CPxModuleExit(const CPxModuleExit&) = delete;
  CPxModuleExit& operator=(const CPxModuleExit&) = delete;
  ~CPxModuleExit() { NPxPlatform::RunModuleExitStep(); }
};

CPxModuleExit g_moduleExit;

} // namespace

CPxCaseFilter& PxCaseFilter() {
  return g_caseFilter;
}

CPxRunVerdict& PxRunVerdict() {
  return *g_runVerdict;
}

SPxCoverageState& PxCoverageState() {
  return *g_coverageState;
}

CPxMessageBlocks& PxMessageBlocks() {
  return *g_messageBlocks;
}

CPxRecordChannel& PxRecordChannel() {
  return *g_recordChannel;
}

CPxLineCounts& PxLineCounts() {
  return *g_lineCounts;
}

CPxLogWriter& PxLogWriter() {
  return g_logWriter;
}
