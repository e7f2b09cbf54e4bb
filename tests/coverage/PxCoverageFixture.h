// The recorder in this process in step-log mode, a stand-in tick source and a recording sink.
#pragma once

#include "common/PxRecordingSink.h"
#include "common/PxTestFiles.h"
#include "probex/base/PxRecordCodec.h"
#include "probex/coverage/PxCoverage.h"
#include "probex/coverage/PxCoverageMode.h"
#include "probex/coverage/PxLineCounts.h"
#include "probex/platform/Clock.h"
#include "probex/platform/SharedBlock.h"
#include "probex/view/PxRecordChannel.h"

#include <cstdint>
#include <vector>

using Records = std::vector<std::string>;

class CPxCoverageTest : public CPxObjectDirTest {
public:
  // The tick of the process's first passage, in the first SetUp: the time base.
  static constexpr std::uint32_t kTimeBase = 0x10000;
  static inline std::uint32_t s_tick = kTimeBase;

protected:
  void SetUp() override {
    CPxObjectDirTest::SetUp();
    ASSERT_TRUE(m_block.Attach(kPxModeBlockName));
    NPxPlatform::SetTickCountHook([] { return s_tick; });
    PxRecordChannel().SetView(&m_sink);
    Reset();
    UseMode(PX_MODE_STEP_LOG);
  }
  void TearDown() override {
    Reset();
    PxRecordChannel().SetView(nullptr);
    NPxPlatform::SetTickCountHook(nullptr);
    m_block.Detach();
    CPxObjectDirTest::TearDown();
  }
  void UseMode(std::int32_t word) {
    m_block.Lock();
    m_block.WriteRecordWord(kPxModeWordIndex, word);
    m_block.Unlock();
    NPxCoverage::SetStepLogMode();
  }
  // The records sent since the last Reset, as "PxLn|?1,2(3".
  Records Sent() const {
    Records sent;
    for (const SPxMessage& message : m_sink.Messages())
      sent.push_back(PxKindText(message.kind) + NPxLogFormat::kKindSeparator + message.text);
    return sent;
  }
  // Empties the store and sets the repeat filter to a passage no test uses.
  void Reset() {
    UseMode(PX_MODE_COUNT);
    NPxCoverage::OutputLine(-1000, -1000, 1);
    PxLineCounts().Flush();
    m_sink.Clear();
  }

  CSharedBlock m_block;
  CPxRecordingSink m_sink;
};
