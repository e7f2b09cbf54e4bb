// The copy-on-write vector: sharing and detaching, the capacity rule, the
// outcome of every bad input, which operations lock, and aliasing.
#include "probex/support/KrnVector.h"
#include "probex/support/KrnGrowVector.h"

#include "KrnTestHelpers.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace KRN;
using CUIntVector = CKrnVector<std::uint32_t>;
using CElements = std::vector<std::uint32_t>;

namespace {

// Logs Lock and Unlock calls into a log shared between vectors.
class CLoggingVector : public CUIntVector {
public:
  CLoggingVector(std::string* pLog, char name) : m_pLog(pLog), m_name(name) {}
  bool Lock(unsigned long timeout) override {
    *m_pLog += m_name;
    return CUIntVector::Lock(timeout);
  }
  void Unlock() override { CUIntVector::Unlock(); }

private:
  std::string* m_pLog;
  char m_name;
};

} // namespace

TEST(KrnVector, AWriteDetachesOnlyTheWrittenCopy) {
  // Every writing operation, applied to one of three sharing copies.
  const std::vector<std::function<void(CUIntVector&)>> writes = {
      [](CUIntVector& v) { v.Set(1, 9); },   [](CUIntVector& v) { *v.WritableElement(0) = 9; },
      [](CUIntVector& v) { v.Add(9); },      [](CUIntVector& v) { v.Insert(1, 9); },
      [](CUIntVector& v) { v.Remove(1); },   [](CUIntVector& v) { v.RemoveRange(0, 2); },
      [](CUIntVector& v) { v.RemoveAll(); }, [](CUIntVector& v) { v.Swap(0, 2); },
      [](CUIntVector& v) { v.SetSize(1); },  [](CUIntVector& v) { v.AssignRange(1u, nullptr); },
  };
  for (std::size_t i = 0; i < writes.size(); ++i) {
    const CUIntVector source = KrnMake<CUIntVector>({1, 2, 3});
    const std::uint32_t* pSourceData = source.ElementPtr(0);
    CUIntVector written(source);
    CUIntVector bystander(source);
    ASSERT_TRUE(written.SharesStorageWith(source));
    writes[i](written);
    EXPECT_EQ(KrnElements(source), (CElements{1, 2, 3})) << "write " << i;
    EXPECT_EQ(source.ElementPtr(0), pSourceData) << "write " << i;
    EXPECT_TRUE(bystander.SharesStorageWith(source)) << "write " << i;
    EXPECT_FALSE(written.SharesStorageWith(source)) << "write " << i;
    EXPECT_NE(KrnElements(written), (CElements{1, 2, 3})) << "write " << i;
  }
}

TEST(KrnVector, CopiesShareUntilWrittenAndAssignmentShares) {
  CUIntVector source = KrnMake<CUIntVector>({4, 5});
  CUIntVector copy(source);
  EXPECT_EQ(copy.ElementPtr(0), source.ElementPtr(0));
  CUIntVector assigned;
  assigned = source;
  EXPECT_TRUE(assigned.SharesStorageWith(source));
  // The last sharer writes in place.
  CUIntVector alone = KrnMake<CUIntVector>({1});
  const std::uint32_t* pData = alone.ElementPtr(0);
  alone.Set(0, 2);
  EXPECT_EQ(alone.ElementPtr(0), pData);
}

TEST(KrnVector, CapacityGrowsByAnEighthWithinFourAnd1024) {
  CUIntVector vector;
  EXPECT_EQ(vector.GetCapacity(), 0u);
  vector.Add(1);
  EXPECT_EQ(vector.GetCapacity(), 5u);
  const std::uint32_t* pFirst = vector.ElementPtr(0);
  for (std::uint32_t value = 2; value <= 5; ++value) {
    vector.Add(value);
  }
  EXPECT_EQ(vector.ElementPtr(0), pFirst); // appends reused the spare places
  vector.Add(6);
  EXPECT_EQ(vector.GetCapacity(), 10u);
  EXPECT_EQ(KrnElements(vector), (CElements{1, 2, 3, 4, 5, 6}));

  const std::vector<std::pair<std::uint32_t, std::uint32_t>> sizeToCapacity = {
      {31, 35}, {39, 43}, {40, 45}, {80, 90}, {8191, 9214}, {8192, 9216}, {20000, 21024}};
  for (const auto& [size, capacity] : sizeToCapacity) {
    CUIntVector sized;
    sized.AddRange(size, nullptr);
    EXPECT_EQ(sized.GetCapacity(), capacity) << size;
  }
}

