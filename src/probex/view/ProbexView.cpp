#include "probex/view/ProbexView.h"

#include "probex/base/PxTranscriptLayout.h"
#include "probex/platform/platform.h"
#include "probex/view/PxLogWriter.h"

#include <string>

CProbexView::~CProbexView() = default;

void CProbexView::OutputMessage(const char* text, EPxMsgType kind) {
  if (NPxPlatform::IsDebuggerPresent())
    m_OutputOutput(text, kind);
  else
    m_OutputLog(text, kind);
}

void CProbexView::m_OutputOutput(const char* text, EPxMsgType kind) {
  if (NPxTranscriptLayout::Of(kind).shown == NPxTranscriptLayout::EShown::Nothing)
    return;
  const std::string line = NPxTranscriptLayout::Piece(kind, text);
  NPxPlatform::OutputDebugString(line.c_str());
  NPxPlatform::DebuggerPause(10);
}

void CProbexView::m_OutputLog(const char* text, EPxMsgType kind) {
  PxLogWriter().WriteRecord(text, kind);
}
