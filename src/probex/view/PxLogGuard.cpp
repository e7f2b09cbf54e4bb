#include "probex/view/PxLogGuard.h"

#include "probex/base/PxTexts.h"
#include "probex/platform/platform.h"
#include "probex/view/PxLogWriter.h"

#include <mutex>

std::atomic<CPxLogGuard*> CPxLogGuard::m_spActive{nullptr};

CPxLogGuard::~CPxLogGuard() {
  CPxLogGuard* self = this;
  if (m_spActive.compare_exchange_strong(self, nullptr))
    NPxPlatform::DisarmFatalHandlers();
}

void CPxLogGuard::OnRecord(unsigned kind, const char* text) {
  m_position.Follow(kind, text);
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
  if (m_bFailureTold)
    return;
  m_bFailureTold = true;
  const std::string text = "the log " + path + " cannot be written (" +
                           NPxPlatform::ErrorText(error) +
                           "); its records are lost, the run goes on.";
  NPxPlatform::ShowNotice(NPxText::kViewerMissingCaption, text.c_str());
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
