#include "coverage/PxCoverageFixture.h"

#include "probex/coverage/PxCoverage.h"
#include "probex/coverage/PxCoverageMode.h"
#include "probex/coverage/PxLineCounts.h"
#include "probex/coverage/PxRecordChannel.h"
#include "probex/platform/Clock.h"

std::uint32_t CPxCoverageTest::s_tick = 0x10000;

namespace {

std::uint32_t m_sTick() {
  return CPxCoverageTest::s_tick;
}

} // namespace

void CPxCoverageTest::SetUp() {
  CPxObjectDirTest::SetUp();
  ASSERT_TRUE(m_block.Attach(kPxModeBlockName));
  NPxPlatform::SetTickCountHook(m_sTick);
  SetRecordView(&m_sink);
  Reset();
}

void CPxCoverageTest::TearDown() {
  Reset();
  SetRecordView(nullptr);
  NPxPlatform::SetTickCountHook(nullptr);
  m_block.Detach();
  CPxObjectDirTest::TearDown();
}

void CPxCoverageTest::UseMode(std::int32_t word) {
  m_block.Lock();
  m_block.WriteRecordWord(kPxModeWordIndex, word);
  m_block.Unlock();
  NPxCoverage::SetStepLogMode();
}

void CPxCoverageTest::Reset() {
  UseMode(PX_MODE_COUNT);
  NPxCoverage::OutputLine(-1000, -1000, 1);
  FlushLineCounts();
  m_sink.Clear();
}
