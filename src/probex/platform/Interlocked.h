// Atomic operations on 32-bit words that several processes share through
// named shared memory, where no std::atomic object can be placed. Every
// operation is sequentially consistent.
#pragma once

#include <cstdint>

namespace NPxPlatform {

// Both answer the word's new value.
std::int32_t InterlockedIncrement(std::int32_t* word);
std::int32_t InterlockedDecrement(std::int32_t* word);
std::int32_t InterlockedRead(const std::int32_t* word);
void InterlockedWrite(std::int32_t* word, std::int32_t value);

} // namespace NPxPlatform
