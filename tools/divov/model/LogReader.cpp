#include "model/LogReader.h"
#include "probex/base/PxLogFormat.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

// A record line starts with four printable ASCII characters and a bar.
bool IsRecordLine(const char* line, std::size_t size) {
  if (size < 5 || line[4] != NPxLogFormat::kKindSeparator)
    return false;
  for (int i = 0; i < 4; ++i) {
    const unsigned char c = static_cast<unsigned char>(line[i]);
    if (c <= 0x20 || c >= 0x7F || c == NPxLogFormat::kKindSeparator)
      return false;
  }
  return true;
}

} // namespace

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
  if (IsRecordLine(line, size))
    m_Record(line, size, offset, out);
  else if (size > 0 && line[0] == '(')
    m_Continuation(line, size, offset, out);
  else
    m_issues.Add(EReadIssue::DamagedLine, offset);
}

void CLogReader::m_Record(const char* line, std::size_t size, std::uint64_t offset,
                          const FRecord& out) {
  const unsigned kind = PX_MSG_CODE(line[0], line[1], line[2], line[3]);
  const bool header = NPxLogFormat::IsHeaderKind(kind);
  if (!m_sawRecord && !header)
    m_issues.Add(EReadIssue::MissingHeader, offset);
  m_sawRecord = true;
  if (!NPxLogFormat::IsWriterKind(kind) && !NPxLogFormat::IsKnownKind(kind))
    m_issues.Add(EReadIssue::UnknownKind, offset);
  m_record.kind = static_cast<EPxMsgType>(kind);
  m_record.text.assign(line + 5, size - 5);
  m_record.offset = offset;
  if (kind == PX_MSG_COVERAGE_LINE)
    m_lastLineText = m_record.text;
  out(m_record);
}

void CLogReader::m_Continuation(const char* line, std::size_t size, std::uint64_t offset,
                                const FRecord& out) {
  // The writer cut the text at its last "(" after the first character; the
  // part before it is shared with the last "PxLn" text.
  const std::size_t open =
      m_lastLineText.size() > 1 ? m_lastLineText.rfind('(') : std::string::npos;
  if (open == std::string::npos || open == 0) {
    m_issues.Add(EReadIssue::OrphanLine, offset);
    return;
  }
  m_record.kind = PX_MSG_COVERAGE_LINE;
  m_record.text.assign(m_lastLineText, 0, open);
  m_record.text.append(line, size);
  m_record.offset = offset;
  m_lastLineText = m_record.text;
  out(m_record);
}
