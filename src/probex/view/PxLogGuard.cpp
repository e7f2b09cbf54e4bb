#include "probex/view/PxLogGuard.h"

#include "probex/base/PxRecordCodec.h"
#include "probex/base/PxTexts.h"
#include "probex/platform/platform.h"
#include "probex/view/PxLogWriter.h"

#include <cstring>
#include <mutex>
#include <new>

namespace {

// A signal handler waits this long for a writer that holds the lock to
// finish its record; a thread stopped inside the writer never does.
constexpr int kLockTries = 50;
constexpr unsigned kLockPauseMs = 2;
constexpr std::size_t kRecordSize = 3 * CPxLogGuard::kNoteSize + 640;
// A notice names the log's path, which may be as long as a path can be.
constexpr std::size_t kNoticeSize = 4096 + 256;

// Text built in place, without allocation, safe inside a signal handler.
template <std::size_t TSize> class CPxFixedText {
public:
  void Add(const char* text, std::size_t length) {
    const std::size_t room = TSize - 1 - m_nLength;
    const std::size_t taken = length < room ? length : room;
    std::memcpy(m_szText + m_nLength, text, taken);
    m_nLength += taken;
    m_szText[m_nLength] = '\0';
  }
  void Add(const char* text) { Add(text, std::strlen(text)); }
  void AddNumber(int value) {
    char digits[12];
    std::size_t count = 0;
    unsigned rest = value < 0 ? 0u : static_cast<unsigned>(value);
    do {
      digits[sizeof digits - 1 - count++] = static_cast<char>('0' + rest % 10);
      rest /= 10;
    } while (rest != 0 && count < sizeof digits);
    Add(digits + sizeof digits - count, count);
  }
  const char* Text() const { return m_szText; }
  std::size_t Length() const { return m_nLength; }

private:
  char m_szText[TSize] = {};
  std::size_t m_nLength = 0;
};

void CopyNote(char* note, const char* text) {
  std::strncpy(note, text, CPxLogGuard::kNoteSize - 1);
  note[CPxLogGuard::kNoteSize - 1] = '\0';
}

} // namespace

std::atomic<CPxLogGuard*> CPxLogGuard::m_spActive{nullptr};

CPxLogGuard::~CPxLogGuard() {
  CPxLogGuard* self = this;
  if (m_spActive.compare_exchange_strong(self, nullptr))
    NPxPlatform::DisarmFatalHandlers();
}

void CPxLogGuard::OnRecord(EPxMsgType kind, const char* text) {
  switch (kind) {
  case PX_MSG_CLASS_CAPTION:
    CopyNote(m_szClass, text);
    m_szCase[0] = '\0';
    m_nCasesDone = 0;
    m_bClassOpen = true;
    break;
  case PX_MSG_CASE_CAPTION:
    CopyNote(m_szCase, text);
    break;
  case PX_MSG_CASE_TIME:
    ++m_nCasesDone;
    m_szCase[0] = '\0';
    break;
  case PX_MSG_CLASS_RESULT:
    m_bClassOpen = false;
    break;
  default:
    break;
  }
  // Any thread that logs may be the one whose stack overflows.
  NPxPlatform::PrepareThreadForFatalEnd();
  if (m_bArmed.load(std::memory_order_relaxed))
    return;
  m_spActive = this;
  NPxPlatform::ArmFatalHandlers(m_sWriteAtEnd);
  static std::once_flag forkHooks;
  std::call_once(forkHooks, [] { NPxPlatform::AddForkChildHook(m_sForkChild); });
  m_bArmed = true;
}

void CPxLogGuard::OnClosed() {
  if (m_bArmed.exchange(false))
    NPxPlatform::DisarmFatalHandlers();
}

void CPxLogGuard::OnWriteFailed(int error) {
  m_TellWriteFailure(error, false, false);
}

