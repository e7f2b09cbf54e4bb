#include "probex/base/PxTranscriptLayout.h"

#include "probex/base/PxMsgType.h"

namespace NPxTranscriptLayout {
namespace {

struct SRow {
  unsigned kind;
  SKindLayout layout;
};

// Kinds not listed show as free text, the coverage kinds show nothing.
constexpr SRow kRows[] = {
    {PX_MSG_CLASS_CAPTION, {EShown::Text, "[", "]", "\n"}},
    {PX_MSG_CLASS_NAME, {EShown::Text, ">>>> ", "", "\n"}},
    {PX_MSG_CLASS_RESULT, {EShown::Text, ">> ", "", "\n"}},
    {PX_MSG_CASE_LINE, {EShown::Empty, "", "", ""}},
    {PX_MSG_CASE_CAPTION, {EShown::Text, "-----", "", "\n"}},
    {PX_MSG_CASE_TIME, {EShown::Text, "             -->Time ", "", "\n\n"}},
    {PX_MSG_TEST_LINE, {EShown::Empty, "", "", ""}},
    {PX_MSG_TEST_EXPECT_LINE, {EShown::Text, "", "<", "\n"}},
    {PX_MSG_TEST_OK, {EShown::LineEnd, "", "", "\n"}},
    {PX_MSG_TEST_NG, {EShown::Text, "** ", "", "\n\n"}},
};
constexpr SKindLayout kFreeText{EShown::Text, "", "", "\n"};
constexpr SKindLayout kCoverage{EShown::Nothing, "", "", ""};

} // namespace

const SKindLayout& Of(unsigned kind) {
  if (PxIsCoverageKind(static_cast<EPxMsgType>(kind)))
    return kCoverage;
  for (const SRow& row : kRows)
    if (row.kind == kind)
      return row.layout;
  return kFreeText;
}

std::string Line(unsigned kind, const char* text) {
  const SKindLayout& layout = Of(kind);
  std::string line = layout.head;
  line += text ? text : "";
  line += layout.suffix;
  return line;
}

std::string Piece(unsigned kind, const char* text) {
  const SKindLayout& layout = Of(kind);
  if (layout.shown == EShown::LineEnd)
    return layout.lineEnd;
  if (layout.shown != EShown::Text)
    return std::string();
  return Line(kind, text) + layout.lineEnd;
}

} // namespace NPxTranscriptLayout
