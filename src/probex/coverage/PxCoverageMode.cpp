#include "probex/coverage/PxCoverageMode.h"

#include "probex/coverage/PxCoverage.h"
#include "probex/coverage/PxCoverageState.h"
#include "probex/platform/SharedBlock.h"

namespace {

// A fresh attachment for every read: no mapping stays open between reads, so
// the block goes away with the last tool or recorder that holds it.
std::int32_t ReadModeWord() {
  CSharedBlock block;
  if (!block.Attach(kPxModeBlockName))
    return PX_MODE_NOT_SET;
  return block.ReadRecordWord(kPxModeWordIndex);
}

void TakeMode(std::int32_t word) {
  SPxCoverageState& state = PxCoverageState();
  state.countMode.store(word == PX_MODE_COUNT);
  state.modeKnown.store(true);
  // Counters that call sites hold serve count mode only.
  state.gate.generation.fetch_add(1);
}

} // namespace

bool IsCountMode() {
  SPxCoverageState& state = PxCoverageState();
  if (state.modeKnown.load())
    return state.countMode.load();
  const std::int32_t word = ReadModeWord();
  TakeMode(word == PX_MODE_NOT_SET ? PX_MODE_COUNT : word);
  return state.countMode.load();
}

void NPxCoverage::SetStepLogMode() {
  const std::int32_t word = ReadModeWord();
  TakeMode(word == PX_MODE_NOT_SET ? PX_MODE_STEP_LOG : word);
}
