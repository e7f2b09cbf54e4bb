// Where a run stands, followed record by record over the kinds that open and
// close classes and cases: the open class's caption, the running case's
// caption, and how many cases of the class have ended. Kept in fixed arrays
// and never allocating, so that a signal handler can read it while the
// process ends.
#pragma once

#include "probex/base/PxMsgType.h"

#include <cstddef>

class CPxRunPosition {
public:
  static constexpr std::size_t kNoteSize = 160;

  // "ClCp" opens a class, "CaCp" names the running case, "CaTm" ends it and
  // "ClRe" closes the class; other kinds leave the position as it is.
  void Follow(EPxMsgType kind, const char* text);

  // The open or last class's caption, cut to kNoteSize - 1 bytes; empty
  // before the first.
  const char* ClassCaption() const { return m_szClass; }
  // The running case's caption; empty between cases.
  const char* CaseCaption() const { return m_szCase; }
  // The position of the running case in its class, from 1.
  int CaseNumber() const { return m_nCasesDone + 1; }
  // Until the class's results came.
  bool IsClassOpen() const { return m_bClassOpen; }

private:
  char m_szClass[kNoteSize] = {};
  char m_szCase[kNoteSize] = {};
  int m_nCasesDone = 0;
  bool m_bClassOpen = false;
};
