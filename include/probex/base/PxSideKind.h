// The kinds of the records that travel beside a sink's messages: the log
// writer adds them next to the messages they belong to, and a sink that
// also derives from CProbexRecordSink receives them. Four ASCII characters,
// as the message kinds; a reader that does not know them skips them.
#pragma once

#include "probex/base/PxMsgType.h"

namespace NPxSideKind {

// The values of a failed comparison, right after its failure text:
// "<difference>\t<left text>\t<left value>\t<right text>\t<right value>".
constexpr unsigned kValues = PX_MSG_CODE('T', 't', 'V', 'l');
// The test class's type name without namespaces, right after its caption.
constexpr unsigned kClassName = PX_MSG_CODE('C', 'l', 'T', 'y');
// The name a case was declared with (PX_CASE), right before the case runs.
constexpr unsigned kCaseName = PX_MSG_CODE('C', 'a', 'N', 'm');

constexpr bool IsSideKind(unsigned kind) {
  return kind == kValues || kind == kClassName || kind == kCaseName;
}

} // namespace NPxSideKind
