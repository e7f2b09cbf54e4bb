// The process's log file, written as docs/LOG-FORMAT.md describes. The file
// is named, and the viewer started, at the first record of the process.
#pragma once

#include "probex/base/PxMsgType.h"
#include "probex/view/PxLogGuard.h"

#include <cstdint>
#include <mutex>
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
  // Writes what the buffer holds to the file.
  void Close();
  // The file's path; empty until the first record names it.
  std::string GetLogPath();

  static constexpr std::int32_t kBufferSize = 8000;

private:
  void m_Prepare();
  void m_Append(const char* text, std::size_t length);
  void m_Flush();
  void m_MakeName();
  void m_StartViewer();
  // Returns true when the record is finished (dropped or continued).
  bool m_WriteLineContinuation(const char* text);

  std::mutex m_lock;
  char* m_pBuffer = nullptr;
  std::int32_t m_nLength = 0;
  std::string m_strLogPath;
  std::string m_strViewerName;
  std::string m_strLastLine;
  // Reads the fields above when the process ends abnormally or forks.
  friend class CPxLogGuard;
  CPxLogGuard m_guard{*this};
};

// The module's one log.
CPxLogWriter& PxLogWriter();
