// Threads that copy, write and drop sharers of one storage, one exception
// or one handle. Run under the thread and address sanitizers, these catch
// races on counts and storage and any double free.
#include "probex/support/KrnException.h"

#include "KrnTestHelpers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

using namespace KRN;

namespace {

constexpr int kThreads = 4;
constexpr int kRounds = 300;

// Starts body(t) on kThreads threads and joins them.
template <class FBody> void RunThreads(FBody body) {
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back(body, t);
  }
  for (std::thread& thread : threads) {
    thread.join();
  }
}

} // namespace

TEST(KrnConcurrent, ThreadsCopyWriteAndDropCopiesOfOneSharedVector) {
  // A counter per thread, and one that all threads count in.
  CKrnVector<std::uint32_t> shared;
  shared.AddRange(kThreads + 1, nullptr);
  std::atomic<int> failures{0};
  RunThreads([&](int t) {
    const auto slot = static_cast<std::uint32_t>(t);
    for (int round = 0; round < kRounds; ++round) {
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
      failures += copy.At(slot) != static_cast<std::uint32_t>(round);
      switch (round % 3) {
      case 0:
        copy.Set(slot, 0);
        break;
      case 1:
        *copy.WritableElement(slot) = 0;
        break;
      default:
        copy.Insert(0, 0);
        break;
      }
    }
  });
  EXPECT_EQ(failures.load(), 0);
  CElements expected(kThreads, kRounds);
  expected.push_back(kThreads * kRounds);
  EXPECT_EQ(KrnElements(shared), expected);
}

TEST(KrnConcurrent, ExceptionAndHandleCopiesDroppedOnManyThreads) {
  std::vector<CIndexOutOfBoundsException> exceptions;
  std::vector<CKrnHandle<std::string>> handles;
  {
    const CIndexOutOfBoundsException original;
    const CKrnHandle<std::string> hOriginal(new std::string("shared"));
    exceptions.assign(kThreads, original);
    handles.assign(kThreads, hOriginal);
  }
  const std::string expectedText = exceptions[0].GetMessageText();
  std::atomic<int> failures{0};
  RunThreads([&](int t) {
    for (int round = 0; round < kRounds; ++round) {
      const CIndexOutOfBoundsException copy(exceptions[t]);
      const CKrnHandle<std::string> hCopy(handles[t]);
      failures += copy.GetMessageText() != exceptions[t].GetMessageText() || *hCopy != "shared";
    }
    // The last of these frees the shared text and string, on some thread.
    exceptions[t] = CIndexOutOfBoundsException();
    handles[t].Release();
  });
  EXPECT_EQ(failures.load(), 0);
  EXPECT_EQ(std::string(exceptions[0].GetMessageText()), expectedText);
}
