#include "probex/view/ProbexView.h"

#include "probex/base/PxFormat.h"
#include "probex/platform/platform.h"
#include "probex/view/PxLogWriter.h"

#include <string>

namespace {

// The debugger rendering of each kind; an unknown kind renders like "Etc.".
const char* DebuggerFormat(EPxMsgType kind) {
  switch (kind) {
  case PX_MSG_CLASS_CAPTION:
    return "[%s]\n";
  case PX_MSG_CLASS_NAME:
    return ">>>> %s\n";
  case PX_MSG_CLASS_RESULT:
    return ">> %s\n";
  case PX_MSG_CASE_CAPTION:
    return "-----%s\n";
  case PX_MSG_CASE_TIME:
    return "             -->Time %s\n\n";
  case PX_MSG_TEST_EXPECT_LINE:
    return "%s<\n";
  case PX_MSG_TEST_NG:
    return "** %s\n\n";
  default:
    return "%s\n";
  }
}

} // namespace

CProbexView::~CProbexView() = default;

void CProbexView::OutputMessage(const char* text, EPxMsgType kind) {
  if (NPxPlatform::IsDebuggerPresent())
    m_OutputOutput(text, kind);
  else
    m_OutputLog(text, kind);
}

void CProbexView::m_OutputOutput(const char* text, EPxMsgType kind) {
  if (PxIsCoverageKind(kind))
    return;
  std::string line;
  if (kind == PX_MSG_TEST_OK)
    line = "\n";
  else if (kind != PX_MSG_CASE_LINE && kind != PX_MSG_TEST_LINE)
    line = PxFormat(DebuggerFormat(kind), text ? text : "");
  NPxPlatform::OutputDebugString(line.c_str());
  NPxPlatform::DebuggerPause(10);
}

void CProbexView::m_OutputLog(const char* text, EPxMsgType kind) {
  PxLogWriter().WriteRecord(text, kind);
}
