// Captions, source locations and hex dumps of a test case.
#include "probex/core/Probex.h"

#include "probex/base/PxInlineText.h"
#include "probex/base/PxLocationCodec.h"
#include "probex/core/ProbexData.h"
#include "probex/core/PxHeldCaption.h"
#include "probex/core/PxMessageBlocks.h"
#include "probex/platform/platform.h"

#include <cstdio>

void CProbex::x_SetClassCaption(const char* caption) {
  m_pData->m_strClassCaption = caption ? caption : "";
}

void CProbex::x_SetCaseCaption(const char* caption, const char* file, int line) {
  std::lock_guard<CPxMessageBlocks> block(PxMessageBlocks());
  m_SendLocation(file, line, PX_MSG_CASE_LINE);
  OutputMessage(caption ? caption : "", PX_MSG_CASE_CAPTION);
}

void CProbex::x_SetTestCaption(const char* caption) {
  if (m_pData->m_bCaptionsHeld)
    CPxHeldCaption::Hold(*this, caption);
  else
    OutputMessage(caption ? caption : "", PX_MSG_TEST_CAPTION);
}

void CProbex::x_SetTestLine(const char* file, int line) {
  m_SendLocation(file, line, PX_MSG_TEST_LINE);
}

void PxAppendLocation(CPxInlineText& location, const char* file, long long line) {
  // Qualified afresh each time: the current directory may have changed.
  char qualified[NPxPlatform::kMaxPath];
  NPxLocationCodec::Append(location, NPxPlatform::QualifyPath(file ? file : "", qualified), line);
}

void CProbex::m_SendLocation(const char* file, long long line, EPxMsgType kind) {
  CPxInlineText location;
  PxAppendLocation(location, file, line);
  OutputMessage(location.c_str(), kind);
}

void CProbex::Dump(const void* data, int size) {
  if (!data || size <= 0)
    return;
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  // The longest row is 61 characters: an eight-digit offset and 16 bytes.
  char row[128];
  const std::size_t total = static_cast<std::size_t>(size);
  std::lock_guard<CPxMessageBlocks> block(PxMessageBlocks());
  for (std::size_t offset = 0; offset < total; offset += 16) {
    int length = std::snprintf(row, sizeof row, " *%04zX : ", offset);
    for (std::size_t i = offset; i < total && i < offset + 16; ++i)
      length += std::snprintf(row + length, sizeof row - static_cast<std::size_t>(length), "%02X ",
                              bytes[i]);
    OutputMessage(row, PX_MSG_ETC);
  }
}
