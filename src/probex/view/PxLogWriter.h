// The process's log file, written as docs/LOG-FORMAT.md describes. The file
// is named, and the viewer started, at the first record of the process.
#pragma once

#include "probex/base/PxMsgType.h"
#include "probex/base/PxRecordCodec.h"
#include "probex/view/PxLogGuard.h"
#include "probex/view/PxLogLock.h"

#include <cstdint>
#include <string>

class CPxLogWriter {
public:
  CPxLogWriter() = default;
  CPxLogWriter(const CPxLogWriter&) = delete;
  CPxLogWriter& operator=(const CPxLogWriter&) = delete;
  // Writes what gathered since Close, then frees the buffer.
  ~CPxLogWriter();

  // Appends one record; a null or empty text, or a repeated "PxLn" text,
  // leaves none.
  void WriteRecord(const char* text, EPxMsgType kind);
  // Appends a side record, only to a log that a message has opened already:
  // a side record alone never makes a log.
  void WriteSideRecord(const char* text, unsigned kind);
  // Writes what the buffer holds to the file.
  void Close();
  // The file's path; empty until the first record names it.
  std::string GetLogPath();

  // The guard's calls for a process that does not end the ordinary way.
  // From a fatal-signal handler, allocating nothing: what the buffer holds
  // goes to the file and, when the process ends, one "End." record whose
  // text the guard adds, apart from a record the end cut off. The lock is
  // waited for briefly, as a thread stopped inside the writer never lets it
  // go: without it, a process that goes on leaves the buffer to its writer.
  void WriteAtAbnormalEnd(const char* what, bool ending);
  // In a forked child, on its one thread: the child starts as a fresh
  // process would, with a log of its own at its first record, whatever a
  // thread of the parent was doing in the writer.
  void RestartInForkedChild();

  static constexpr std::int32_t kBufferSize = 8000;

private:
  void m_Prepare();
  void m_Append(const char* text, std::size_t length);
  // Kind, bar, text and the record's end: at once when they fit, else
  // piece by piece.
  void m_AppendRecord(const NPxLogFormat::SKindCode& code, const char* text, std::size_t length);
  void m_Flush();
  void m_MakeName();
  void m_StartViewer();
  // Returns true when the record is finished (dropped or continued).
  bool m_WriteLineContinuation(const char* text);
  // The error of its write, 0 when written.
  int m_WriteEndRecord(const char* what, bool afterTornRecord);

  CPxLogLock m_lock;
  char* m_pBuffer = nullptr;
  std::int32_t m_nLength = 0;
  std::string m_strLogPath;
  std::string m_strViewerName;
  std::string m_strLastLine;
  CPxLogGuard m_guard{*this};
};

// The module's one log.
CPxLogWriter& PxLogWriter();
