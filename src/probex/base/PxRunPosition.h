// Where a run stands, followed record by record over the kinds that open and
// close classes and cases: the open class's caption, the running case's
// caption, and how many cases of the class have ended. Kept in fixed arrays
// and never allocating, so that a signal handler can read it while the
// process ends.
#pragma once

#include "probex/base/PxMsgType.h"
#include "probex/base/PxSideKind.h"

#include <cstddef>
#include <cstring>

class CPxRunPosition {
public:
  static constexpr std::size_t kNoteSize = 160;

  // "ClCp" opens a class, "CaCp" names the running case, "CaTm" ends it and
  // "ClRe" closes the class; the side records give the class's and the
  // case's declared names. Other kinds leave the position as it is. Every
  // record of the log passes here: inline.
  void Follow(unsigned kind, const char* text) {
    switch (kind) {
    case PX_MSG_CLASS_CAPTION:
      m_sCopyNote(m_szClass, text);
      m_szCase[0] = m_szClassName[0] = m_szCaseName[0] = '\0';
      m_nCasesDone = 0;
      m_bClassOpen = true;
      break;
    case NPxSideKind::kClassName:
      m_sCopyNote(m_szClassName, text);
      break;
    case NPxSideKind::kCaseName:
      m_sCopyNote(m_szCaseName, text);
      break;
    case PX_MSG_CASE_CAPTION:
      m_sCopyNote(m_szCase, text);
      break;
    case PX_MSG_CASE_TIME:
      ++m_nCasesDone;
      m_szCase[0] = m_szCaseName[0] = '\0';
      break;
    case PX_MSG_CLASS_RESULT:
      m_bClassOpen = false;
      break;
    default:
      break;
    }
  }

  // The open or last class's caption, cut to kNoteSize - 1 bytes; empty
  // before the first.
  const char* ClassCaption() const { return m_szClass; }
  // The running case's caption; empty between cases.
  const char* CaseCaption() const { return m_szCase; }
  // The open class's type name and the running case's declared name, when
  // the log gives them; empty otherwise.
  const char* ClassName() const { return m_szClassName; }
  const char* CaseName() const { return m_szCaseName; }
  // The position of the running case in its class, from 1.
  int CaseNumber() const { return m_nCasesDone + 1; }
  // Until the class's results came.
  bool IsClassOpen() const { return m_bClassOpen; }

private:
  static void m_sCopyNote(char* note, const char* text) {
    std::strncpy(note, text, kNoteSize - 1);
    note[kNoteSize - 1] = '\0';
  }

  char m_szClass[kNoteSize] = {};
  char m_szCase[kNoteSize] = {};
  char m_szClassName[kNoteSize] = {};
  char m_szCaseName[kNoteSize] = {};
  int m_nCasesDone = 0;
  bool m_bClassOpen = false;
};
