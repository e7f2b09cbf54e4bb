#include "probex/platform/Clock.h"

#include <atomic>

namespace NPxPlatform {
namespace {

std::uint32_t SystemTickCount();

std::atomic<std::uint32_t (*)()> g_pTickHook{nullptr};

} // namespace

std::uint32_t GetTickCount() {
  std::uint32_t (*hook)() = g_pTickHook.load(std::memory_order_acquire);
  return hook ? hook() : SystemTickCount();
}

void SetTickCountHook(std::uint32_t (*hook)()) {
  g_pTickHook.store(hook, std::memory_order_release);
}

} // namespace NPxPlatform

#if defined(_WIN32)
#include "win32/Clock.inc"
#else
#include "posix/Clock.inc"
#endif
