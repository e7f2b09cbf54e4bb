#include "probex/module/PxModule.h"

// Definition order is construction order at load; unload destroys in
// reverse, so the log writer goes first and the running-case map last. The
// coverage store outlives the log writer, whose destructor flushes it.
CPxRunningCaseMap g_mapRunningCase;
CPxLineCounts g_lineCounts;
CPxLogWriter g_logWriter;

namespace {

// The exit step: defined last, so its destructor runs first at unload and
// the log's final write happens while every other object still exists.
class CPxModuleExit {
public:
  CPxModuleExit() = default;
  CPxModuleExit(const CPxModuleExit&) = delete;
  CPxModuleExit& operator=(const CPxModuleExit&) = delete;
  ~CPxModuleExit() { g_logWriter.Close(); }
};

CPxModuleExit g_moduleExit;

} // namespace
