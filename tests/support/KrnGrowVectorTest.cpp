// The growing vector: Set and Insert past the end grow it with zeros.
#include "probex/support/KrnGrowVector.h"

#include "KrnTestHelpers.h"

#include <gtest/gtest.h>

#include <vector>

using namespace KRN;
using CUIntGrowVector = CKrnGrowVector<std::uint32_t>;
using CElements = std::vector<std::uint32_t>;

TEST(KrnGrowVector, SetPastTheEndGrowsWithZeros) {
  CUIntGrowVector vector;
  EXPECT_TRUE(vector.Set(9, 7));
  EXPECT_EQ(KrnElements(vector), (CElements{0, 0, 0, 0, 0, 0, 0, 0, 0, 7}));
  EXPECT_TRUE(vector.Set(3, 1)); // in range: no growth
  EXPECT_EQ(vector.GetSize(), 10u);
  EXPECT_EQ(vector.At(3), 1u);
  EXPECT_TRUE(vector.Set(10, 2)); // just past the end
  EXPECT_EQ(vector.GetSize(), 11u);
}

TEST(KrnGrowVector, InsertPastTheEndGrowsToTheIndexFirst) {
  CUIntGrowVector vector;
  EXPECT_TRUE(vector.Insert(3, 5));
  EXPECT_EQ(KrnElements(vector), (CElements{0, 0, 0, 5}));
  EXPECT_TRUE(vector.InsertLocked(1, 4));
  EXPECT_EQ(KrnElements(vector), (CElements{0, 4, 0, 0, 5}));
  EXPECT_TRUE(vector.InsertLocked(7, 6));
  EXPECT_EQ(KrnElements(vector), (CElements{0, 4, 0, 0, 5, 0, 0, 6}));
}

TEST(KrnGrowVector, TheInvalidIndexNeitherWrapsNorEmpties) {
  CUIntGrowVector vector;
  vector.Set(1, 3);
  EXPECT_FALSE(vector.Set(kKrnInvalidIndex, 1));
  EXPECT_FALSE(vector.Insert(kKrnInvalidIndex, 1));
  EXPECT_EQ(KrnElements(vector), (CElements{0, 3}));
}

TEST(KrnGrowVector, GrowingACopyLeavesTheSourceAndSurvivesItsOwnElements) {
  CUIntGrowVector source;
  source.AddRange(5, nullptr);
  source.Set(4, 8);
  CUIntGrowVector copy(source);
  // The value lives in the buffer that growing replaces.
  EXPECT_TRUE(copy.Set(20, *copy.ElementPtr(4)));
  EXPECT_EQ(copy.At(20), 8u);
  EXPECT_TRUE(source.Set(12, *source.ElementPtr(4)));
  EXPECT_TRUE(source.Insert(15, *source.ElementPtr(12)));
  EXPECT_EQ(source.GetSize(), 16u);
  EXPECT_EQ(source.At(15), 8u);
  EXPECT_EQ(copy.GetSize(), 21u);
  EXPECT_EQ(copy.At(12), 0u);
}
