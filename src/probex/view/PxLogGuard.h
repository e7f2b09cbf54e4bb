// Keeps the log true when the process does not end the ordinary way. A fatal
// signal or an exception that reaches std::terminate writes the buffered
// records and one "End." record naming the running case; a forked child
// starts with an empty buffer and a log of its own; the first write that
// fails is told once on standard error. The writer calls in; the guard reads
// the writer's state.
#pragma once

#include "probex/base/PxMsgType.h"

#include <atomic>
#include <cstddef>

class CPxLogWriter;

class CPxLogGuard {
public:
  explicit CPxLogGuard(CPxLogWriter& writer) : m_writer(writer) {}
  CPxLogGuard(const CPxLogGuard&) = delete;
  CPxLogGuard& operator=(const CPxLogGuard&) = delete;
  ~CPxLogGuard();

  // The writer's calls, made with its lock held. A record arrives: the
  // handlers are put in place and the running case is followed.
  void OnRecord(EPxMsgType kind, const char* text);
  // Nothing waits any more (the final write): the handlers go.
  void OnClosed();
  // A write to the file failed with the error: told the first time.
  void OnWriteFailed(int error);

  static constexpr std::size_t kNoteSize = 160;

private:
  static void m_sWriteAtEnd(const char* what, bool ending);
  static void m_sForkChild();
  void m_WriteAtEnd(const char* what, bool ending);
  // ending: the process ends next; inHandler: told without allocating.
  void m_TellWriteFailure(int error, bool inHandler, bool ending);

  CPxLogWriter& m_writer;
  std::atomic<bool> m_bArmed{false};
  bool m_bFailureTold = false;
  // The running case, kept where a signal handler can read it.
  char m_szClass[kNoteSize] = {};
  char m_szCase[kNoteSize] = {};
  int m_nCasesDone = 0;
  bool m_bClassOpen = false;

  static std::atomic<CPxLogGuard*> m_spActive;
};
