// The shared handle: counts, the one empty block, and exactly one
// destruction by the last holder.
#include "probex/support/KrnHandle.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace KRN;

namespace {

class CBase {
public:
  virtual ~CBase() = default;
};

// Counts its destructions in a counter the test owns.
class CTracked : public CBase {
public:
  explicit CTracked(int* pDestroyed) : m_pDestroyed(pDestroyed) {}
  ~CTracked() override { ++*m_pDestroyed; }

private:
  int* m_pDestroyed;
};

} // namespace

TEST(KrnHandle, EmptyHandlesShareTheEmptyBlockAndNeverCountIt) {
  CKrnHandle<CTracked> first;
  CKrnHandle<CTracked> second(first);
  CKrnHandle<CTracked> third;
  third = second;
  for (const auto* pHandle : {&first, &second, &third}) {
    EXPECT_TRUE(pHandle->IsEmpty());
    EXPECT_EQ(pHandle->Get(), nullptr);
    EXPECT_EQ(pHandle->GetCount(), 0);
  }
  first.Release();
  EXPECT_EQ(g_krnEmptyBlock.m_count.load(), 0);
  EXPECT_EQ(g_krnEmptyBlock.m_pObject, nullptr);

  CKrnHandle<CTracked> fromNull(nullptr);
  EXPECT_TRUE(fromNull.IsEmpty());
}

TEST(KrnHandle, LastHolderDestroysTheObjectOnce) {
  int destroyed = 0;
  auto* pObject = new CTracked(&destroyed);
  {
    CKrnHandle<CTracked> first(pObject);
    EXPECT_EQ(first.GetCount(), 1);
    CKrnHandle<CTracked> second(first);
    CKrnHandle<CTracked> third;
    third = first;
    EXPECT_EQ(first.GetCount(), 3);
    third = second; // already shared: nothing changes
    EXPECT_EQ(first.GetCount(), 3);
    first.Take(pObject); // the object already held: nothing changes
    EXPECT_EQ(first.GetCount(), 3);
    second.Release();
    EXPECT_TRUE(second.IsEmpty());
    EXPECT_EQ(first.GetCount(), 2);
    EXPECT_EQ(destroyed, 0);
  }
  EXPECT_EQ(destroyed, 1);
}

TEST(KrnHandle, TakeAndAssignLetGoOfWhatWasHeld) {
  int destroyedA = 0;
  int destroyedB = 0;
  CKrnHandle<CTracked> handle(new CTracked(&destroyedA));
  handle.Take(new CTracked(&destroyedB));
  EXPECT_EQ(destroyedA, 1);
  EXPECT_EQ(handle.GetCount(), 1);

  CKrnHandle<CTracked> empty;
  handle = empty;
  EXPECT_EQ(destroyedB, 1);
  EXPECT_TRUE(handle.IsEmpty());

  int destroyedC = 0;
  handle.Take(new CTracked(&destroyedC));
  handle.Take(nullptr);
  EXPECT_EQ(destroyedC, 1);
  EXPECT_TRUE(handle.IsEmpty());
}

TEST(KrnHandle, MovingHandsTheShareOverWithoutCounting) {
  int destroyed = 0;
  CKrnHandle<CTracked> source(new CTracked(&destroyed));
  CTracked* pObject = source.Get();
  CKrnHandle<CTracked> target(std::move(source));
  EXPECT_TRUE(source.IsEmpty()); // NOLINT(bugprone-use-after-move)
  EXPECT_EQ(target.Get(), pObject);
  EXPECT_EQ(target.GetCount(), 1);

  CKrnHandle<CTracked> other;
  other = std::move(target);
  EXPECT_EQ(other.GetCount(), 1);
  CKrnHandle<CTracked>& alias = other;
  other = std::move(alias);
  EXPECT_EQ(other.Get(), pObject);
  EXPECT_EQ(destroyed, 0);
}

TEST(KrnHandle, DestroysThroughTheVirtualDestructorAndFreesBuffersAsArrays) {
  int destroyed = 0;
  { CKrnHandle<CBase> base(new CTracked(&destroyed)); }
  EXPECT_EQ(destroyed, 1);

  // A mismatched delete of a new[] buffer is reported by the address sanitizer.
  CKrnHandle<char[]> text(new char[6]);
  std::memcpy(text.Get(), "hello", 6);
  const CKrnHandle<char[]> shared(text);
  text.Release();
  EXPECT_STREQ(shared.Get(), "hello");
}
