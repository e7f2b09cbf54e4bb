// Threads that copy, write and drop sharers of one storage, one exception
// or one handle. Run under the thread and address sanitizers, these catch
// races on counts and storage and any double free.
#include "probex/support/KrnException.h"
#include "probex/support/KrnExclusiveGuard.h"
#include "probex/support/KrnHandle.h"
#include "probex/support/KrnMap.h"
#include "probex/support/KrnSectionLock.h"
#include "probex/support/KrnVector.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

using namespace KRN;
using CUIntVector = CKrnVector<std::uint32_t>;

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

TEST(KrnConcurrent, SharersOfOneStorageWriteOnTheirOwnThreads) {
  CUIntVector source;
  source.AddRange(8, nullptr);
  for (std::uint32_t i = 0; i < 8; ++i) {
    source.Set(i, i);
  }
  // Each thread starts with its own copies of one storage, made here.
  std::vector<std::vector<CUIntVector>> copies(kThreads, std::vector<CUIntVector>(3, source));
  std::atomic<int> failures{0};
  RunThreads([&](int t) {
    for (int round = 0; round < kRounds; ++round) {
      std::vector<CUIntVector>& mine = copies[t];
      CUIntVector& written = mine[round % 3];
      const std::uint32_t mark = static_cast<std::uint32_t>(t * 1000 + round);
      switch (round % 4) {
      case 0:
        written.Set(round % 8, mark);
        break;
      case 1:
        written.Add(mark);
        break;
      case 2:
        *written.WritableElement(0) = mark;
        break;
      default:
        written.Insert(1, mark);
        break;
      }
      if (!(written.At(0) == mark || written.At(round % 8) == mark || written.At(1) == mark ||
            written.At(written.GetSize() - 1) == mark)) {
        ++failures;
      }
      // Drop a copy and take a fresh one of the source, which no one writes.
      mine[(round + 1) % 3] = source;
    }
  });
  EXPECT_EQ(failures.load(), 0);
  for (std::uint32_t i = 0; i < 8; ++i) {
    EXPECT_EQ(source.At(i), i);
  }
}

TEST(KrnConcurrent, OneLockedVectorCopiedAndWrittenByAllThreads) {
  CUIntVector shared;
  shared.AddRange(kThreads, nullptr);
  std::atomic<int> failures{0};
  RunThreads([&](int t) {
    const auto slot = static_cast<std::uint32_t>(t);
    for (int round = 0; round < kRounds; ++round) {
      CUIntVector copy;
      {
        CKrnExclusiveGuard guard(&shared);
        copy = shared;
        shared.Set(slot, shared.At(slot) + 1);
      }
      // The copy was taken before this round's increment.
      if (copy.At(slot) != static_cast<std::uint32_t>(round)) {
        ++failures;
      }
      copy.Set(slot, 0);
      copy.Add(1);
    }
  });
  EXPECT_EQ(failures.load(), 0);
  for (std::uint32_t slot = 0; slot < kThreads; ++slot) {
    EXPECT_EQ(shared.At(slot), static_cast<std::uint32_t>(kRounds)) << slot;
  }
  EXPECT_EQ(shared.GetSize(), static_cast<std::uint32_t>(kThreads));
}

TEST(KrnConcurrent, MapCountedFromManyThreadsUnderItsLock) {
  CKrnLineCountMap map;
  RunThreads([&](int t) {
    for (int round = 0; round < kRounds; ++round) {
      const std::uint32_t key = static_cast<std::uint32_t>(round % 5);
      CKrnExclusiveGuard guard(&map);
      CKrnGrowVector<std::uint32_t>* pCounts = map.Find(key);
      if (!pCounts) {
        pCounts = map.Set(key, CKrnGrowVector<std::uint32_t>());
      }
      const auto point = static_cast<std::uint32_t>(t);
      pCounts->Set(point, point < pCounts->GetSize() ? pCounts->At(point) + 1 : 1);
    }
  });
  ASSERT_EQ(map.GetSize(), 5u);
  for (std::uint32_t key = 0; key < 5; ++key) {
    const CKrnGrowVector<std::uint32_t>* pCounts = map.Find(key);
    ASSERT_NE(pCounts, nullptr);
    ASSERT_EQ(pCounts->GetSize(), static_cast<std::uint32_t>(kThreads));
    for (std::uint32_t point = 0; point < kThreads; ++point) {
      EXPECT_EQ(pCounts->At(point), static_cast<std::uint32_t>(kRounds / 5)) << key;
    }
  }
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
      if (copy.GetMessageText() != exceptions[t].GetMessageText() || *hCopy != "shared") {
        ++failures;
      }
    }
    // The last of these frees the shared text and string, on some thread.
    exceptions[t] = CIndexOutOfBoundsException();
    handles[t].Release();
  });
  EXPECT_EQ(failures.load(), 0);
  EXPECT_EQ(std::string(exceptions[0].GetMessageText()), expectedText);
}

TEST(KrnConcurrent, SectionLockExcludesOtherThreadsAndReenters) {
  CKrnSectionLock lock;
  long counter = 0;
  RunThreads([&](int) {
    for (int round = 0; round < kRounds * 10; ++round) {
      CKrnExclusiveGuard outer(&lock);
      CKrnExclusiveGuard inner(&lock);
      const long read = counter;
      counter = read + 1;
    }
  });
  EXPECT_EQ(counter, static_cast<long>(kThreads * kRounds * 10));
}
