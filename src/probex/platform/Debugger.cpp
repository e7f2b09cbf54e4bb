#include "probex/platform/Debugger.h"

#include "probex/platform/Clock.h"

#include <atomic>

namespace NPxPlatform {
namespace {

bool IsTracedByOs();
void WriteToDebugger(const char* text);

std::atomic<const SDebuggerHooks*> g_pHooks{nullptr};

} // namespace

bool IsDebuggerPresent() {
  const SDebuggerHooks* hooks = g_pHooks.load(std::memory_order_acquire);
  return hooks ? hooks->isPresent() : IsTracedByOs();
}

void OutputDebugString(const char* text) {
  const SDebuggerHooks* hooks = g_pHooks.load(std::memory_order_acquire);
  if (hooks)
    hooks->output(text);
  else
    WriteToDebugger(text);
}

void DebuggerPause(unsigned milliseconds) {
  const SDebuggerHooks* hooks = g_pHooks.load(std::memory_order_acquire);
  if (hooks)
    hooks->pause(milliseconds);
  else
    Sleep(milliseconds);
}

void SetDebuggerHooks(const SDebuggerHooks* hooks) {
  g_pHooks.store(hooks, std::memory_order_release);
}

} // namespace NPxPlatform

#if defined(_WIN32)
#include "win32/Debugger.inc"
#else
#include "posix/Debugger.inc"
#endif
