#include "probex/coverage/PxCoverageMode.h"

#include "probex/coverage/PxCoverage.h"
#include "probex/coverage/SharedBlock.h"

#include <atomic>

namespace {

std::atomic<bool> g_bModeKnown{false};
std::atomic<bool> g_bCountMode{false};

// A fresh attachment for every read: no mapping stays open between reads, so
// the block goes away with the last tool or recorder that holds it.
std::int32_t ReadModeWord() {
  CSharedBlock block;
  if (!block.Attach(kPxModeBlockName))
    return PX_MODE_NOT_SET;
  return block.ReadRecordWord(kPxModeWordIndex);
}

// Racing first reads read the same word and store the same answer; the
// known flag goes up only once the answer is in place.
void TakeMode(std::int32_t word) {
  g_bCountMode.store(word == PX_MODE_COUNT);
  g_bModeKnown.store(true);
}

} // namespace

bool IsCountMode() {
  if (g_bModeKnown.load())
    return g_bCountMode.load();
  const std::int32_t word = ReadModeWord();
  TakeMode(word == PX_MODE_NOT_SET ? PX_MODE_COUNT : word);
  return g_bCountMode.load();
}

void NPxCoverage::SetStepLogMode() {
  const std::int32_t word = ReadModeWord();
  TakeMode(word == PX_MODE_NOT_SET ? PX_MODE_STEP_LOG : word);
}
