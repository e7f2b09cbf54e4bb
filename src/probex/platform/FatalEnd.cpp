#include "probex/platform/FatalEnd.h"

#include "probex/platform/Clock.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <exception>

namespace NPxPlatform {
namespace {

// How long a second failing thread waits for the first one's writer.
constexpr int kWaitForWriterMs = 2000;
constexpr std::size_t kWhatSize = 512;

enum class EEnding : int { None, Writing, Written };

// Constant-initialised: a handler may run before or after any constructor.
std::atomic<PxFatalWriter> fatalWriter{nullptr};
std::atomic<EEnding> ending{EEnding::None};
std::terminate_handler previousTerminate = nullptr;

// The first caller writes; any other waits until that is done, so the
// process does not end under a writer that is halfway.
void WriteEndOnce(const char* what) {
  EEnding expected = EEnding::None;
  if (ending.compare_exchange_strong(expected, EEnding::Writing)) {
    if (PxFatalWriter writer = fatalWriter.load())
      writer(what, true);
    ending = EEnding::Written;
    return;
  }
  for (int waited = 0; waited < kWaitForWriterMs && ending.load() != EEnding::Written; ++waited)
    Sleep(1);
}

// The program takes the end itself and may go on: only what waits is written.
void WriteWaiting(const char* what) {
  if (PxFatalWriter writer = fatalWriter.load())
    writer(what, false);
}

void AppendText(char* target, const char* text) {
  const std::size_t used = std::strlen(target);
  std::strncat(target, text, kWhatSize - 1 - used);
}

[[noreturn]] void OnTerminate() {
  char what[kWhatSize] = "std::terminate";
  if (std::exception_ptr current = std::current_exception()) {
    try {
      std::rethrow_exception(current);
    } catch (const std::exception& exception) {
      AppendText(what, ": ");
      AppendText(what, exception.what());
    } catch (...) {
      AppendText(what, ": an exception of unknown type");
    }
  }
  WriteEndOnce(what);
  if (previousTerminate)
    previousTerminate();
  std::abort();
}

void ArmTerminate() {
  previousTerminate = std::set_terminate(OnTerminate);
}

// A terminate handler the program set since is called after ours.
void ReclaimTerminate() {
  if (std::get_terminate() != OnTerminate)
    previousTerminate = std::set_terminate(OnTerminate);
}

void DisarmTerminate() {
  if (std::get_terminate() == OnTerminate)
    std::set_terminate(previousTerminate);
}

} // namespace

void EndProcessAbnormally(const char* what) {
  WriteEndOnce(what);
  std::abort();
}

} // namespace NPxPlatform

#if defined(_WIN32)
#include "win32/FatalEnd.inc"
#else
#include "posix/FatalEnd.inc"
#endif

namespace NPxPlatform {
namespace {

// Asking for each signal's handler costs microseconds of system calls: once
// a tick of the clock is enough.
std::atomic<std::int64_t> lastReclaimMs{-1};

} // namespace

void ReclaimFatalHandlersEveryTick() {
  const std::int64_t ms = CoarseMs();
  if (lastReclaimMs.load(std::memory_order_relaxed) == ms ||
      lastReclaimMs.exchange(ms, std::memory_order_relaxed) == ms)
    return;
  ReclaimFatalHandlers();
}

} // namespace NPxPlatform
