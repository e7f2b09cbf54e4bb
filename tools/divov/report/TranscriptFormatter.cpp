#include "report/TranscriptFormatter.h"

#include "model/EnglishTexts.h"
#include "model/FailureValues.h"
#include "probex/base/PxNameRecord.h"
#include "probex/base/PxRecordCodec.h"
#include "probex/base/PxTexts.h"
#include "probex/base/PxTranscriptLayout.h"

namespace {

using NPxTranscriptLayout::EShown;

// Under the failure text, whose "** " they line up with.
const std::string kValueIndent = "   ";
// The names read as the declarations do.
const std::string kClassHead = "class ";
const std::string kCaseHead = "case ";

ETextStyle ResultStyle(const std::string& text) {
  // No failures and no exceptions are good news, any other count is not.
  for (const char* label : {NPxText::kResultFailures, NPxText::kResultExceptions}) {
    const std::string_view head(label);
    if (text.compare(0, head.size(), head) == 0)
      return text.compare(head.size(), std::string::npos, "0") == 0 ? ETextStyle::Pass
                                                                    : ETextStyle::Fail;
  }
  return ETextStyle::Case;
}

struct SKindStyle {
  unsigned kind;
  ETextStyle style;
};
constexpr SKindStyle kKindStyles[] = {
    {PX_MSG_CLASS_CAPTION, ETextStyle::Heading},  {PX_MSG_CLASS_NAME, ETextStyle::Heading},
    {PX_MSG_CASE_CAPTION, ETextStyle::Case},      {PX_MSG_CASE_TIME, ETextStyle::Case},
    {PX_MSG_TEST_EXPECT_LINE, ETextStyle::Plain}, {PX_MSG_TEST_OK, ETextStyle::Pass},
    {PX_MSG_TEST_NG, ETextStyle::Fail},
};

ETextStyle Style(const SLogRecord& record) {
  const std::string& text = record.text;
  if (record.kind == PX_MSG_CLASS_RESULT)
    return ResultStyle(text);
  for (const SKindStyle& entry : kKindStyles)
    if (entry.kind == record.kind)
      return entry.style;
  // The warnings and the results heading are free texts.
  if (record.kind != PX_MSG_ETC)
    return ETextStyle::Plain;
  if (PxIsFixedText(text, NPxText::kCaptionWarning) ||
      PxIsFixedText(text, NPxText::kEndMarkerWarning))
    return ETextStyle::Warning;
  return PxIsFixedText(text, NPxText::kSuiteResultsHeading) ? ETextStyle::Heading
                                                            : ETextStyle::Plain;
}

} // namespace

void CTranscriptFormatter::Add(const SLogRecord& record) {
  if (!m_heldGap.empty() && record.kind != NPxSideKind::kValues)
    m_EmitGap();
  if (m_holding) {
    // An expression takes the style of the outcome that follows it.
    m_holding = false;
    const ETextStyle style = record.kind == PX_MSG_TEST_OK || record.kind == PX_MSG_TEST_NG
                                 ? Style(record)
                                 : ETextStyle::Plain;
    m_Show(PX_MSG_TEST_EXPRESSION, m_heldExpression, style);
  }
  if (NPxLogFormat::IsHeaderKind(record.kind))
    return;
  if (record.kind == NPxSideKind::kClassName || record.kind == NPxSideKind::kCaseName) {
    std::string name;
    if (NPxNameRecord::Read(record.text, name)) {
      const bool isClass = record.kind == NPxSideKind::kClassName;
      m_piece((isClass ? kClassHead : kCaseHead) + name,
              isClass ? ETextStyle::Heading : ETextStyle::Case, "\n");
    }
    return;
  }
  // Values show under the failure right before them, like the model's.
  if (record.kind == NPxSideKind::kValues) {
    if (m_heldGap.empty())
      return;
    for (const std::string& line : PxFailureValueLines(record.text))
      m_piece(kValueIndent + line, ETextStyle::Plain, "\n");
    m_EmitGap();
    return;
  }
  if (record.kind == PX_MSG_TEST_EXPRESSION) {
    m_holding = true;
    m_heldExpression = record.text;
    return;
  }
  if (NPxTranscriptLayout::Of(record.kind).shown != EShown::Nothing)
    m_Show(record.kind, record.text, Style(record));
}

void CTranscriptFormatter::Flush() {
  m_EmitGap();
  if (!m_holding)
    return;
  m_holding = false;
  m_Show(PX_MSG_TEST_EXPRESSION, m_heldExpression, ETextStyle::Plain);
}

void CTranscriptFormatter::m_Show(unsigned kind, std::string_view text, ETextStyle style) {
  const NPxTranscriptLayout::SKindLayout& layout = NPxTranscriptLayout::Of(kind);
  if (layout.shown == EShown::Nothing || layout.shown == EShown::Empty)
    return;
  if (layout.shown == EShown::LineEnd)
    text = std::string_view();
  m_scratch.assign(layout.head);
  m_scratch.append(text);
  m_scratch.append(layout.suffix);
  std::string_view lineEnd = layout.lineEnd;
  // A failure's blank line waits: its values, if any, go right under it.
  if (kind == PX_MSG_TEST_NG && lineEnd.size() > 1) {
    m_heldGap.assign(lineEnd.substr(1));
    lineEnd = lineEnd.substr(0, 1);
  }
  m_piece(m_scratch, style, lineEnd);
}

void CTranscriptFormatter::m_EmitGap() {
  if (m_heldGap.empty())
    return;
  const std::string gap = std::move(m_heldGap);
  m_heldGap.clear();
  m_piece(std::string_view(), ETextStyle::Plain, gap);
}
