#include "probex/base/PxRunPosition.h"

#include <cstring>

namespace {

void CopyNote(char* note, const char* text) {
  std::strncpy(note, text, CPxRunPosition::kNoteSize - 1);
  note[CPxRunPosition::kNoteSize - 1] = '\0';
}

} // namespace

void CPxRunPosition::Follow(EPxMsgType kind, const char* text) {
  switch (kind) {
  case PX_MSG_CLASS_CAPTION:
    CopyNote(m_szClass, text);
    m_szCase[0] = '\0';
    m_nCasesDone = 0;
    m_bClassOpen = true;
    break;
  case PX_MSG_CASE_CAPTION:
    CopyNote(m_szCase, text);
    break;
  case PX_MSG_CASE_TIME:
    ++m_nCasesDone;
    m_szCase[0] = '\0';
    break;
  case PX_MSG_CLASS_RESULT:
    m_bClassOpen = false;
    break;
  default:
    break;
  }
}
