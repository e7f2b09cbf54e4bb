// Named shared memory: zero-filled when made, shared between processes,
// gone with its last holder.
#include "platform/PxObjectDirTest.h"
#include "platform/PxParty.h"

#include "common/PxChildProcess.h"
#include "probex/platform/NamedSharedMemory.h"

#include <cstring>

using NPxPlatform::CNamedSharedMemory;

namespace {

class NamedSharedMemoryTest : public CPxObjectDirTest {};

TEST_F(NamedSharedMemoryTest, ZeroFilledSharedWithAnotherProcessAndGoneWithTheLastClose) {
  CNamedSharedMemory memory, other;
  ASSERT_EQ(0, memory.Open("_QPX_MODE_INFO_", 16));
  auto* bytes = static_cast<unsigned char*>(memory.View());
  for (int i = 0; i < 16; ++i)
    EXPECT_EQ(0, bytes[i]) << i;
  bytes[0] = 0x5a;
  bytes[15] = 0xa5;

  CPxParty child;
  ASSERT_TRUE(child.Start({PxScenarioPath("px_named_holder"), "memory", "_QPX_MODE_INFO_"}));
  EXPECT_EQ("1 5a 00 00 00 00 00 00 00 00 00 00 00 00 00 00 a5", child.ReadLine());
  EXPECT_EQ(0, child.Wait());
  EXPECT_EQ(0, std::memcmp(bytes + 8, "child", 5));

  // Sizes the living block cannot serve are refused.
  EXPECT_EQ(-1, other.Open("_QPX_MODE_INFO_", 17));
  EXPECT_EQ(-1, other.Open("_QPX_MODE_INFO_", 0));
  EXPECT_EQ(nullptr, other.View());
  EXPECT_EQ(1, other.Open("_QPX_MODE_INFO_", 8));
  other.Close();

  EXPECT_TRUE(memory.Close());
  EXPECT_FALSE(memory.Close());
  EXPECT_EQ(nullptr, memory.View());
  ASSERT_EQ(0, memory.Open("_QPX_MODE_INFO_", 16));
  EXPECT_EQ(0, static_cast<unsigned char*>(memory.View())[0]);
}

} // namespace
