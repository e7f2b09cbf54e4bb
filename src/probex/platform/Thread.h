// Identity of the calling thread.
#pragma once

#include <cstdint>

namespace NPxPlatform {

std::uint32_t GetCurrentThreadId();

} // namespace NPxPlatform
