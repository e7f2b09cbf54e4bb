// The copy-on-write vector, the growing vector and the map: sharing and
// detaching, the capacity rule, bad input, locking and aliasing.
#include "probex/support/KrnMap.h"

#include "KrnTestHelpers.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace KRN;
using CUIntVector = CKrnVector<std::uint32_t>;
using CCounts = CKrnGrowVector<std::uint32_t>;
using CEntry = CKrnLineCountMap::CEntry;

namespace {

// Logs its name at each Lock into a log shared between vectors.
class CLoggingVector : public CUIntVector {
public:
  CLoggingVector(std::string* pLog, char name) : m_pLog(pLog), m_name(name) {}
  bool Lock(unsigned long timeout) override {
    *m_pLog += m_name;
    return CUIntVector::Lock(timeout);
  }

private:
  std::string* m_pLog;
  char m_name;
};

CElements Keys(const CKrnLineCountMap& map) {
  CElements keys;
  for (const auto& entry : KrnElements(map)) {
    keys.push_back(entry.m_key);
  }
  return keys;
}

} // namespace

TEST(KrnVector, AWriteDetachesOnlyTheWrittenCopy) {
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
    CUIntVector bystander;
    bystander = source;
    writes[i](written);
    EXPECT_EQ(KrnElements(source), (CElements{1, 2, 3})) << "write " << i;
    EXPECT_EQ(source.ElementPtr(0), pSourceData) << "write " << i;
    EXPECT_TRUE(bystander.SharesStorageWith(source)) << "write " << i;
    EXPECT_FALSE(written.SharesStorageWith(source)) << "write " << i;
    EXPECT_NE(KrnElements(written), (CElements{1, 2, 3})) << "write " << i;
    writes[i](bystander); // now the source's only sharer
    EXPECT_EQ(KrnElements(source), (CElements{1, 2, 3})) << "write " << i;
  }
}

TEST(KrnVector, CapacityGrowsByAnEighthWithinFourAnd1024) {
  CUIntVector vector;
  vector.Add(1);
  EXPECT_EQ(vector.GetCapacity(), 5u);
  const std::uint32_t* pFirst = vector.ElementPtr(0);
  for (std::uint32_t value = 2; value <= 5; ++value) {
    vector.Add(value);
  }
  vector.Set(0, 1);
  EXPECT_EQ(vector.ElementPtr(0), pFirst); // unshared: written and appended in place
  vector.Add(6);
  EXPECT_EQ(vector.GetCapacity(), 10u);
  EXPECT_EQ(KrnElements(vector), (CElements{1, 2, 3, 4, 5, 6}));

  for (const auto& [size, capacity] : std::vector<std::pair<std::uint32_t, std::uint32_t>>{
           {39, 43}, {40, 45}, {8191, 9214}, {8192, 9216}, {20000, 21024}}) {
    CUIntVector sized;
    sized.AddRange(size, nullptr);
    EXPECT_EQ(sized.GetCapacity(), capacity) << size;
  }
}

