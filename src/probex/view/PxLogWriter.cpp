#include "probex/view/PxLogWriter.h"

#include "probex/base/PxLineContinuation.h"
#include "probex/base/PxLogFormat.h"
#include "probex/base/PxRecordCodec.h"
#include "probex/base/PxTexts.h"
#include "probex/platform/platform.h"

#include <cstring>
#include <mutex>

namespace {

// A fatal end waits this long for a writer that holds the lock to finish
// its record; a thread stopped inside the writer never does.
constexpr int kLockTries = 50;
constexpr unsigned kLockPauseMs = 2;

} // namespace

CPxLogWriter::~CPxLogWriter() {
  Close();
  std::lock_guard<CPxLogLock> guard(m_lock);
  // Everything is in the file now: a viewer that sees the name free reads it all.
  if (!m_strLogPath.empty()) {
    NPxPlatform::ReleaseNameMarker(NPxLogFormat::MarkerName(m_strLogPath).c_str());
    NPxPlatform::ReleaseNewFile(m_strLogPath);
  }
  delete[] m_pBuffer;
  m_pBuffer = nullptr;
  m_nLength = 0;
  m_strLogPath.clear();
  m_strViewerName.clear();
  m_strLastLine.clear();
}

void CPxLogWriter::WriteRecord(const char* text, EPxMsgType kind) {
  if (!text || !*text)
    return;
  std::lock_guard<CPxLogLock> guard(m_lock);
  m_guard.OnRecord(kind, text);
  if (kind == PX_MSG_COVERAGE_LINE && m_WriteLineContinuation(text))
    return;
  const char* body = kind == PX_MSG_TEST_OK ? "" : text;
  const std::size_t bodyLength = std::strlen(body);
  m_AppendRecord(NPxLogFormat::KindCode(kind), body, bodyLength);
}

void CPxLogWriter::WriteSideRecord(const char* text, unsigned kind) {
  if (!text || !*text)
    return;
  std::lock_guard<CPxLogLock> guard(m_lock);
  if (m_strLogPath.empty())
    return;
  m_guard.OnRecord(kind, text);
  m_AppendRecord(NPxLogFormat::KindCode(kind), text, std::strlen(text));
}

void CPxLogWriter::m_AppendRecord(const NPxLogFormat::SKindCode& code, const char* text,
                                  std::size_t length) {
  const std::size_t total = code.length + 1 + length + 1;
  // A record that fits goes straight into the buffer; one that does not is
  // appended piece by piece, each piece flushing what it would overflow.
  if (m_pBuffer && !m_strLogPath.empty() &&
      m_nLength + total <= static_cast<std::size_t>(kBufferSize)) {
    char* at = m_pBuffer + m_nLength;
    // Every kind a sink sends has four characters: copied as one word.
    if (code.length == sizeof code.text)
      std::memcpy(at, code.text, sizeof code.text);
    else
      std::memcpy(at, code.text, code.length);
    at += code.length;
    *at++ = NPxLogFormat::kKindSeparator;
    std::memcpy(at, text, length);
    at += length;
    *at++ = NPxLogFormat::kRecordEnd;
    *at = '\0';
    m_nLength += static_cast<std::int32_t>(total);
    return;
  }
  m_Append(code.text, code.length);
  m_Append(&NPxLogFormat::kKindSeparator, 1);
  m_Append(text, length);
  m_Append(&NPxLogFormat::kRecordEnd, 1);
}

bool CPxLogWriter::m_WriteLineContinuation(const char* text) {
  const std::size_t length = std::strlen(text);
  std::size_t from = 0;
  using NPxLineContinuation::EStep;
  const EStep step = NPxLineContinuation::Next(m_strLastLine, text, length, from);
  if (step != EStep::Continuation)
    return step == EStep::Repeat;
  m_Append(text + from, length - from);
  m_Append(&NPxLogFormat::kRecordEnd, 1);
  return true;
}

void CPxLogWriter::Close() {
  std::lock_guard<CPxLogLock> guard(m_lock);
  if (!m_strLogPath.empty() && m_nLength > 0)
    m_Flush();
  m_guard.OnClosed();
}

std::string CPxLogWriter::GetLogPath() {
  std::lock_guard<CPxLogLock> guard(m_lock);
  return m_strLogPath;
}

void CPxLogWriter::m_Prepare() {
  if (!m_pBuffer) {
    m_pBuffer = new char[kBufferSize + 1];
    const std::string header = NPxLogFormat::HeaderRecords();
    std::memcpy(m_pBuffer, header.c_str(), header.size() + 1);
    m_nLength = static_cast<std::int32_t>(header.size());
  }
  if (!m_strLogPath.empty())
    return;
  m_MakeName();
  m_StartViewer();
}

