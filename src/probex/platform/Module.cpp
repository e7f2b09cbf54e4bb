#include "probex/platform/Module.h"

#include <atomic>

namespace NPxPlatform {
namespace {

std::atomic<void (*)()> g_pExitStep{nullptr};

} // namespace

void SetModuleExitStep(void (*step)()) {
  g_pExitStep.store(step);
}

void RunModuleExitStep() {
  if (void (*step)() = g_pExitStep.exchange(nullptr))
    step();
}

} // namespace NPxPlatform

#if defined(_WIN32)
#include "win32/Module.inc"
#endif
