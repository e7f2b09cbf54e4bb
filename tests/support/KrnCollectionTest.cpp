// The collections: growing with sources inside, bad input, the map's order;
// random operations on vectors that copy each other, mirrored on
// std::vector and compared after every step (seeded, so a failure repeats);
// threads sharing one storage. These run under the thread sanitizer too.
#include "probex/support/KrnGrowVector.h"
#include "probex/support/KrnMap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <random>
#include <thread>
#include <vector>

using namespace KRN;
using CUIntVector = CKrnVector<std::uint32_t>;
using CCounts = CKrnGrowVector<std::uint32_t>;
using CElements = std::vector<std::uint32_t>;

namespace {

// The elements of a collection, read through ElementPtr.
template <class T> std::vector<T> KrnElements(const CKrnCollection<T>& collection) {
  std::vector<T> elements;
  for (std::uint32_t index = 0; index < collection.GetSize(); ++index)
    elements.push_back(*collection.ElementPtr(index));
  return elements;
}

class CKrnEvenChecker : public CKrnElementChecker<std::uint32_t> {
public:
  bool Check(const std::uint32_t& element) override { return element % 2 == 0; }
};

} // namespace

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

namespace {

// Vectors that copy each other beside std::vector models of them: random
// operations go to both, and after each every vector must equal its model.
template <class TVector> class CDifferential {
public:
  explicit CDifferential(unsigned seed) : m_seed(seed), m_random(seed) {}

  void Run() {
    for (int step = 0; step < 400 && !testing::Test::HasFailure(); ++step) {
      SCOPED_TRACE(testing::Message() << "seed " << m_seed << " step " << step);
      m_Step();
      m_ExpectModelsHeld();
    }
  }

private:
  static constexpr bool kGrowing = std::is_same_v<TVector, CKrnGrowVector<std::uint32_t>>;
  static constexpr std::size_t kSlots = 4, kMaxAppended = 300;

  // One operation on one slot's vector, its arguments drawn at random.
  struct SStep {
    TVector& vector;
    CElements& model;
    std::size_t from;
    std::uint32_t size, index, count, value;
  };

  std::size_t m_Pick(std::size_t bound) {
    return std::uniform_int_distribution<std::size_t>(0, bound - 1)(m_random);
  }

  void m_Step() {
    const std::size_t slot = m_Pick(kSlots);
    // Append and Copy lock their source first; sources at or below the
    // target keep one order, which the thread sanitizer checks.
    const std::size_t from = m_Pick(slot + 1);
    const auto size = static_cast<std::uint32_t>(m_models[slot].size());
    // Indexes reach a little past the end, to meet the refusals too.
    const auto index = static_cast<std::uint32_t>(m_Pick(size + 3));
    const auto count = static_cast<std::uint32_t>(m_Pick(12));
    const auto value = static_cast<std::uint32_t>(m_random());
    SStep step{m_vectors[slot], m_models[slot], from, size, index, count, value};
    const std::size_t operation = m_Pick(15);
    if (operation == 0 || operation == 8 || operation == 9)
      m_Share(operation, step);
    else if (operation == 4 || operation == 11 || operation >= 13)
      m_Remove(operation, step);
    else
      m_Write(operation, step);
  }

  // Whole vectors from another slot: assigned, appended, copied.
  void m_Share(std::size_t operation, const SStep& s) {
    const CElements& source = m_models[s.from];
    if (operation == 0) {
      s.vector = m_vectors[s.from];
      s.model = source;
    } else if (operation == 8 && s.size + source.size() <= kMaxAppended) { // appending doubles
      const CElements appended = source;
      EXPECT_EQ(s.vector.Append(&m_vectors[s.from]), appended.size());
      s.model.insert(s.model.end(), appended.begin(), appended.end());
    } else if (operation == 9) {
      EXPECT_EQ(s.vector.Copy(&m_vectors[s.from]), source.size());
      s.model = source;
    }
  }

  void m_Remove(std::size_t operation, const SStep& s) {
    if (operation == 4) {
      const std::uint32_t removed =
          s.count % 4 == 0 ? s.size - s.index : std::min(s.count % 4, s.size - s.index);
      EXPECT_EQ(s.vector.RemoveRange(s.index, s.count % 4),
                s.index < s.size ? removed : kKrnInvalidIndex);
      if (s.index < s.size)
        s.model.erase(s.model.begin() + s.index, s.model.begin() + s.index + removed);
    } else if (operation == 11) {
      EXPECT_EQ(s.vector.Remove(s.index), s.index < s.size);
      if (s.index < s.size)
        s.model.erase(s.model.begin() + s.index);
    } else if (operation == 13) {
      if (s.value % 4 == 0) {
        s.vector.RemoveAll();
        s.model.clear();
      }
    } else {
      const bool flag = s.value % 2 == 0;
      const auto before = s.model.size();
      s.model.erase(std::remove_if(s.model.begin(), s.model.end(),
                                   [flag](std::uint32_t v) { return (v % 2 == 0) == flag; }),
                    s.model.end());
      CKrnEvenChecker even;
      EXPECT_EQ(s.vector.RemoveSelected(even, flag), before - s.model.size());
    }
  }

  // Elements added, inserted, set, swapped, resized and assigned.
  void m_Write(std::size_t operation, const SStep& s) {
    switch (operation) {
    case 1:
      EXPECT_EQ(s.vector.Add(s.value), s.size);
      s.model.push_back(s.value);
      break;
    case 2:
      EXPECT_EQ(s.value % 2 ? s.vector.Insert(s.index, s.value)
                            : s.vector.InsertLocked(s.index, s.value),
                s.index <= s.size || kGrowing);
      if (s.index <= s.size || kGrowing) {
        s.model.resize(std::max(s.size, s.index));
        s.model.insert(s.model.begin() + s.index, s.value);
      }
      break;
    case 3:
      EXPECT_EQ(s.vector.Set(s.index, s.value), s.index < s.size || kGrowing);
      if (s.index < s.size || kGrowing) {
        s.model.resize(std::max(s.size, s.index + 1));
        s.model[s.index] = s.value;
      }
      break;
    case 5: {
      CElements data(s.count); // every third range is appended as zeros
      if (s.value % 3 != 0)
        std::generate(data.begin(), data.end(), std::ref(m_random));
      EXPECT_EQ(s.vector.AddRange(s.count, s.value % 3 != 0 ? data.data() : nullptr), s.count);
      s.model.insert(s.model.end(), data.begin(), data.end());
      break;
    }
    case 6:
      if (s.index < s.size)
        s.model[s.index] = *s.vector.WritableElement(s.index) = s.value;
      break;
    case 7:
      if (s.index < s.size && s.count < s.size) {
        s.vector.Swap(s.index, s.count);
        std::swap(s.model[s.index], s.model[s.count]);
      }
      break;
    case 10:
      EXPECT_TRUE(s.vector.SetSize(s.index + s.count));
      s.model.resize(s.index + s.count);
      break;
    default: {
      CElements data(s.count, s.value); // every other range is assigned as zeros
      EXPECT_EQ(s.vector.AssignRange(s.count, s.value % 2 ? data.data() : nullptr), s.count);
      s.model.assign(s.count, s.value % 2 ? s.value : 0);
      break;
    }
    }
  }

  // Every vector equals its model, and copies still sharing a storage have
  // equal models.
  void m_ExpectModelsHeld() {
    for (std::size_t one = 0; one < kSlots; ++one) {
      EXPECT_EQ(KrnElements(m_vectors[one]), m_models[one]) << "slot " << one;
      for (std::size_t other = 0; other < one; ++other)
        EXPECT_TRUE(!m_vectors[one].SharesStorageWith(m_vectors[other]) ||
                    m_models[one] == m_models[other])
            << one << " shares with " << other;
    }
  }

  const unsigned m_seed;
  std::mt19937 m_random;
  std::array<TVector, kSlots> m_vectors;
  std::array<CElements, kSlots> m_models;
};

} // namespace

