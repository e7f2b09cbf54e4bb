#include "TranscriptFormatter.h"
#include "probex/base/PxLogFormat.h"

#include "probex/base/PxTexts.h"

namespace {

ETextStyle ResultStyle(const std::string& text) {
  // "Failures \t0" and "Exception\t0" are good news, any other count is not.
  const bool counted = text.compare(0, 9, "Failures ") == 0 || text.compare(0, 9, "Exception") == 0;
  if (!counted)
    return TEXT_STYLE_CASE;
  return text.size() > 10 && text.compare(10, std::string::npos, "0") == 0 ? TEXT_STYLE_PASS
                                                                           : TEXT_STYLE_FAIL;
}

} // namespace

void CTranscriptFormatter::Add(const SLogRecord& record) {
  if (m_holding) {
    m_holding = false;
    const ETextStyle style = record.kind == PX_MSG_TEST_OK   ? TEXT_STYLE_PASS
                             : record.kind == PX_MSG_TEST_NG ? TEXT_STYLE_FAIL
                                                             : TEXT_STYLE_PLAIN;
    m_Emit("", m_heldExpression, "", style, "\n");
  }
  const std::string& text = record.text;
  switch (static_cast<unsigned>(record.kind)) {
  case NPxLogFormat::kHeaderTitle:
  case NPxLogFormat::kHeaderVersion:
  case PX_MSG_CASE_LINE:
  case PX_MSG_TEST_LINE:
  case PX_MSG_COVERAGE_LINE:
  case PX_MSG_COVERAGE_FUNC_IN:
  case PX_MSG_COVERAGE_FUNC_OUT:
  case PX_MSG_COVERAGE_PASSABLE:
  case PX_MSG_COVERAGE_COUNT:
    break; // nothing visible on the debugger either
  case PX_MSG_CLASS_CAPTION:
    m_Emit("[", text, "]", TEXT_STYLE_HEADING, "\n");
    break;
  case PX_MSG_CLASS_NAME:
    m_Emit(">>>> ", text, "", TEXT_STYLE_HEADING, "\n");
    break;
  case PX_MSG_CLASS_RESULT:
    m_Emit(">> ", text, "", ResultStyle(text), "\n");
    break;
  case PX_MSG_CASE_CAPTION:
    m_Emit("-----", text, "", TEXT_STYLE_CASE, "\n");
    break;
  case PX_MSG_CASE_TIME:
    m_Emit("             -->Time ", text, "", TEXT_STYLE_CASE, "\n\n");
    break;
  case PX_MSG_TEST_EXPECT_LINE:
    m_Emit("", text, "<", TEXT_STYLE_PLAIN, "\n");
    break;
  case PX_MSG_TEST_EXPRESSION:
    m_holding = true;
    m_heldExpression = text;
    break;
  case PX_MSG_TEST_OK:
    m_Emit("", "", "", TEXT_STYLE_PASS, "\n");
    break;
  case PX_MSG_TEST_NG:
    m_Emit("** ", text, "", TEXT_STYLE_FAIL, "\n\n");
    break;
  default: {
    // Free text, a test caption, or a kind outside the table.
    const bool warning = text == NPxText::kCaptionWarning || text == NPxText::kEndMarkerWarning;
    const bool heading = text == NPxText::kSuiteResultsHeading;
    m_Emit("", text, "",
           warning   ? TEXT_STYLE_WARNING
           : heading ? TEXT_STYLE_HEADING
                     : TEXT_STYLE_PLAIN,
           "\n");
    break;
  }
  }
}

void CTranscriptFormatter::Flush() {
  if (!m_holding)
    return;
  m_holding = false;
  m_Emit("", m_heldExpression, "", TEXT_STYLE_PLAIN, "\n");
}

void CTranscriptFormatter::m_Emit(std::string_view head, std::string_view text,
                                  std::string_view suffix, ETextStyle style,
                                  std::string_view tail) {
  m_scratch.assign(head);
  m_scratch.append(text);
  m_scratch.append(suffix);
  m_piece(m_scratch, style, tail);
}
