// The mode block's protocol; another handle watches the header's bytes.
#include "common/PxChildProcess.h"
#include "common/PxTestFiles.h"

#include "probex/platform/NamedSharedMemory.h"
#include "probex/platform/SharedBlock.h"

#include <climits>
#include <thread>
#include <vector>

namespace {

class SharedBlockTest : public CPxObjectDirTest {
protected:
  // The lock word, the attach count and the two record words.
  std::vector<std::int32_t> Words() const {
    const auto* words = static_cast<const std::int32_t*>(m_watch.View());
    return {words, words + 4};
  }
  NPxPlatform::CNamedSharedMemory m_watch;
};

TEST_F(SharedBlockTest, PartiesLeaveTheLockFreeAndNoneAttachedEvenAfterADeadHolder) {
  CSharedBlock block, second;
  ASSERT_TRUE(block.Attach("_QPX_MODE_INFO_"));
  ASSERT_EQ(1, m_watch.Open("_QPX_MODE_INFO_", 16));
  ASSERT_TRUE(second.Attach("_QPX_MODE_INFO_"));
  second.WriteRecordWord(1, 2);
  EXPECT_EQ(block.ReadRecordWord(1), 2);
  EXPECT_EQ(Words(), (std::vector<std::int32_t>{1, 2, 0, 2}));
  second.Detach();
  block.Detach();
  EXPECT_EQ(Words(), (std::vector<std::int32_t>{1, 0, 0, 2}));
  // A holder died between taking the lock and giving it back: a party waits
  // for it only boundedly, and the next release repairs it.
  static_cast<std::int32_t*>(m_watch.View())[0] = 0;
  ASSERT_TRUE(block.Attach("_QPX_MODE_INFO_"));
  EXPECT_EQ(Words(), (std::vector<std::int32_t>{0, 1, 0, 2}));
  block.Detach();
  EXPECT_EQ(Words(), (std::vector<std::int32_t>{1, 0, 0, 2}));
}

TEST_F(SharedBlockTest, TheLockKeepsPartiesOutOfEachOthersReadAndWrite) {
  CSharedBlock keeper;
  ASSERT_TRUE(keeper.Attach("locked"));
  const auto party = [] {
    CSharedBlock block;
    ASSERT_TRUE(block.Attach("locked"));
    for (int round = 0; round < 50; ++round) {
      block.Lock();
      const std::int32_t seen = block.ReadRecordWord(0);
      std::this_thread::yield();
      block.WriteRecordWord(0, seen + 1);
      block.Unlock();
    }
  };
  std::thread parties[] = {std::thread(party), std::thread(party), std::thread(party),
                           std::thread(party)};
  for (std::thread& one : parties)
    one.join();
  EXPECT_EQ(keeper.ReadRecordWord(0), 4 * 50);
}

TEST_F(SharedBlockTest, ABlockThatCannotBeMadeLeavesNothingAttachedAndReadsZero) {
  CSharedMemory memory;
  EXPECT_EQ(-1, memory.Open("sized", 0));
  EXPECT_EQ(-1, memory.Open("sized", static_cast<unsigned long>(UINT_MAX) + 1));
  CSharedBlock block;
  EXPECT_FALSE(block.Attach(nullptr));
  EXPECT_FALSE(block.Attach(std::string(2000, 'n').c_str()));
  PxSetEnv("PROBEX_OBJECT_DIR", "/proc/self/no-such-dir");
  EXPECT_FALSE(block.Attach("_QPX_MODE_INFO_"));
  block.WriteRecordWord(1, 5);
  block.Lock();
  EXPECT_EQ(block.ReadRecordWord(1), 0);
  block.Unlock();
}

} // namespace