TEST(KrnVector, BadInputThrowsOrFailsAndChangesNothing) {
  CUIntVector vector = KrnMake<CUIntVector>({1, 2, 3});
  const CUIntVector sharer(vector);
  EXPECT_THROW(vector.ElementPtr(3), CIndexOutOfBoundsException);
  EXPECT_THROW(vector.At(kKrnInvalidIndex), CIndexOutOfBoundsException);
  EXPECT_THROW(vector.WritableElement(3), CIndexOutOfBoundsException);
  EXPECT_THROW(vector.Swap(0, 3), CIndexOutOfBoundsException);
  EXPECT_THROW(vector.Swap(3, 0), CIndexOutOfBoundsException);
  vector.Swap(7, 7);
  EXPECT_FALSE(vector.Set(3, 9));
  EXPECT_FALSE(vector.Insert(4, 9));
  EXPECT_FALSE(vector.Remove(3));
  EXPECT_EQ(vector.RemoveRange(3, 1), kKrnInvalidIndex);
  EXPECT_FALSE(vector.SetSize(kKrnInvalidIndex));
  EXPECT_EQ(vector.AddRange(kKrnInvalidIndex, nullptr), kKrnInvalidIndex);
  EXPECT_EQ(vector.AssignRange(kKrnInvalidIndex, nullptr), kKrnInvalidIndex);
  EXPECT_EQ(vector.AssignRange(-1, nullptr), kKrnInvalidIndex);
  EXPECT_THROW(vector.CopyOut(2, nullptr, 0), CNullPointerException);
  EXPECT_THROW(vector.Append(nullptr), CNullPointerException);
  EXPECT_THROW(vector.Copy(nullptr), CNullPointerException);
  EXPECT_EQ(vector.Copy(&vector), 3u);
  EXPECT_EQ(vector.CopyOut(2, nullptr, 3), 0u); // nothing to copy
  std::uint32_t out[3] = {};
  EXPECT_EQ(vector.CopyOut(10, out, 1), 2u);
  EXPECT_EQ(CElements(out, out + 3), (CElements{2, 3, 0}));
  EXPECT_EQ(KrnElements(vector), (CElements{1, 2, 3}));
  EXPECT_TRUE(vector.SharesStorageWith(sharer));
}

TEST(KrnVector, RemoveRangeZeroZeroEmptiesOntoAFreshStorage) {
  CUIntVector vector = KrnMake<CUIntVector>({1, 2, 3});
  EXPECT_EQ(vector.RemoveRange(0, 0), 3u);
  EXPECT_EQ(vector.GetSize(), 0u);
  EXPECT_EQ(vector.GetCapacity(), 0u);
  EXPECT_EQ(vector.AssignRange(2, nullptr), 2u);
  EXPECT_EQ(KrnElements(vector), (CElements{0, 0}));
}

TEST(KrnVector, SourcesInsideTheVectorItselfStayValid) {
  // Five elements added one by one fill the first buffer: each append below reallocates.
  const auto makeFull = [] {
    CUIntVector full;
    for (std::uint32_t value = 1; value <= 5; ++value) {
      full.Add(value);
    }
    return full;
  };
  CUIntVector vector = makeFull();
  EXPECT_EQ(vector.AddRange(5, vector.ElementPtr(0)), 5u);
  EXPECT_EQ(KrnElements(vector), (CElements{1, 2, 3, 4, 5, 1, 2, 3, 4, 5}));
  vector = makeFull();
  EXPECT_EQ(vector.Add(*vector.ElementPtr(4)), 5u);
  EXPECT_EQ(vector.Append(&vector), 6u);
  EXPECT_EQ(KrnElements(vector), (CElements{1, 2, 3, 4, 5, 5, 1, 2, 3, 4, 5, 5}));
  EXPECT_EQ(vector.AssignRange(2u, vector.ElementPtr(1)), 2u);
  EXPECT_EQ(KrnElements(vector), (CElements{2, 3}));
}

TEST(KrnVector, TheListedOperationsLockTheArgumentFirst) {
  std::string log;
  CLoggingVector vector(&log, 'v');
  CLoggingVector other(&log, 'o');
  vector.AddRange(4, nullptr);
  other.AddRange(1, nullptr);
  CKrnEvenChecker even;
  std::uint32_t out[4];
  using COperations = std::vector<std::function<void()>>;
  const COperations locking = {
      [&] { vector.CopyOut(1, out, 0); },
      [&] { vector.Add(1); },
      [&] { vector.AddRange(1, nullptr); },
      [&] { vector.Insert(0, 1); },
      [&] { vector.InsertLocked(0, 1); },
      [&] { vector.Remove(0); },
      [&] { vector.RemoveRange(0, 1); },
      [&] { vector.Swap(0, 1); },
      [&] { vector.AssignRange(4u, nullptr); },
      [&] { vector.RemoveSelected(even, true); },
      [&] { vector.SetSize(4); },
  };
  const COperations otherFirst = {[&] { vector.Append(&other); }, [&] { vector.Copy(&other); }};
  const COperations unlocked = {
      [&] { vector.GetSize(); }, [&] { vector.ElementPtr(0); },      [&] { vector.At(0); },
      [&] { vector.Set(0, 3); }, [&] { vector.WritableElement(0); }, [&] { vector.RemoveAll(); },
  };
  for (const auto& [operations, firstLocks] :
       {std::pair{&locking, "v"}, std::pair{&otherFirst, "ov"}, std::pair{&unlocked, ""}}) {
    for (std::size_t i = 0; i < operations->size(); ++i) {
      log.clear();
      (*operations)[i]();
      const std::string expected = firstLocks;
      EXPECT_EQ(expected.empty() ? log : log.substr(0, expected.size()), expected) << i;
    }
  }
}

