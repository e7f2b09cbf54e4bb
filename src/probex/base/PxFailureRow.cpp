#include "probex/base/PxFailureRow.h"

#include "probex/base/PxMsgType.h"
#include "probex/base/PxTranscriptLayout.h"

namespace NPxFailureRow {

std::string Write(const char* failure) {
  return NPxTranscriptLayout::Line(PX_MSG_TEST_NG, failure);
}

bool Read(std::string_view row, std::string_view& failure) {
  const NPxTranscriptLayout::SKindLayout& layout = NPxTranscriptLayout::Of(PX_MSG_TEST_NG);
  const std::string_view head = layout.head;
  const std::string_view suffix = layout.suffix;
  if (row.size() < head.size() + suffix.size() || row.substr(0, head.size()) != head ||
      row.substr(row.size() - suffix.size()) != suffix)
    return false;
  failure = row.substr(head.size(), row.size() - head.size() - suffix.size());
  return true;
}

} // namespace NPxFailureRow