// Built in place, so that a signal handler can tell it too.
void CPxLogGuard::m_TellWriteFailure(int error, bool inHandler, bool ending) {
  if (m_bFailureTold)
    return;
  m_bFailureTold = true;
  char reason[256];
  NPxPlatform::ErrorText(error, reason, sizeof reason);
  CPxFixedText<kNoticeSize> text;
  text.Add("the log ");
  text.Add(m_writer.m_strLogPath.c_str());
  text.Add(" cannot be written (");
  text.Add(reason);
  text.Add(ending ? "); its records are lost, the program ends."
                  : "); its records are lost, the run goes on.");
  if (inHandler)
    NPxPlatform::ShowNoticeAtEnd(NPxText::kViewerMissingCaption, text.Text());
  else
    NPxPlatform::ShowNotice(NPxText::kViewerMissingCaption, text.Text());
}

void CPxLogGuard::m_sWriteAtEnd(const char* what, bool ending) {
  if (CPxLogGuard* guard = m_spActive.load())
    guard->m_WriteAtEnd(what, ending);
}

void CPxLogGuard::m_WriteAtEnd(const char* what, bool ending) {
  CPxLogWriter& writer = m_writer;
  bool locked = writer.m_lock.try_lock();
  for (int tries = 0; !locked && tries < kLockTries; ++tries) {
    NPxPlatform::Sleep(kLockPauseMs);
    locked = writer.m_lock.try_lock();
  }
  // A program that takes the signal itself may go on: without the lock,
  // leave the buffer to the writer.
  if (!locked && !ending)
    return;
  // The first write that fails is told (a file-size limit ends the
  // process here, before the writer could tell it).
  int error = 0;
  if (writer.m_pBuffer && !writer.m_strLogPath.empty()) {
    const std::int32_t length = writer.m_nLength;
    bool torn = false;
    if (length > 0) {
      NPxPlatform::AppendToFile(writer.m_strLogPath, writer.m_pBuffer,
                                static_cast<std::size_t>(length), &error);
      torn = writer.m_pBuffer[length - 1] != NPxLogFormat::kRecordEnd;
      if (locked) {
        writer.m_nLength = 0;
        writer.m_pBuffer[0] = '\0';
      }
    }
    if (ending) {
      CPxFixedText<kRecordSize> record;
      // A record cut off by the end stands apart from the one that says so.
      if (torn)
        record.Add(&NPxLogFormat::kRecordEnd, 1);
      const NPxLogFormat::SKindCode code = NPxLogFormat::KindCode(NPxLogFormat::kAbnormalEnd);
      record.Add(code.text, code.length);
      record.Add(&NPxLogFormat::kKindSeparator, 1);
      if (m_szClass[0]) {
        record.Add(m_szClass);
        if (m_bClassOpen) {
          record.Add(" / case ");
          record.AddNumber(m_nCasesDone + 1);
          if (m_szCase[0]) {
            record.Add(" ");
            record.Add(m_szCase);
          }
        }
        record.Add(": ");
      }
      record.Add(what);
      record.Add(&NPxLogFormat::kRecordEnd, 1);
      int endError = 0;
      if (!NPxPlatform::AppendToFile(writer.m_strLogPath, record.Text(), record.Length(),
                                     &endError) &&
          error == 0)
        error = endError;
    }
    if (error != 0)
      m_TellWriteFailure(error, true, ending);
  }
  if (locked)
    writer.m_lock.unlock();
}

void CPxLogGuard::m_sForkChild() {
  CPxLogGuard* guard = m_spActive.load();
  if (!guard)
    return;
  // The parent writes what it buffered; the child starts as a fresh
  // process would, with a log of its own at its first record. Another
  // thread of the parent may have held the lock halfway through a record:
  // the lock is made anew, not waited for.
  CPxLogWriter& writer = guard->m_writer;
  new (&writer.m_lock) std::mutex();
  delete[] writer.m_pBuffer;
  writer.m_pBuffer = nullptr;
  writer.m_nLength = 0;
  std::string().swap(writer.m_strLogPath);
  std::string().swap(writer.m_strViewerName);
  std::string().swap(writer.m_strLastLine);
  guard->m_bFailureTold = false;
}