TEST(KrnGrowVector, SetPastTheEndGrowsWithZerosAndSurvivesItsOwnElements) {
  CCounts vector;
  EXPECT_TRUE(vector.Set(9, 7));
  EXPECT_EQ(KrnElements(vector), (CElements{0, 0, 0, 0, 0, 0, 0, 0, 0, 7}));
  EXPECT_FALSE(vector.Set(kKrnInvalidIndex, 1)); // neither wraps nor empties
  EXPECT_FALSE(vector.Insert(kKrnInvalidIndex, 1));
  // Each value lives in the buffer that growing replaces.
  EXPECT_TRUE(vector.Set(20, *vector.ElementPtr(9)));
  EXPECT_TRUE(vector.Insert(30, *vector.ElementPtr(20)));
  EXPECT_EQ(vector.GetSize(), 31u);
  EXPECT_EQ(vector.At(20), 7u);
  EXPECT_EQ(vector.At(30), 7u);
}

TEST(KrnMap, SetAndAddKeepOneEntryPerKeyInFirstInsertionOrder) {
  CKrnLineCountMap map;
  EXPECT_EQ(map.Find(5), nullptr);
  const CCounts value = KrnMake<CCounts>({1, 2});
  map.Set(5, value);
  ASSERT_NE(map.Find(5), nullptr);
  EXPECT_TRUE(map.Find(5)->SharesStorageWith(value));
  map.Set(3, CCounts());
  map.Set(5, KrnMake<CCounts>({7})); // an existing key keeps its place
  EXPECT_EQ(map.Add(CEntry{9, CCounts()}), 0u);
  EXPECT_EQ(map.Add(CEntry{3, KrnMake<CCounts>({4})}), 0u);
  EXPECT_EQ(Keys(map), (CElements{5, 3, 9}));
  EXPECT_EQ(KrnElements(*map.Find(5)), (CElements{7}));
  EXPECT_EQ(KrnElements(*map.Find(3)), (CElements{4}));
  EXPECT_EQ(KrnElements(value), (CElements{1, 2}));
  EXPECT_FALSE(map.SetSize(0));
  EXPECT_EQ(map.GetSize(), 3u);
}

TEST(KrnMap, WritesThroughFindStayInTheirOwnMapAndPositionsTakeEntriesAsTheyAre) {
  CKrnLineCountMap map;
  const CCounts value = KrnMake<CCounts>({1});
  map.Set(1, value);
  const CKrnLineCountMap copy(map);
  map.Find(1)->Set(0, 5);
  map.Set(2, value);
  EXPECT_EQ(KrnElements(value), (CElements{1}));
  EXPECT_EQ(KrnElements(*copy.Find(1)), (CElements{1}));
  EXPECT_EQ(copy.Find(2), nullptr);
  EXPECT_EQ(KrnElements(*map.Find(1)), (CElements{5}));

  EXPECT_EQ(map.Copy(&map), 2u);
  EXPECT_EQ(map.Append(&map), 2u);
  EXPECT_EQ(Keys(map), (CElements{1, 2, 1, 2}));
  map.WritableElement(2)->m_value.Set(0, 9);
  EXPECT_EQ(map.Find(1)->At(0), 5u); // the first entry of a key
}
