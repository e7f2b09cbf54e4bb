// Random operations on a few vectors that copy each other, mirrored on
// std::vector and compared after every step. Seeded, so a failure repeats.
#include "probex/support/KrnGrowVector.h"
#include "probex/support/KrnVector.h"

#include "KrnTestHelpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <vector>

using namespace KRN;

namespace {

using CModel = std::vector<std::uint32_t>;

template <class TVector> class CDifferentialRun {
public:
  static constexpr bool kGrowing = std::is_same_v<TVector, CKrnGrowVector<std::uint32_t>>;

  explicit CDifferentialRun(unsigned seed) : m_random(seed) {}

  void Step(int step) {
    const std::size_t slot = Pick(kSlots);
    TVector& vector = m_vectors[slot];
    CModel& model = m_models[slot];
    const auto size = static_cast<std::uint32_t>(model.size());
    // Indexes reach a little past the end, to meet the refusals too.
    const std::uint32_t index = static_cast<std::uint32_t>(Pick(size + 3));
    const std::uint32_t value = static_cast<std::uint32_t>(m_random());
    SCOPED_TRACE(testing::Message()
                 << "step " << step << " slot " << slot << " size " << size << " index " << index);
    switch (Pick(12)) {
    case 0: {
      const std::size_t from = Pick(kSlots);
      m_vectors[slot] = m_vectors[from];
      m_models[slot] = m_models[from];
      break;
    }
    case 1:
      EXPECT_EQ(vector.Add(value), size);
      model.push_back(value);
      break;
    case 2: {
      const bool grows = kGrowing && index > size;
      EXPECT_EQ(vector.Insert(index, value), index <= size || grows);
      if (grows) {
        model.resize(index);
      }
      if (index <= model.size()) {
        model.insert(model.begin() + index, value);
      }
      break;
    }
    case 3: {
      const bool grows = kGrowing && index >= size;
      EXPECT_EQ(vector.Set(index, value), index < size || grows);
      if (grows) {
        model.resize(index + 1);
      }
      if (index < model.size()) {
        model[index] = value;
      }
      break;
    }
    case 4: {
      const std::uint32_t count = static_cast<std::uint32_t>(Pick(4));
      const std::uint32_t removed = vector.RemoveRange(index, count);
      if (index >= size) {
        EXPECT_EQ(removed, kKrnInvalidIndex);
        break;
      }
      const std::uint32_t expected = count == 0 ? size - index : std::min(count, size - index);
      EXPECT_EQ(removed, expected);
      model.erase(model.begin() + index, model.begin() + index + expected);
      break;
    }
    case 5: {
      const std::uint32_t count = static_cast<std::uint32_t>(Pick(12));
      CModel data(count);
      std::generate(data.begin(), data.end(), std::ref(m_random));
      const bool zeros = Pick(3) == 0;
      EXPECT_EQ(vector.AddRange(count, zeros ? nullptr : data.data()), count);
      if (zeros) {
        std::fill(data.begin(), data.end(), 0u);
      }
      model.insert(model.end(), data.begin(), data.end());
      break;
    }
    case 6:
      if (index < size) {
        *vector.WritableElement(index) = value;
        model[index] = value;
      }
      break;
    case 7: {
      const std::uint32_t other = static_cast<std::uint32_t>(Pick(size + 1));
      if (index < size && other < size) {
        vector.Swap(index, other);
        std::swap(model[index], model[other]);
      }
      break;
    }
    case 8: {
      const std::size_t from = PickSourceOf(slot);
      const CModel appended = m_models[from];
      if (size + appended.size() > kMaxAppended) {
        break; // appending doubles; keep the sizes small
      }
      EXPECT_EQ(vector.Append(&m_vectors[from]), appended.size());
      model.insert(model.end(), appended.begin(), appended.end());
      break;
    }
    case 9: {
      const std::size_t from = PickSourceOf(slot);
      EXPECT_EQ(vector.Copy(&m_vectors[from]), m_models[from].size());
      m_models[slot] = m_models[from];
      break;
    }
    case 10: {
      const std::uint32_t newSize = static_cast<std::uint32_t>(Pick(size + 6));
      EXPECT_TRUE(vector.SetSize(newSize));
      model.resize(newSize);
      break;
    }
    default: {
      CKrnEvenChecker even;
      const bool flag = Pick(2) == 0;
      const auto before = model.size();
      model.erase(std::remove_if(model.begin(), model.end(),
                                 [flag](std::uint32_t v) { return (v % 2 == 0) == flag; }),
                  model.end());
      EXPECT_EQ(vector.RemoveSelected(even, flag), before - model.size());
      break;
    }
    }
  }

  // Every vector equals its model, and copies that still share a storage
  // have equal models.
  bool Check() {
    for (std::size_t slot = 0; slot < kSlots; ++slot) {
      EXPECT_EQ(KrnElements(m_vectors[slot]), m_models[slot]) << "slot " << slot;
      EXPECT_GE(m_vectors[slot].GetCapacity(), m_vectors[slot].GetSize());
      for (std::size_t other = 0; other < slot; ++other) {
        if (m_vectors[slot].SharesStorageWith(m_vectors[other])) {
          EXPECT_EQ(m_models[slot], m_models[other]) << slot << " shares with " << other;
        }
      }
    }
    return !testing::Test::HasFailure();
  }

private:
  static constexpr std::size_t kSlots = 4;
  static constexpr std::size_t kMaxAppended = 300;

  std::size_t Pick(std::size_t bound) {
    return std::uniform_int_distribution<std::size_t>(0, bound - 1)(m_random);
  }
  // Append and Copy take the source's lock before the target's; sources at
  // or below the target keep one order, which the thread sanitizer checks.
  std::size_t PickSourceOf(std::size_t slot) { return Pick(slot + 1); }

  std::mt19937 m_random;
  std::array<TVector, kSlots> m_vectors;
  std::array<CModel, kSlots> m_models;
};

template <class TVector> void RunDifferential() {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    CDifferentialRun<TVector> run(seed);
    for (int step = 0; step < 400; ++step) {
      run.Step(step);
      ASSERT_TRUE(run.Check()) << "seed " << seed;
    }
  }
}

} // namespace

TEST(KrnVectorDifferential, VectorMatchesStdVector) {
  RunDifferential<CKrnVector<std::uint32_t>>();
}

TEST(KrnVectorDifferential, GrowVectorMatchesStdVector) {
  RunDifferential<CKrnGrowVector<std::uint32_t>>();
}
