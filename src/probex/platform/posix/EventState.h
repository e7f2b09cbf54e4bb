// The shared state of a named event inside its object: one futex word (bit 0
// signalled, the bits above it a count of pending grants) and how many
// waiters each holder slot has counted in.
#pragma once

#include "probex/platform/NamedObject.h"

#include <atomic>
#include <cstdint>

namespace NPxPlatform {

struct SEventState {
  std::atomic<std::uint32_t> word;
  std::atomic<std::uint32_t> waiters[CNamedObject::kMaxHolders];
};

// Shared between processes, so the atomics must not hide a lock.
static_assert(std::atomic<std::uint32_t>::is_always_lock_free, "futex word needs a plain word");

} // namespace NPxPlatform
