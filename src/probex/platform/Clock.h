// Millisecond ticks, pauses and the local calendar time. Tests may stand in
// for the tick source, so that times in records are known in advance.
#pragma once

#include <cstdint>

namespace NPxPlatform {

// Monotonic milliseconds, wrapping at 2^32.
std::uint32_t GetTickCount();
// A stand-in tick source for unit tests; null restores the system's.
void SetTickCountHook(std::uint32_t (*hook)());
void Sleep(std::uint32_t milliseconds);

#if !defined(_WIN32)
// The system's precise monotonic clock in nanoseconds, never stood in for:
// the POSIX services that time their own caches read it.
std::int64_t MonotonicNs();
#endif

// The system's coarse monotonic clock in milliseconds (a tick of a few
// milliseconds), never stood in for: far cheaper than the precise one, for
// what runs at every case.
std::int64_t CoarseMs();

struct SLocalTime {
  int year, month, day, hour, minute, second;
};
SLocalTime GetLocalTime();

} // namespace NPxPlatform
