// Turns the bytes of a log (docs/LOG-FORMAT.md), given in pieces of any size
// as the file grows, into whole records; damage is counted in the issues
// and skipped, never fatal.
#pragma once

#include "model/LogRecord.h"
#include "model/ReadIssues.h"
#include "probex/base/PxRecordCodec.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class CLogReader {
public:
  // Receives each record; the record is valid only during the call.
  using FRecord = std::function<void(const SLogRecord& record)>;

  // Hands on the records that these bytes complete.
  void Feed(const char* data, std::size_t size, const FRecord& out);
  // The writer is gone: a record still waiting for its carriage return is
  // taken as it stands.
  void Finish(const FRecord& out);

  const CReadIssues& Issues() const { return m_issues; }
  CReadIssues& Issues() { return m_issues; }

private:
  void m_Line(const char* line, std::size_t size, std::uint64_t offset, const FRecord& out);
  void m_Record(const NPxLogFormat::SRecordLine& record, std::uint64_t offset, const FRecord& out);
  void m_Continuation(std::string_view line, std::uint64_t offset, const FRecord& out);

  std::string m_pending; // bytes of a line whose carriage return has not come
  std::uint64_t m_pendingOffset = 0;
  std::uint64_t m_offset = 0; // bytes fed so far
  std::string m_lastLineText; // text of the last "PxLn" record
  bool m_sawRecord = false;
  SLogRecord m_record; // reused, so that its text keeps its storage
  CReadIssues m_issues;
};
