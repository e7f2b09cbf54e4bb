#include "probex/support/KrnMap.h"

#include "KrnTestHelpers.h"

#include <gtest/gtest.h>

using namespace KRN;
using CUIntVector = CKrnVector<std::uint32_t>;
using CCounts = CKrnGrowVector<std::uint32_t>;

TEST(KrnVector, GrowingKeepsSourcesInsideTheVectorAndTheGrowVectorFillsWithZeros) {
  CUIntVector vector;
  for (std::uint32_t value = 1; value <= 5; ++value)
    vector.Add(value);
  const std::uint32_t* pFirst = vector.ElementPtr(0);
  vector.Set(0, 1);
  EXPECT_EQ(vector.ElementPtr(0), pFirst); // unshared: written in place
  // Each source below lives in the buffer that growing replaces.
  EXPECT_EQ(vector.Add(*vector.ElementPtr(4)), 5u);
  EXPECT_EQ(vector.AddRange(6, vector.ElementPtr(0)), 6u);
  EXPECT_EQ(vector.Append(&vector), 12u);
  EXPECT_EQ(KrnElements(vector),
            (CElements{1, 2, 3, 4, 5, 5, 1, 2, 3, 4, 5, 5, 1, 2, 3, 4, 5, 5, 1, 2, 3, 4, 5, 5}));
  EXPECT_EQ(vector.AssignRange(2u, vector.ElementPtr(1)), 2u);
  EXPECT_EQ(KrnElements(vector), (CElements{2, 3}));
  CCounts counts; // grows on a Set or Insert past its end, with zeros
  EXPECT_TRUE(counts.Set(9, 7));
  EXPECT_EQ(KrnElements(counts), (CElements{0, 0, 0, 0, 0, 0, 0, 0, 0, 7}));
  EXPECT_FALSE(counts.Set(kKrnInvalidIndex, 1)); // neither wraps nor empties
  EXPECT_FALSE(counts.Insert(kKrnInvalidIndex, 1));
  EXPECT_TRUE(counts.Set(20, *counts.ElementPtr(9)));
  EXPECT_TRUE(counts.Insert(30, *counts.ElementPtr(20)));
  EXPECT_EQ(counts.GetSize(), 31u);
  EXPECT_EQ(counts.At(20), 7u);
  EXPECT_EQ(counts.At(30), 7u);
}

TEST(KrnVector, BadInputThrowsOrFailsAndChangesNothingAndRemoveRangeZeroZeroEmpties) {
  CUIntVector vector;
  vector.AddRange(3, CElements{1, 2, 3}.data());
  const CUIntVector sharer(vector);
  EXPECT_THROW(vector.ElementPtr(3), CIndexOutOfBoundsException);
  EXPECT_THROW(vector.At(kKrnInvalidIndex), CIndexOutOfBoundsException);
  EXPECT_THROW(vector.WritableElement(3), CIndexOutOfBoundsException);
  EXPECT_THROW(vector.Swap(0, 3), CIndexOutOfBoundsException);
  EXPECT_THROW(vector.Swap(3, 0), CIndexOutOfBoundsException);
  vector.Swap(7, 7);
  EXPECT_FALSE(vector.Set(3, 9));
  EXPECT_FALSE(vector.Remove(3));
  EXPECT_FALSE(vector.SetSize(kKrnInvalidIndex));
  EXPECT_EQ(vector.AddRange(kKrnInvalidIndex, nullptr), kKrnInvalidIndex);
  EXPECT_EQ(vector.AssignRange(kKrnInvalidIndex, nullptr), kKrnInvalidIndex);
  EXPECT_EQ(vector.AssignRange(-1, nullptr), kKrnInvalidIndex);
  std::uint32_t* volatile none = nullptr; // unseen by the optimiser, which would warn
  EXPECT_THROW(vector.CopyOut(2, none, 0), CNullPointerException);
  EXPECT_THROW(vector.Append(nullptr), CNullPointerException);
  EXPECT_THROW(vector.Copy(nullptr), CNullPointerException);
  std::uint32_t out[3] = {};
  EXPECT_EQ(vector.CopyOut(10, out, 1), 2u);
  EXPECT_EQ(CElements(out, out + 3), (CElements{2, 3, 0}));
  EXPECT_EQ(KrnElements(vector), (CElements{1, 2, 3}));
  EXPECT_TRUE(vector.SharesStorageWith(sharer));

  EXPECT_EQ(vector.RemoveRange(0, 0), 3u); // a count of 0 runs to the end, onto a fresh storage
  EXPECT_EQ(vector.GetCapacity(), 0u);
  EXPECT_EQ(vector.AssignRange(2, nullptr), 2u);
  EXPECT_EQ(KrnElements(vector), (CElements{0, 0}));
}

TEST(KrnMap, OneEntryPerKeyInFirstInsertionOrderAndWritesThroughFindStayInTheirMap) {
  CKrnLineCountMap map;
  const auto keys = [&map] {
    CElements keys;
    for (const auto& entry : KrnElements(map))
      keys.push_back(entry.m_key);
    return keys;
  };
  EXPECT_EQ(map.Find(5), nullptr);
  CCounts value;
  value.Set(1, 2);
  map.Set(5, value);
  ASSERT_TRUE(map.Find(5) && map.Find(5)->SharesStorageWith(value));
  const CKrnLineCountMap copy(map);
  map.Find(5)->Set(0, 9);
  map.Set(3, CCounts());
  EXPECT_EQ(KrnElements(value), (CElements{0, 2}));
  EXPECT_EQ(KrnElements(*copy.Find(5)), (CElements{0, 2}));
  EXPECT_EQ(copy.Find(3), nullptr);
  EXPECT_EQ(KrnElements(*map.Find(5)), (CElements{9, 2}));

  map.Set(5, CCounts())->Set(0, 7); // an existing key keeps its place
  EXPECT_EQ(map.Add(CKrnLineCountMap::CEntry{9, CCounts()}), 0u);
  EXPECT_EQ(map.Add(CKrnLineCountMap::CEntry{3, value}), 0u);
  EXPECT_EQ(keys(), (CElements{5, 3, 9}));
  EXPECT_EQ(KrnElements(*map.Find(5)), (CElements{7}));
  EXPECT_EQ(KrnElements(*map.Find(3)), (CElements{0, 2}));
  EXPECT_FALSE(map.SetSize(0));
  EXPECT_EQ(map.Append(&map), 3u);
  EXPECT_EQ(keys(), (CElements{5, 3, 9, 5, 3, 9}));
  map.WritableElement(3)->m_value.Set(0, 8);
  EXPECT_EQ(map.Find(5)->At(0), 7u); // the first entry of a key
}
