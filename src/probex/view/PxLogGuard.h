// Keeps the log true when the process does not end the ordinary way. A fatal
// signal or an exception that reaches std::terminate writes the buffered
// records and one "End." record naming the running case; a forked child
// starts with an empty buffer and a log of its own; the first write that
// fails is told once on standard error. The writer calls in with its lock
// held; the guard asks the writer through its named operations.
#pragma once

#include "probex/base/PxFixedText.h"
#include "probex/base/PxMsgType.h"
#include "probex/base/PxRunPosition.h"

#include <atomic>
#include <string>

class CPxLogWriter;

// The "End." record, built in place; what passes its size less one is cut.
using CPxEndRecord = CPxFixedText<3 * CPxRunPosition::kNoteSize + 640>;

class CPxLogGuard {
public:
  explicit CPxLogGuard(CPxLogWriter& writer) : m_writer(writer) {}
  CPxLogGuard(const CPxLogGuard&) = delete;
  CPxLogGuard& operator=(const CPxLogGuard&) = delete;
  ~CPxLogGuard();

  // The writer's calls, made with its lock held. A record arrives: the
  // handlers are put in place and the running case is followed.
  void OnRecord(unsigned kind, const char* text);
  // Nothing waits any more (the final write): the handlers go.
  void OnClosed();
  // A write to the file failed with the error: told the first time.
  void OnWriteFailed(const std::string& path, int error);
  // The same from a signal handler, without allocating; ending: the process
  // ends next (a file-size limit ends it before the writer could tell).
  void OnWriteFailedAtEnd(const char* path, int error, bool ending);
  // The "End." record's text: the running case, if any, and what ended the
  // process. From a signal handler; nothing allocates.
  void AddEndText(CPxEndRecord& record, const char* what) const;

private:
  static void m_sWriteAtEnd(const char* what, bool ending);
  static void m_sForkChild();
  void m_TellWriteFailure(const char* path, int error, bool inHandler, bool ending);

  CPxLogWriter& m_writer;
  std::atomic<bool> m_bArmed{false};
  bool m_bFailureTold = false;
  // The running case, kept where a signal handler can read it.
  CPxRunPosition m_position;

  static std::atomic<CPxLogGuard*> m_spActive;
};