void CPxLogWriter::m_Append(const char* text, std::size_t length) {
  m_Prepare();
  if (m_nLength + length > static_cast<std::size_t>(kBufferSize) && m_nLength > 0)
    m_Flush();
  if (length >= static_cast<std::size_t>(kBufferSize)) {
    constexpr std::size_t kPiece = kBufferSize - 1;
    while (length >= static_cast<std::size_t>(kBufferSize)) {
      if (m_nLength > 0)
        m_Flush();
      std::memcpy(m_pBuffer, text, kPiece);
      m_pBuffer[kPiece] = '\0';
      m_nLength = static_cast<std::int32_t>(kPiece);
      text += kPiece;
      length -= kPiece;
    }
    m_Flush();
  }
  std::memcpy(m_pBuffer + m_nLength, text, length);
  m_nLength += static_cast<std::int32_t>(length);
  m_pBuffer[m_nLength] = '\0';
}

void CPxLogWriter::m_Flush() {
  if (m_nLength == 0)
    return;
  // A handler the program installed since comes after ours.
  NPxPlatform::ReclaimFatalHandlers();
  int error = 0;
  if (!NPxPlatform::AppendToFile(m_strLogPath, m_pBuffer, static_cast<std::size_t>(m_nLength),
                                 &error))
    m_guard.OnWriteFailed(m_strLogPath, error);
  m_nLength = 0;
  m_pBuffer[0] = '\0';
}

void CPxLogWriter::WriteAtAbnormalEnd(const char* what, bool ending) {
  bool locked = m_lock.try_lock();
  for (int tries = 0; !locked && tries < kLockTries; ++tries) {
    NPxPlatform::Sleep(kLockPauseMs);
    locked = m_lock.try_lock();
  }
  if (!locked && !ending)
    return;
  if (m_pBuffer && !m_strLogPath.empty()) {
    const std::int32_t length = m_nLength;
    bool torn = false;
    // The first write that fails is told.
    int error = 0;
    if (length > 0) {
      NPxPlatform::AppendToFile(m_strLogPath, m_pBuffer, static_cast<std::size_t>(length), &error);
      torn = m_pBuffer[length - 1] != NPxLogFormat::kRecordEnd;
      if (locked) {
        m_nLength = 0;
        m_pBuffer[0] = '\0';
      }
    }
    const int endError = ending ? m_WriteEndRecord(what, torn) : 0;
    if (error != 0 || endError != 0)
      m_guard.OnWriteFailedAtEnd(m_strLogPath.c_str(), error != 0 ? error : endError, ending);
  }
  if (locked)
    m_lock.unlock();
}

int CPxLogWriter::m_WriteEndRecord(const char* what, bool afterTornRecord) {
  CPxEndRecord record;
  // A record cut off by the end stands apart from the one that says so.
  if (afterTornRecord)
    record.Add(&NPxLogFormat::kRecordEnd, 1);
  const NPxLogFormat::SKindCode code = NPxLogFormat::KindCode(NPxLogFormat::kAbnormalEnd);
  record.Add(code.text, code.length);
  record.Add(&NPxLogFormat::kKindSeparator, 1);
  m_guard.AddEndText(record, what);
  record.Add(&NPxLogFormat::kRecordEnd, 1);
  int error = 0;
  NPxPlatform::AppendToFile(m_strLogPath, record.Text(), record.Length(), &error);
  return error;
}

void CPxLogWriter::RestartInForkedChild() {
  // Another thread of the parent may have held the lock halfway through a
  // record: the lock is opened, not waited for, and that record dropped
  // with the rest of the parent's buffer.
  m_lock.OpenInForkedChild();
  delete[] m_pBuffer;
  m_pBuffer = nullptr;
  m_nLength = 0;
  std::string().swap(m_strLogPath);
  std::string().swap(m_strViewerName);
  std::string().swap(m_strLastLine);
}

void CPxLogWriter::m_MakeName() {
  for (int sequence = 0;; ++sequence) {
    const NPxPlatform::SLocalTime now = NPxPlatform::GetLocalTime();
    const std::string stamp = NPxLogFormat::Stamp(now.year, now.month, now.day, now.hour,
                                                  now.minute, now.second, sequence);
    m_strViewerName = NPxPlatform::GetExecutablePath() + stamp;
    m_strLogPath = NPxPlatform::GetTempDirectory() +
                   NPxLogFormat::FitTitle(NPxPlatform::GetFileTitle(m_strViewerName), stamp.size());
    const std::string marker = NPxLogFormat::MarkerName(m_strLogPath);
    // A name is taken while its writer lives; a file left by an ended
    // process of the same second takes it too, so runs never share a log.
    // The file is made owner-only at once: nobody can plant one there
    // before the first write.
    const int held = NPxPlatform::CreateNameMarker(marker.c_str());
    if (held == 1)
      continue;
    const NPxPlatform::EPxNewFile file = NPxPlatform::CreateNewFile(m_strLogPath);
    if (file != NPxPlatform::EPxNewFile::Taken)
      return;
    if (held == 0)
      NPxPlatform::ReleaseNameMarker(marker.c_str());
  }
}

void CPxLogWriter::m_StartViewer() {
  if (!NPxPlatform::StartDetachedProgram("DiVov.exe", {"/x", m_strViewerName}))
    NPxPlatform::ShowNotice(NPxText::kViewerMissingCaption, NPxText::kViewerMissing);
}
