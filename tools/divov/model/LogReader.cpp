#include "model/LogReader.h"
#include "probex/base/PxLineContinuation.h"
#include "probex/base/PxRecordCodec.h"

#include <algorithm>
#include <cstring>
#include <string_view>

void CLogReader::Feed(const char* data, std::size_t size, const FRecord& out) {
  const char* const end = data + size;
  const char* p = data;
  while (p < end) {
    const char* cr = static_cast<const char*>(
        std::memchr(p, NPxLogFormat::kRecordEnd, static_cast<std::size_t>(end - p)));
    if (!cr) {
      if (m_pending.empty())
        m_pendingOffset = m_offset + static_cast<std::uint64_t>(p - data);
      m_pending.append(p, end);
      break;
    }
    const std::uint64_t lineOffset = m_offset + static_cast<std::uint64_t>(p - data);
    if (m_pending.empty()) {
      m_Line(p, static_cast<std::size_t>(cr - p), lineOffset, out);
    } else {
      m_pending.append(p, cr);
      m_Line(m_pending.data(), m_pending.size(), m_pendingOffset, out);
      m_pending.clear();
    }
    p = cr + 1;
  }
  m_offset += size;
}

void CLogReader::Finish(const FRecord& out) {
  if (m_pending.empty())
    return;
  m_issues.Add(EReadIssue::Unterminated, m_pendingOffset);
  std::string line;
  line.swap(m_pending);
  m_Line(line.data(), line.size(), m_pendingOffset, out);
}

void CLogReader::m_Line(const char* line, std::size_t size, std::uint64_t offset,
                        const FRecord& out) {
  // No writer puts a zero byte into a log: a run of them is damage (a hole
  // left by a crash), and the line starts afresh after the last one.
  const std::string_view view(line, size);
  if (std::memchr(line, '\0', size)) {
    const std::size_t lastZero = view.rfind('\0');
    const std::string_view damaged = view.substr(0, lastZero + 1);
    const auto zeros = static_cast<std::uint64_t>(std::count(damaged.begin(), damaged.end(), '\0'));
    m_issues.Add(EReadIssue::ZeroBytes, offset + view.find('\0'), zeros);
    if (zeros != damaged.size())
      m_issues.Add(EReadIssue::DamagedLine, offset);
    line += damaged.size();
    size -= damaged.size();
    offset += damaged.size();
    if (size == 0)
      return;
  }
  const std::string_view clean(line, size);
  NPxLogFormat::SRecordLine record;
  if (NPxLogFormat::ReadRecordLine(clean, record))
    m_Record(record, offset, out);
  else if (NPxLineContinuation::IsContinuation(clean))
    m_Continuation(clean, offset, out);
  else
    m_issues.Add(EReadIssue::DamagedLine, offset);
}

void CLogReader::m_Record(const NPxLogFormat::SRecordLine& record, std::uint64_t offset,
                          const FRecord& out) {
  const unsigned kind = record.kind;
  const bool header = NPxLogFormat::IsHeaderKind(kind);
  if (!m_sawRecord && !header)
    m_issues.Add(EReadIssue::MissingHeader, offset);
  m_sawRecord = true;
  if (!NPxLogFormat::IsWriterKind(kind) && !NPxLogFormat::IsKnownKind(kind))
    m_issues.Add(EReadIssue::UnknownKind, offset);
  m_record.kind = static_cast<EPxMsgType>(kind);
  m_record.text.assign(record.text);
  m_record.offset = offset;
  if (kind == PX_MSG_COVERAGE_LINE)
    m_lastLineText = m_record.text;
  out(m_record);
}

void CLogReader::m_Continuation(std::string_view line, std::uint64_t offset, const FRecord& out) {
  if (!NPxLineContinuation::Rebuild(m_lastLineText, line, m_record.text)) {
    m_issues.Add(EReadIssue::OrphanLine, offset);
    return;
  }
  m_record.kind = PX_MSG_COVERAGE_LINE;
  m_record.offset = offset;
  out(m_record);
}
