// The coverage mode of the process, count or step log, as the controlling
// tool sets it in the mode block: read once, on the first question, and
// again only when SetStepLogMode asks for it.
#pragma once

#include <cstdint>

// The named shared block: the lock and attach header of CSharedBlock, then a
// word reserved to the controlling tool and the mode word.
constexpr const char* kPxModeBlockName = "_QPX_MODE_INFO_";
constexpr int kPxReservedWordIndex = 0;
constexpr int kPxModeWordIndex = 1;

// Values of the mode word; every value other than these three is step log.
enum EPxModeWord : std::int32_t {
  PX_MODE_NOT_SET = 0,
  PX_MODE_COUNT = 1,
  PX_MODE_STEP_LOG = 2,
};

// True in count mode. A block that cannot be made or mapped reads as a word
// of 0, not set, which is count mode here.
bool IsCountMode();
