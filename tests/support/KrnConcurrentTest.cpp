// Threads that copy, write and drop sharers of one storage: under the thread and
// address sanitizers, this catches races on the shared counts and any double free.
#include "KrnTestHelpers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace KRN;

TEST(KrnConcurrent, ThreadsCopyWriteAndDropCopiesOfOneSharedVector) {
  constexpr std::uint32_t kThreads = 4, kRounds = 1000;
  // A counter per thread, and one that all threads count in.
  CKrnVector<std::uint32_t> shared;
  shared.AddRange(kThreads + 1, nullptr);
  std::atomic<std::uint32_t> started{0};
  const auto body = [&](std::uint32_t slot) {
    for (++started; started < kThreads;) {
    } // all threads start together
    for (std::uint32_t round = 0; round < kRounds; ++round) {
      CKrnVector<std::uint32_t> copy;
      {
        CKrnExclusiveGuard guard(&shared);
        CKrnExclusiveGuard reentered(&shared);
        copy = shared;
        shared.Set(slot, shared.At(slot) + 1);
        shared.Set(kThreads, shared.At(kThreads) + 1);
      }
      // Taken before this round's increment; its writes, racing with the
      // other threads' on the same storage, must stay in the copy.
      EXPECT_EQ(copy.At(slot), round);
      if (round % 2 == 0)
        copy.Set(slot, 0);
      else
        copy.Insert(0, 0);
    }
  };
  std::vector<std::thread> threads;
  for (std::uint32_t slot = 0; slot < kThreads; ++slot)
    threads.emplace_back(body, slot);
  for (std::thread& thread : threads)
    thread.join();
  EXPECT_EQ(KrnElements(shared), (CElements{kRounds, kRounds, kRounds, kRounds, 4 * kRounds}));
}
