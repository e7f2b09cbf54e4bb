// The coverage mode block, as the recorder reads it and the controlling tool
// (pxmode) writes it: the named shared block holds the lock and attach header
// of CSharedBlock, then a word reserved to the tool and the mode word.
#pragma once

#include <cstdint>

constexpr const char* kPxModeBlockName = "_QPX_MODE_INFO_";
constexpr int kPxReservedWordIndex = 0;
constexpr int kPxModeWordIndex = 1;

// Values of the mode word; every value other than these three is step log.
enum EPxModeWord : std::int32_t {
  PX_MODE_NOT_SET = 0,
  PX_MODE_COUNT = 1,
  PX_MODE_STEP_LOG = 2,
};
