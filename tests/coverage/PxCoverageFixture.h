// A test of the coverage recorder in this process: a namespace directory of
// its own holding the mode block, a mode word the test chooses (taken with
// SetStepLogMode), a stand-in tick source, and a recording sink on the
// record channel. The store is emptied before and after each test.
#pragma once

#include "common/PxRecordingSink.h"
#include "platform/PxObjectDirTest.h"
#include "probex/coverage/SharedBlock.h"

#include <cstdint>
#include <string>
#include <vector>

class CPxCoverageTest : public CPxObjectDirTest {
public:
  // The stand-in tick source: the value the recorder reads next.
  static std::uint32_t s_tick;

protected:
  void SetUp() override;
  void TearDown() override;

  // Writes the mode word and has the recorder take it.
  void UseMode(std::int32_t word);
  // The texts the sink received, in order, with their kinds.
  std::vector<SPxMessage> Records() const { return m_sink.Messages(); }
  // Empties the module's store through the sink and sets the repeat filter
  // to a passage no test uses, then forgets what the sink received.
  void Reset();

  CSharedBlock m_block;
  CPxRecordingSink m_sink;
};
