#include "probex/support/KrnException.h"
#include "probex/support/KrnExclusiveGuard.h"
#include "probex/support/KrnHandle.h"

#include "common/PxChildProcess.h"
#include "probex/base/PxTexts.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

using namespace KRN;

namespace {

// Counts its destructions in a counter the test owns.
struct STracked {
  int* m_pDestroyed;
  ~STracked() { ++*m_pDestroyed; }
};

// Logs every call, "L" for a Lock without limit, and answers Lock as told.
class CRecordingLock : public CKrnLockable {
public:
  explicit CRecordingLock(bool answer) : m_answer(answer) {}
  bool Lock(unsigned long timeout) override {
    m_log += timeout == kKrnInfinite ? 'L' : 'l';
    return m_answer;
  }
  void Unlock() override { m_log += 'U'; }
  bool m_answer;
  std::string m_log;
};

} // namespace

TEST(KrnException, EachKindCarriesItsTextCopiedInOnceAndSharedByCopiesThatOutliveTheOriginal) {
  const std::pair<CKrnException, const char*> kinds[] = {
      {CNullPointerException(), NPxText::kNullPointer},
      {CIndexOutOfBoundsException(), NPxText::kIndexOutOfBounds},
      {CInvalidParamException(), NPxText::kInvalidParam},
      {CNotSupportException(), NPxText::kNotSupport}};
  for (const auto& [exception, text] : kinds)
    EXPECT_STREQ(exception.GetMessageText(), text);

  char buffer[] = "changeable";
  auto* pOriginal = new CKrnException(buffer);
  buffer[0] = 'X';
  const char* text = pOriginal->GetMessageText();
  const CKrnException copy(*pOriginal);
  CKrnException assigned;
  EXPECT_STREQ(assigned.GetMessageText(), ""); // also for a null message
  assigned = copy;
  EXPECT_EQ(copy.GetMessageText(), text);
  EXPECT_EQ(assigned.GetMessageText(), text);
  delete pOriginal;
  EXPECT_STREQ(copy.GetMessageText(), "changeable");
  EXPECT_STREQ(assigned.GetMessageText(), "changeable");
}

TEST(KrnHandle, EmptyHandlesShareTheEmptyBlockAndTheLastHolderDestroysTheObjectOnce) {
  CKrnHandle<STracked> empty;
  CKrnHandle<STracked> copied(empty);
  CKrnHandle<STracked> fromNull(nullptr);
  fromNull = copied;
  EXPECT_TRUE(empty.IsEmpty() && copied.IsEmpty() && fromNull.IsEmpty());
  EXPECT_EQ(empty.GetCount() + copied.GetCount() + fromNull.GetCount(), 0);
  empty.Release();
  EXPECT_EQ(g_krnEmptyBlock.m_count.load(), 0);

  int destroyed = 0;
  auto* pObject = new STracked{&destroyed};
  {
    CKrnHandle<STracked> first(pObject);
    CKrnHandle<STracked> second(first);
    CKrnHandle<STracked> third;
    third = first;
    third = second;      // already shared: nothing changes
    first.Take(pObject); // the object already held: nothing changes
    EXPECT_EQ(first.GetCount(), 3);
    second.Release();
    const CKrnHandle<STracked> moved(std::move(third));
    EXPECT_TRUE(second.IsEmpty() && third.IsEmpty()); // NOLINT(bugprone-use-after-move)
    EXPECT_EQ(moved.Get(), pObject);
    EXPECT_EQ(first.GetCount(), 2);
    EXPECT_EQ(destroyed, 0);
  }
  EXPECT_EQ(destroyed, 1);
  empty = CKrnHandle<STracked>(new STracked{&destroyed});
  empty = CKrnHandle<STracked>(new STracked{&destroyed});
  empty.Take(nullptr);
  EXPECT_EQ(destroyed, 3);
  EXPECT_TRUE(empty.IsEmpty());
}

TEST(KrnExclusiveGuard, LocksWithoutLimitAndUnlocksOnlyWhatItLocked) {
  for (const bool answer : {true, false}) {
    CRecordingLock lock(answer);
    {
      const CKrnExclusiveGuard guard(&lock);
      EXPECT_EQ(lock.m_log, "L");
    }
    EXPECT_EQ(lock.m_log, answer ? "LU" : "L");
  }
  EXPECT_THROW(CKrnExclusiveGuard guard(nullptr), CNullPointerException);
}

TEST(KrnSharedLibrary, TemplatesAndExceptionsCrossTheLibraryBoundary) {
  const SPxChildResult result = PxRunChild({PxScenarioPath("krn_shared_scenario")});
  EXPECT_EQ(result.exitCode, 0) << result.stdErr;
  EXPECT_EQ(result.stdOut, "1 5 own 2\n");
}