TEST(KrnVectorDifferential, BothVectorsMatchStdVector) {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    CDifferential<CKrnVector<std::uint32_t>>(seed).Run();
    CDifferential<CKrnGrowVector<std::uint32_t>>(seed).Run();
  }
}

// Threads that copy, write and drop sharers of one storage: under the thread and
// address sanitizers, this catches races on the shared counts and any double free.
TEST(KrnConcurrent, ThreadsCopyWriteAndDropCopiesOfOneSharedVector) {
  constexpr std::uint32_t kThreads = 4, kRounds = 1000;
  // A counter per thread, and one that all threads count in.
  CKrnVector<std::uint32_t> shared;
  shared.AddRange(kThreads + 1, nullptr);
  std::atomic<std::uint32_t> started{0};
  const auto body = [&](std::uint32_t slot) {
    for (++started; started < kThreads;) {
    } // all threads start together
    for (std::uint32_t round = 0; round < kRounds; ++round) {
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
      EXPECT_EQ(copy.At(slot), round);
      if (round % 2 == 0)
        copy.Set(slot, 0);
      else
        copy.Insert(0, 0);
    }
  };
  std::vector<std::thread> threads;
  for (std::uint32_t slot = 0; slot < kThreads; ++slot)
    threads.emplace_back(body, slot);
  for (std::thread& thread : threads)
    thread.join();
  EXPECT_EQ(KrnElements(shared), (CElements{kRounds, kRounds, kRounds, kRounds, 4 * kRounds}));
}
