#include "probex/view/PxLogGuard.h"

#include "probex/base/PxTexts.h"
#include "probex/platform/platform.h"
#include "probex/view/PxLogWriter.h"

#include <mutex>

namespace {

// A notice names the log's path, which may be as long as a path can be.
constexpr std::size_t kNoticeSize = 4096 + 256;

} // namespace

std::atomic<CPxLogGuard*> CPxLogGuard::m_spActive{nullptr};

CPxLogGuard::~CPxLogGuard() {
  CPxLogGuard* self = this;
  if (m_spActive.compare_exchange_strong(self, nullptr))
    NPxPlatform::DisarmFatalHandlers();
}

void CPxLogGuard::OnRecord(unsigned kind, const char* text) {
  m_position.Follow(kind, text);
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

void CPxLogGuard::OnWriteFailed(const std::string& path, int error) {
  m_TellWriteFailure(path.c_str(), error, false, false);
}

void CPxLogGuard::OnWriteFailedAtEnd(const char* path, int error, bool ending) {
  m_TellWriteFailure(path, error, true, ending);
}

// Built in place, so that a signal handler can tell it too.
void CPxLogGuard::m_TellWriteFailure(const char* path, int error, bool inHandler, bool ending) {
  if (m_bFailureTold)
    return;
  m_bFailureTold = true;
  char reason[256];
  NPxPlatform::ErrorText(error, reason, sizeof reason);
  CPxFixedText<kNoticeSize> text;
  text.Add("the log ");
  text.Add(path);
  text.Add(" cannot be written (");
  text.Add(reason);
  text.Add(ending ? "); its records are lost, the program ends."
                  : "); its records are lost, the run goes on.");
  if (inHandler)
    NPxPlatform::ShowNoticeAtEnd(NPxText::kViewerMissingCaption, text.Text());
  else
    NPxPlatform::ShowNotice(NPxText::kViewerMissingCaption, text.Text());
}

void CPxLogGuard::AddEndText(CPxEndRecord& record, const char* what) const {
  if (m_position.ClassCaption()[0]) {
    record.Add(m_position.ClassCaption());
    if (m_position.IsClassOpen()) {
      record.Add(" / ");
      // "Class.Case" where the log names them, else the case's position.
      if (m_position.CaseName()[0]) {
        if (m_position.ClassName()[0]) {
          record.Add(m_position.ClassName());
          record.Add(".");
        }
        record.Add(m_position.CaseName());
      } else {
        record.Add("case ");
        record.AddNumber(m_position.CaseNumber());
      }
      if (m_position.CaseCaption()[0]) {
        record.Add(" ");
        record.Add(m_position.CaseCaption());
      }
    }
    record.Add(": ");
  }
  record.Add(what);
}

void CPxLogGuard::m_sWriteAtEnd(const char* what, bool ending) {
  if (CPxLogGuard* guard = m_spActive.load())
    guard->m_writer.WriteAtAbnormalEnd(what, ending);
}

void CPxLogGuard::m_sForkChild() {
  CPxLogGuard* guard = m_spActive.load();
  if (!guard)
    return;
  // The parent writes what it buffered; the child's own failures are told.
  guard->m_writer.RestartInForkedChild();
  guard->m_bFailureTold = false;
}
