// The section lock and the exclusive guard, on one thread; exclusion
// between threads is tested with the concurrent tests.
#include "probex/support/KrnException.h"
#include "probex/support/KrnExclusiveGuard.h"
#include "probex/support/KrnSectionLock.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

using namespace KRN;

namespace {

// Records every call, and answers Lock as told.
class CRecordingLock : public CKrnLockable {
public:
  explicit CRecordingLock(bool answer) : m_answer(answer) {}
  bool Lock(unsigned long timeout) override {
    m_timeouts.push_back(timeout);
    return m_answer;
  }
  void Unlock() override { ++m_unlocks; }

  bool m_answer;
  std::vector<unsigned long> m_timeouts;
  int m_unlocks = 0;
};

} // namespace

TEST(KrnSectionLock, IsReentrantAndLockAlwaysAnswersTrue) {
  CKrnSectionLock lock;
  EXPECT_TRUE(lock.Lock(0));
  EXPECT_TRUE(lock.Lock(kKrnInfinite));
  EXPECT_TRUE(lock.Lock(1));
  lock.Unlock();
  lock.Unlock();
  lock.Unlock();
}

TEST(KrnExclusiveGuard, LocksWithoutLimitForItsScope) {
  CRecordingLock lock(true);
  {
    CKrnExclusiveGuard guard(&lock);
    ASSERT_EQ(lock.m_timeouts.size(), 1u);
    EXPECT_EQ(lock.m_timeouts[0], kKrnInfinite);
    EXPECT_EQ(lock.m_unlocks, 0);
  }
  EXPECT_EQ(lock.m_unlocks, 1);

  EXPECT_THROW(
      {
        CKrnExclusiveGuard guard(&lock);
        throw std::runtime_error("leaving");
      },
      std::runtime_error);
  EXPECT_EQ(lock.m_unlocks, 2);
}

TEST(KrnExclusiveGuard, ALockThatFailsIsNotUnlocked) {
  CRecordingLock lock(false);
  { CKrnExclusiveGuard guard(&lock); }
  EXPECT_EQ(lock.m_timeouts.size(), 1u);
  EXPECT_EQ(lock.m_unlocks, 0);
}

TEST(KrnExclusiveGuard, ANullObjectThrowsNullPointerException) {
  EXPECT_THROW(CKrnExclusiveGuard guard(nullptr), CNullPointerException);
}