TEST(KrnVector, OutOfRangeIndexesThrowOrFailAndChangeNothing) {
  CUIntVector vector = KrnMake<CUIntVector>({1, 2, 3});
  const CUIntVector sharer(vector);
  EXPECT_THROW(vector.ElementPtr(3), CIndexOutOfBoundsException);
  EXPECT_THROW(vector.At(3), CIndexOutOfBoundsException);
  EXPECT_THROW(vector.At(kKrnInvalidIndex), CIndexOutOfBoundsException);
  EXPECT_THROW(vector.WritableElement(3), CIndexOutOfBoundsException);
  EXPECT_THROW(vector.Swap(0, 3), CIndexOutOfBoundsException);
  EXPECT_THROW(vector.Swap(3, 0), CIndexOutOfBoundsException);
  vector.Swap(7, 7);
  EXPECT_FALSE(vector.Set(3, 9));
  EXPECT_FALSE(vector.Insert(4, 9));
  EXPECT_FALSE(vector.InsertLocked(4, 9));
  EXPECT_FALSE(vector.Remove(3));
  EXPECT_EQ(vector.RemoveRange(3, 1), kKrnInvalidIndex);
  EXPECT_EQ(vector.RemoveRange(kKrnInvalidIndex, 0), kKrnInvalidIndex);
  EXPECT_FALSE(vector.SetSize(kKrnInvalidIndex));
  EXPECT_EQ(vector.AddRange(kKrnInvalidIndex, nullptr), kKrnInvalidIndex);
  EXPECT_EQ(vector.AssignRange(kKrnInvalidIndex, nullptr), kKrnInvalidIndex);
  EXPECT_EQ(vector.AssignRange(-1, nullptr), kKrnInvalidIndex);
  EXPECT_EQ(KrnElements(vector), (CElements{1, 2, 3}));
  // A failed write never detached the storage.
  EXPECT_TRUE(vector.SharesStorageWith(sharer));
}

TEST(KrnVector, NullPointersGiveZerosOrNullPointerException) {
  CUIntVector vector;
  EXPECT_EQ(vector.AddRange(3, nullptr), 3u);
  EXPECT_EQ(KrnElements(vector), (CElements{0, 0, 0}));
  vector.Set(1, 7);
  EXPECT_THROW(vector.CopyOut(2, nullptr, 0), CNullPointerException);
  EXPECT_EQ(vector.CopyOut(2, nullptr, 3), 0u); // nothing to copy
  EXPECT_THROW(vector.Append(nullptr), CNullPointerException);
  EXPECT_THROW(vector.Copy(nullptr), CNullPointerException);
  EXPECT_EQ(KrnElements(vector), (CElements{0, 7, 0}));
  EXPECT_EQ(vector.AssignRange(2, nullptr), 2u);
  EXPECT_EQ(KrnElements(vector), (CElements{0, 0}));
}

TEST(KrnVector, CopyOutCopiesWhatLiesFromStart) {
  CUIntVector vector = KrnMake<CUIntVector>({1, 2, 3, 4});
  std::uint32_t out[4] = {0, 0, 0, 0};
  EXPECT_EQ(vector.CopyOut(10, out, 1), 3u);
  EXPECT_EQ(CElements(out, out + 4), (CElements{2, 3, 4, 0}));
  EXPECT_EQ(vector.CopyOut(1, out, 0), 1u);
  EXPECT_EQ(out[0], 1u);
  EXPECT_EQ(out[1], 3u);
  EXPECT_EQ(vector.CopyOut(4, out, 4), 0u);
}

TEST(KrnVector, RemoveRangeClosesTheGapOrEmpties) {
  CUIntVector vector = KrnMake<CUIntVector>({1, 2, 3, 4, 5});
  EXPECT_EQ(vector.RemoveRange(1, 2), 2u);
  EXPECT_EQ(KrnElements(vector), (CElements{1, 4, 5}));
  EXPECT_EQ(vector.RemoveRange(1, 100), 2u);
  EXPECT_EQ(KrnElements(vector), (CElements{1}));
  vector.AddRange(3, nullptr);
  EXPECT_EQ(vector.RemoveRange(2, 0), 2u); // 0 means to the end
  EXPECT_EQ(vector.GetSize(), 2u);

  const std::uint32_t formerSize = vector.GetSize();
  EXPECT_EQ(vector.RemoveRange(0, 0), formerSize);
  EXPECT_EQ(vector.GetSize(), 0u);
  EXPECT_EQ(vector.GetCapacity(), 0u); // emptied onto a fresh storage
  EXPECT_TRUE(vector.RemoveAll());
}

TEST(KrnVector, InsertSwapSetSizeAndRemoveSelected) {
  CUIntVector vector = KrnMake<CUIntVector>({2, 4});
  EXPECT_TRUE(vector.Insert(0, 1));
  EXPECT_TRUE(vector.Insert(2, 3));
  EXPECT_TRUE(vector.InsertLocked(4, 5));
  EXPECT_EQ(KrnElements(vector), (CElements{1, 2, 3, 4, 5}));
  EXPECT_EQ(vector.Add(6), 5u);
  vector.Swap(0, 5);
  EXPECT_EQ(KrnElements(vector), (CElements{6, 2, 3, 4, 5, 1}));

  CKrnEvenChecker even;
  CUIntVector odd(vector);
  EXPECT_EQ(odd.RemoveSelected(even, true), 3u);
  EXPECT_EQ(KrnElements(odd), (CElements{3, 5, 1}));
  EXPECT_EQ(vector.RemoveSelected(even, false), 3u);
  EXPECT_EQ(KrnElements(vector), (CElements{6, 2, 4}));

  EXPECT_TRUE(vector.SetSize(5));
  EXPECT_EQ(KrnElements(vector), (CElements{6, 2, 4, 0, 0}));
  EXPECT_TRUE(vector.SetSize(1));
  EXPECT_EQ(KrnElements(vector), (CElements{6}));
  EXPECT_TRUE(vector.SetSize(0));
  EXPECT_EQ(vector.GetSize(), 0u);
}

