// The map: entries in first-insertion order, values sharing storage, and
// counting through Find's pointer as the coverage store does.
#include "probex/support/KrnMap.h"

#include "KrnTestHelpers.h"

#include <gtest/gtest.h>

#include <vector>

using namespace KRN;
using CCounts = CKrnGrowVector<std::uint32_t>;
using CEntry = CKrnLineCountMap::CEntry;
using CElements = std::vector<std::uint32_t>;

namespace {

std::vector<std::uint32_t> Keys(const CKrnLineCountMap& map) {
  std::vector<std::uint32_t> keys;
  for (std::uint32_t index = 0; index < map.GetSize(); ++index) {
    keys.push_back(map.ElementPtr(index)->m_key);
  }
  return keys;
}

// One arrival at a point of a line, the way the coverage store counts it.
void Count(CKrnLineCountMap& map, std::uint32_t key, std::uint32_t point) {
  CKrnExclusiveGuard guard(&map);
  CCounts* pCounts = map.Find(key);
  if (!pCounts) {
    pCounts = map.Set(key, CCounts());
  }
  const std::uint32_t index = point - 1;
  pCounts->Set(index, index < pCounts->GetSize() ? pCounts->At(index) + 1 : 1);
}

} // namespace

TEST(KrnMap, FindOnAnEmptyMapAnswersNull) {
  CKrnLineCountMap map;
  EXPECT_EQ(map.Find(5), nullptr);
  const CKrnLineCountMap& constMap = map;
  EXPECT_EQ(constMap.Find(0), nullptr);
}

TEST(KrnMap, SetSharesTheValueStorageAndKeepsFirstInsertionOrder) {
  CKrnLineCountMap map;
  const CCounts value = KrnMake<CCounts>({1, 2});
  map.Set(5, value);
  ASSERT_NE(map.Find(5), nullptr);
  EXPECT_TRUE(map.Find(5)->SharesStorageWith(value));

  map.Set(3, CCounts());
  map.Set(9, CCounts());
  map.Set(5, KrnMake<CCounts>({7})); // an existing key keeps its place
  EXPECT_EQ(Keys(map), (std::vector<std::uint32_t>{5, 3, 9}));
  EXPECT_EQ(KrnElements(*map.Find(5)), (CElements{7}));
  EXPECT_EQ(KrnElements(value), (CElements{1, 2}));

  // Add means Set and answers 0.
  EXPECT_EQ(map.Add(CEntry{3, KrnMake<CCounts>({4})}), 0u);
  EXPECT_EQ(map.Add(CEntry{11, CCounts()}), 0u);
  EXPECT_EQ(Keys(map), (std::vector<std::uint32_t>{5, 3, 9, 11}));
  EXPECT_EQ(KrnElements(*map.Find(3)), (CElements{4}));
  EXPECT_FALSE(map.SetSize(0));
  EXPECT_EQ(map.GetSize(), 4u);
}

TEST(KrnMap, WritesThroughFindStayInTheirOwnMapAndValue) {
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
}

TEST(KrnMap, CountsGrowAndIncrementInTheTable) {
  CKrnLineCountMap map;
  const std::uint32_t lineA = (3u << 16) + 120;
  const std::uint32_t lineB = (1u << 16) + 7;
  Count(map, lineA, 1);
  Count(map, lineB, 2);
  Count(map, lineA, 3);
  for (int i = 0; i < 4; ++i) {
    Count(map, lineA, 1);
  }
  EXPECT_EQ(Keys(map), (std::vector<std::uint32_t>{lineA, lineB}));
  EXPECT_EQ(KrnElements(*map.Find(lineA)), (CElements{5, 0, 1}));
  EXPECT_EQ(KrnElements(*map.Find(lineB)), (CElements{0, 1}));
}

TEST(KrnMap, PositionalOperationsTakeEntriesAsTheyAre) {
  CKrnLineCountMap map;
  map.Set(1, KrnMake<CCounts>({1}));
  map.Set(2, KrnMake<CCounts>({2}));
  EXPECT_EQ(map.Copy(&map), 2u);
  EXPECT_EQ(map.Append(&map), 2u);
  EXPECT_EQ(Keys(map), (std::vector<std::uint32_t>{1, 2, 1, 2}));
  // Find answers the first entry of a key.
  map.WritableElement(2)->m_value.Set(0, 9);
  EXPECT_EQ(map.Find(1)->At(0), 1u);

  CKrnLineCountMap other;
  EXPECT_EQ(other.Copy(&map), 4u);
  EXPECT_TRUE(other.Find(2)->SharesStorageWith(*map.Find(2)));
  EXPECT_EQ(other.RemoveRange(1, 2), 2u);
  EXPECT_EQ(Keys(other), (std::vector<std::uint32_t>{1, 2}));
  EXPECT_EQ(map.GetSize(), 4u);
  EXPECT_TRUE(other.RemoveAll());
  EXPECT_EQ(other.Find(1), nullptr);
  EXPECT_THROW(other.ElementPtr(0), CIndexOutOfBoundsException);
}
