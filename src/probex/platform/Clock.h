// Millisecond ticks, pauses and the local calendar time.
#pragma once

#include <cstdint>

namespace NPxPlatform {

// Monotonic milliseconds, wrapping at 2^32.
std::uint32_t GetTickCount();
void Sleep(std::uint32_t milliseconds);

struct SLocalTime {
  int year, month, day, hour, minute, second;
};
SLocalTime GetLocalTime();

} // namespace NPxPlatform
