// The mode block's protocol: the header a recorder leaves, the lock between
// parties, a lock word left taken by a dead holder, and blocks that cannot be
// made. Another handle on the same name watches the header's bytes.
#include "platform/PxObjectDirTest.h"

#include "probex/coverage/SharedBlock.h"
#include "probex/platform/NamedSharedMemory.h"

#include <climits>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

class SharedBlockTest : public CPxObjectDirTest {
protected:
  // The lock word and the attach count, as another process would see them.
  std::vector<std::int32_t> Header() const {
    const auto* words = static_cast<const std::int32_t*>(m_watch.View());
    return {words[0], words[1]};
  }
  NPxPlatform::CNamedSharedMemory m_watch;
};

TEST_F(SharedBlockTest, AMadeBlockIsLeftFreeWithNoPartyAttached) {
  CSharedBlock block;
  ASSERT_TRUE(block.Attach("_QPX_MODE_INFO_"));
  ASSERT_EQ(1, m_watch.Open("_QPX_MODE_INFO_", 16));
  EXPECT_EQ(Header(), (std::vector<std::int32_t>{1, 1}));
  EXPECT_EQ(block.ReadRecordWord(1), 0);

  CSharedBlock second;
  ASSERT_TRUE(second.Attach("_QPX_MODE_INFO_"));
  EXPECT_EQ(Header(), (std::vector<std::int32_t>{1, 2}));
  second.WriteRecordWord(1, 2);
  EXPECT_EQ(block.ReadRecordWord(1), 2);
  EXPECT_EQ(static_cast<const std::int32_t*>(m_watch.View())[3], 2);

  second.Detach();
  block.Detach();
  EXPECT_EQ(Header(), (std::vector<std::int32_t>{1, 0}));
  EXPECT_FALSE(block.IsAttached());
}

TEST_F(SharedBlockTest, TheLockKeepsPartiesOutOfEachOthersReadAndWrite) {
  CSharedBlock keeper;
  ASSERT_TRUE(keeper.Attach("locked"));
  constexpr int kParties = 4, kRounds = 50;
  std::vector<std::thread> parties;
  for (int p = 0; p < kParties; ++p) {
    parties.emplace_back([] {
      CSharedBlock block;
      ASSERT_TRUE(block.Attach("locked"));
      for (int round = 0; round < kRounds; ++round) {
        block.Lock();
        const std::int32_t seen = block.ReadRecordWord(0);
        std::this_thread::yield();
        block.WriteRecordWord(0, seen + 1);
        block.Unlock();
      }
    });
  }
  for (std::thread& party : parties)
    party.join();
  EXPECT_EQ(keeper.ReadRecordWord(0), kParties * kRounds);
}

TEST_F(SharedBlockTest, ALockWordLeftTakenIsWaitedForOnlyBoundedlyAndThenRepaired) {
  ASSERT_EQ(0, m_watch.Open("stuck", 16));
  // A holder that died between taking the lock and giving it back.
  static_cast<std::int32_t*>(m_watch.View())[0] = 0;
  CSharedBlock block;
  ASSERT_TRUE(block.Attach("stuck"));
  EXPECT_EQ(Header(), (std::vector<std::int32_t>{0, 1}));
  block.Detach();
  EXPECT_EQ(Header(), (std::vector<std::int32_t>{1, 0}));
}

TEST_F(SharedBlockTest, ABlockThatCannotBeMadeLeavesNothingAttachedAndReadsZero) {
  CSharedBlock block;
  EXPECT_FALSE(block.Attach(nullptr));
  EXPECT_FALSE(block.Attach(std::string(2000, 'n').c_str()));
  ::setenv("PROBEX_OBJECT_DIR", "/proc/self/no-such-dir", 1);
  EXPECT_FALSE(block.Attach("_QPX_MODE_INFO_"));
  EXPECT_FALSE(block.IsAttached());
  EXPECT_EQ(block.ReadRecordWord(1), 0);
  block.WriteRecordWord(1, 5);
  block.Lock();
  block.Unlock();
  block.Detach();
}

TEST_F(SharedBlockTest, SizesOutsideThePlatformsRangeAreRefused) {
  CSharedMemory memory;
  EXPECT_EQ(-1, memory.Open("sized", 0));
  if (sizeof(unsigned long) > sizeof(unsigned)) {
    EXPECT_EQ(-1, memory.Open("sized", static_cast<unsigned long>(UINT_MAX) + 1));
  }
  EXPECT_EQ(nullptr, memory.View());
  EXPECT_EQ(0, memory.Open("sized", 16));
  EXPECT_NE(nullptr, memory.View());
  EXPECT_TRUE(memory.Close());
  EXPECT_EQ(nullptr, memory.View());
}

} // namespace