TEST(KrnVector, SourcesInsideTheVectorItselfStayValid) {
  // Five elements added one by one fill the first buffer, so each append
  // below reallocates.
  auto makeFull = [] {
    CUIntVector full;
    for (std::uint32_t value = 1; value <= 5; ++value) {
      full.Add(value);
    }
    return full;
  };
  CUIntVector vector = makeFull();
  ASSERT_EQ(vector.GetCapacity(), vector.GetSize());
  EXPECT_EQ(vector.AddRange(5, vector.ElementPtr(0)), 5u);
  EXPECT_EQ(KrnElements(vector), (CElements{1, 2, 3, 4, 5, 1, 2, 3, 4, 5}));

  CUIntVector full = makeFull();
  EXPECT_EQ(full.Add(*full.ElementPtr(4)), 5u);
  EXPECT_TRUE(full.Insert(0, *full.ElementPtr(5)));
  EXPECT_EQ(KrnElements(full), (CElements{5, 1, 2, 3, 4, 5, 5}));

  CUIntVector self = KrnMake<CUIntVector>({7, 8, 9});
  EXPECT_EQ(self.Append(&self), 3u);
  EXPECT_EQ(KrnElements(self), (CElements{7, 8, 9, 7, 8, 9}));
  EXPECT_EQ(self.AssignRange(2u, self.ElementPtr(1)), 2u);
  EXPECT_EQ(KrnElements(self), (CElements{8, 9}));
  EXPECT_EQ(self.Copy(&self), 2u);
  EXPECT_EQ(KrnElements(self), (CElements{8, 9}));
}

TEST(KrnVector, CopyIsElementWiseFromAnyCollection) {
  CKrnGrowVector<std::uint32_t> grow;
  grow.Set(2, 5);
  CUIntVector vector = KrnMake<CUIntVector>({9});
  EXPECT_EQ(vector.Copy(&grow), 3u);
  EXPECT_EQ(KrnElements(vector), (CElements{0, 0, 5}));
  grow.Set(0, 1);
  EXPECT_EQ(vector.At(0), 0u);
  EXPECT_EQ(vector.Append(&grow), 3u);
  EXPECT_EQ(KrnElements(vector), (CElements{0, 0, 5, 1, 0, 5}));
}

TEST(KrnVector, GuardedOperationsLockTheArgumentFirst) {
  std::string log;
  CLoggingVector self(&log, 's');
  CLoggingVector other(&log, 'o');
  other.AddRange(2, nullptr);
  log.clear();
  self.Append(&other);
  EXPECT_EQ(log.substr(0, 2), "os");
  log.clear();
  self.Copy(&other);
  EXPECT_EQ(log.substr(0, 2), "os");
}

TEST(KrnVector, OnlyTheListedOperationsTakeTheLock) {
  std::string log;
  CLoggingVector vector(&log, 'v');
  vector.AddRange(4, nullptr);
  CUIntVector other = KrnMake<CUIntVector>({1});
  CKrnEvenChecker even;
  std::uint32_t out[4];
  const std::vector<std::pair<const char*, std::function<void()>>> locking = {
      {"CopyOut", [&] { vector.CopyOut(1, out, 0); }},
      {"Add", [&] { vector.Add(1); }},
      {"AddRange", [&] { vector.AddRange(1, nullptr); }},
      {"Insert", [&] { vector.Insert(0, 1); }},
      {"InsertLocked", [&] { vector.InsertLocked(0, 1); }},
      {"Remove", [&] { vector.Remove(0); }},
      {"RemoveRange", [&] { vector.RemoveRange(0, 1); }},
      {"Swap", [&] { vector.Swap(0, 1); }},
      {"Append", [&] { vector.Append(&other); }},
      {"AssignRange", [&] { vector.AssignRange(4u, nullptr); }},
      {"Copy", [&] { vector.Copy(&other); }},
      {"RemoveSelected", [&] { vector.RemoveSelected(even, true); }},
      {"SetSize", [&] { vector.SetSize(4); }},
  };
  for (const auto& [name, operation] : locking) {
    log.clear();
    operation();
    EXPECT_NE(log.find('v'), std::string::npos) << name;
  }
  const std::vector<std::pair<const char*, std::function<void()>>> unlocked = {
      {"GetSize", [&] { vector.GetSize(); }},
      {"ElementPtr", [&] { vector.ElementPtr(0); }},
      {"At", [&] { vector.At(0); }},
      {"WritableElement", [&] { vector.WritableElement(0); }},
      {"Set", [&] { vector.Set(0, 3); }},
      {"RemoveAll", [&] { vector.RemoveAll(); }},
  };
  for (const auto& [name, operation] : unlocked) {
    log.clear();
    operation();
    EXPECT_EQ(log, "") << name;
  }
}
