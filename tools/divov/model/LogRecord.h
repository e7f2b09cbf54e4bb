// One record of a log as the viewer sees it: the kind, the text in CP932
// bytes exactly as written, and where the record began in the file.
#pragma once

#include "probex/base/PxMsgType.h"

#include <cstdint>
#include <string>

struct SLogRecord {
  EPxMsgType kind = PX_MSG_ETC;
  std::string text;
  std::uint64_t offset = 0; // byte offset of the record's first byte
};
