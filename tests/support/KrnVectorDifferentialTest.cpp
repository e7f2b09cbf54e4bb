// Random operations on a few vectors that copy each other, mirrored on
// std::vector and compared after every step. Seeded, so a failure repeats.
#include "KrnTestHelpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <random>

using namespace KRN;

namespace {

template <class TVector> class CDifferentialRun {
public:
  static constexpr bool kGrowing = std::is_same_v<TVector, CKrnGrowVector<std::uint32_t>>;

  explicit CDifferentialRun(unsigned seed) : m_random(seed) {}

  void Step() {
    const std::size_t slot = Pick(kSlots);
    // Append and Copy lock their source first; sources at or below the
    // target keep one order, which the thread sanitizer checks.
    const std::size_t from = Pick(slot + 1);
    TVector& vector = m_vectors[slot];
    CElements& model = m_models[slot];
    const auto size = static_cast<std::uint32_t>(model.size());
    // Indexes reach a little past the end, to meet the refusals too.
    const auto index = static_cast<std::uint32_t>(Pick(size + 3));
    const auto count = static_cast<std::uint32_t>(Pick(12));
    const auto value = static_cast<std::uint32_t>(m_random());
    SCOPED_TRACE(testing::Message() << "slot " << slot << " size " << size << " index " << index);
    switch (Pick(12)) {
    case 0:
      vector = m_vectors[from];
      model = m_models[from];
      break;
    case 1:
      EXPECT_EQ(vector.Add(value), size);
      model.push_back(value);
      break;
    case 2: {
      const bool grows = kGrowing && index > size;
      EXPECT_EQ(vector.Insert(index, value), index <= size || grows);
      if (grows || index <= size) {
        model.resize(std::max(size, index));
        model.insert(model.begin() + index, value);
      }
      break;
    }
    case 3: {
      const bool grows = kGrowing && index >= size;
      EXPECT_EQ(vector.Set(index, value), index < size || grows);
      if (grows || index < size) {
        model.resize(std::max(size, index + 1));
        model[index] = value;
      }
      break;
    }
    case 4: {
      const std::uint32_t removed =
          count % 4 == 0 ? size - index : std::min(count % 4, size - index);
      EXPECT_EQ(vector.RemoveRange(index, count % 4), index < size ? removed : kKrnInvalidIndex);
      if (index < size) {
        model.erase(model.begin() + index, model.begin() + index + removed);
      }
      break;
    }
    case 5: {
      CElements data(count);
      std::generate(data.begin(), data.end(), std::ref(m_random));
      const bool zeros = value % 3 == 0;
      EXPECT_EQ(vector.AddRange(count, zeros ? nullptr : data.data()), count);
      model.insert(model.end(), count, 0);
      if (!zeros) {
        std::copy(data.begin(), data.end(), model.end() - count);
      }
      break;
    }
    case 6:
      if (index < size) {
        *vector.WritableElement(index) = value;
        model[index] = value;
      }
      break;
    case 7:
      if (index < size && count < size) {
        vector.Swap(index, count);
        std::swap(model[index], model[count]);
      }
      break;
    case 8:
      if (size + m_models[from].size() <= kMaxAppended) { // appending doubles
        const CElements appended = m_models[from];
        EXPECT_EQ(vector.Append(&m_vectors[from]), appended.size());
        model.insert(model.end(), appended.begin(), appended.end());
      }
      break;
    case 9:
      EXPECT_EQ(vector.Copy(&m_vectors[from]), m_models[from].size());
      model = m_models[from];
      break;
    case 10:
      EXPECT_TRUE(vector.SetSize(index + count));
      model.resize(index + count);
      break;
    default: {
      CKrnEvenChecker even;
      const bool flag = value % 2 == 0;
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

  std::mt19937 m_random;
  std::array<TVector, kSlots> m_vectors;
  std::array<CElements, kSlots> m_models;
};

template <class TVector> void RunDifferential() {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    CDifferentialRun<TVector> run(seed);
    for (int step = 0; step < 400; ++step) {
      run.Step();
      ASSERT_TRUE(run.Check()) << "seed " << seed << " step " << step;
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
