#include "model/RunModel.h"

#include "model/EnglishTexts.h"
#include "model/FailureValues.h"
#include "probex/base/PxNameRecord.h"
#include "probex/base/PxNoCaseRun.h"
#include "probex/base/PxNumberText.h"
#include "probex/base/PxRecordCodec.h"
#include "probex/base/PxTexts.h"

#include <algorithm>

namespace {

const char kSetUp[] = "SetUp";
const char kTearDown[] = "TearDown";

} // namespace

void CRunModel::Add(const SLogRecord& record) {
  if (!NPxLogFormat::IsHeaderKind(static_cast<unsigned>(record.kind)))
    m_sawBody = true;
  if (record.kind != PX_MSG_ETC)
    m_inSuiteResults = false;
  const bool afterFailure = m_afterFailure;
  const bool afterCaseName = m_afterCaseName;
  m_afterFailure = m_afterCaseName = false;
  if (PxIsCoverageKind(record.kind)) {
    m_coverage.Add(record, m_issues);
    return;
  }
  switch (static_cast<unsigned>(record.kind)) {
  case NPxLogFormat::kHeaderTitle:
    m_title = record.text;
    break;
  case NPxLogFormat::kHeaderVersion:
    m_version = record.text;
    break;
  case NPxLogFormat::kAbnormalEnd:
    m_abnormalEnd = record.text;
    break;
  case PX_MSG_CLASS_NAME:
    m_classes.emplace_back().name = record.text;
    m_caseOpen = false;
    break;
  case PX_MSG_CLASS_CAPTION:
    if (!m_ClassIsFresh() || !m_classes.back().caption.empty())
      m_classes.emplace_back();
    m_classes.back().caption = record.text;
    m_caseOpen = false;
    break;
  case PX_MSG_CLASS_RESULT:
    m_SettleSetUp();
    m_ClassResult(record.text);
    break;
  case PX_MSG_CASE_LINE:
    m_SettleSetUp();
    // The case its name opened, else a new one.
    m_caseOpen = m_caseOpen && afterCaseName;
    m_pending = SFailure();
    m_Case().location = record.text;
    break;
  case PX_MSG_CASE_CAPTION: {
    m_SettleSetUp();
    SCase& current = m_Case();
    if (current.hook || !current.caption.empty() || current.passed != 0 ||
        !current.failures.empty()) {
      m_caseOpen = false;
      m_Case().caption = record.text;
    } else {
      current.caption = record.text;
    }
    break;
  }
  case PX_MSG_CASE_TIME: {
    std::size_t pos = 0;
    long long ms = 0;
    SCase& current = m_Case();
    current.timeMs = PxReadDecimal(record.text, pos, ms) ? ms : 0;
    m_caseOpen = false;
    m_pending = SFailure();
    break;
  }
  case PX_MSG_TEST_CAPTION:
    m_pending.testCaption = record.text;
    break;
  case PX_MSG_TEST_EXPECT_LINE:
    m_pending.expectLine = record.text;
    break;
  case PX_MSG_TEST_EXPRESSION:
    m_pending.expression = record.text;
    break;
  case PX_MSG_TEST_OK:
    ++m_Case().passed;
    m_EndCheck();
    break;
  case PX_MSG_TEST_NG:
    m_pending.text = record.text;
    m_Case().failures.push_back(m_pending);
    m_EndCheck();
    m_afterFailure = true;
    break;
  case NPxSideKind::kClassName:
    if (!m_classes.empty())
      NPxNameRecord::Read(record.text, m_classes.back().typeName);
    break;
  case NPxSideKind::kCaseName: {
    std::string name;
    if (!NPxNameRecord::Read(record.text, name))
      break;
    m_SettleSetUp();
    m_caseOpen = false;
    m_pending = SFailure();
    m_Case().name = std::move(name);
    m_afterCaseName = true;
    break;
  }
  case NPxSideKind::kValues:
    // Values belong to the failure right before them, never to another.
    if (afterFailure)
      m_Case().failures.back().values = PxFailureValueLines(record.text);
    break;
  case PX_MSG_ETC:
    m_Free(record.text);
    break;
  default:
    break; // "TtLn" and unknown kinds only show in the transcript
  }
}

void CRunModel::m_Free(const std::string& text) {
  if (PxIsFixedText(text, NPxText::kSuiteResultsHeading)) {
    m_inSuiteResults = true;
    m_sawSuiteResults = true;
  } else if (m_inSuiteResults) {
    m_suiteResults.push_back(text);
  } else if (PxIsFixedText(text, NPxText::kCaptionWarning)) {
    // A class without a caption sends no "ClCp"; the warning stands for it.
    if (!m_ClassIsFresh() || !m_classes.back().caption.empty())
      m_classes.emplace_back();
    m_classes.back().warnings.push_back(text);
    m_classes.back().hasResults = true;
    m_caseOpen = false;
  } else if (PxIsFixedText(text, NPxText::kEndMarkerWarning)) {
    m_Class().warnings.push_back(text);
  }
}

void CRunModel::m_ClassResult(const std::string& text) {
  SClass& current = m_Class();
  current.hasResults = true;
  m_caseOpen = false;
  struct SField {
    const char* label;
    long long SClass::*value;
  };
  static const SField fields[] = {{NPxText::kResultCases, &SClass::reportedCases},
                                  {NPxText::kResultExceptions, &SClass::reportedExceptions},
                                  {NPxText::kResultFailures, &SClass::reportedFailures}};
  for (const SField& field : fields) {
    std::size_t pos = 0;
    long long value = 0;
    if (PxReadLiteral(text, pos, field.label) && PxReadDecimal(text, pos, value))
      current.*field.value = value;
  }
}

// A test caption names every check after it until the case ends.
void CRunModel::m_EndCheck() {
  m_pending.expectLine.clear();
  m_pending.expression.clear();
  m_pending.text.clear();
}

// Checks that came before the class's first case record, and that no time
// line ended, were made by its SetUp: a case of their own would have ended
// with its time line before the next case or the results began.
void CRunModel::m_SettleSetUp() {
  if (!m_caseOpen || m_classes.empty() || m_classes.back().hasResults ||
      m_classes.back().cases.size() != 1)
    return;
  SCase& first = m_classes.back().cases.front();
  if (!first.hook && first.timeMs < 0 && first.name.empty() && first.caption.empty() &&
      first.location.empty())
    first.hook = kSetUp;
}

bool CRunModel::m_ClassIsFresh() const {
  return !m_classes.empty() && m_classes.back().cases.empty() && !m_classes.back().hasResults;
}

SClass& CRunModel::m_Class() {
  if (m_classes.empty())
    m_classes.emplace_back();
  return m_classes.back();
}

// The case under way; a check or time line after a finished case opens a
// new one, as test methods without a caption do. After the class's results
// only its TearDown sends checks: a new class begins with its caption
// ("ClCp"), its name in a suite ("ClNm") or the caption warning instead.
SCase& CRunModel::m_Case() {
  SClass* current = &m_Class();
  if (current->hasResults) {
    if (current->cases.empty() || current->cases.back().hook != kTearDown)
      current->cases.emplace_back().hook = kTearDown;
    m_caseOpen = true;
    return current->cases.back();
  }
  if (!m_caseOpen || current->cases.empty()) {
    // Room for a class of ordinary size at once: growing case by case
    // costs a large log more in the allocator than anything else.
    if (current->cases.empty())
      current->cases.reserve(32);
    current->cases.emplace_back();
    m_caseOpen = true;
  }
  return current->cases.back();
}

SClassTotals PxClassTotals(const SClass& testClass) {
  SClassTotals totals;
  for (const SCase& k : testClass.cases) {
    totals.cases += !k.hook;
    totals.passed += k.passed;
    totals.failed += static_cast<long long>(k.failures.size());
    totals.timeMs += k.timeMs > 0 ? k.timeMs : 0;
  }
  return totals;
}

SRunTotals CRunModel::Totals() const {
  SRunTotals totals;
  for (const SClass& c : m_classes) {
    const SClassTotals classTotals = PxClassTotals(c);
    ++totals.classes;
    totals.cases += classTotals.cases;
    totals.reportedFailures += c.reportedFailures;
    totals.passed += classTotals.passed;
    totals.failed += classTotals.failed;
  }
  return totals;
}

std::string CRunModel::Summary() const {
  const SRunTotals totals = Totals();
  std::string text =
      std::to_string(totals.classes) + (totals.classes == 1 ? " class, " : " classes, ") +
      std::to_string(totals.cases) + (totals.cases == 1 ? " case, " : " cases, ") +
      std::to_string(totals.passed) + " passed, " + std::to_string(totals.failed) + " failed";
  if (totals.reportedFailures > totals.failed)
    text += ", " + std::to_string(totals.reportedFailures) +
            (totals.reportedFailures == 1 ? " failure" : " failures") + " reported by classes";
  return text;
}

// A class that could not run (no caption) or did not end as declared (no end
// marker) fails too, and so does a run of no case: the library's own
// verdict counts them.
bool CRunModel::Failed() const {
  const SRunTotals totals = Totals();
  return totals.failed > 0 || totals.reportedFailures > 0 ||
         std::any_of(m_classes.begin(), m_classes.end(),
                     [](const SClass& c) { return !c.warnings.empty(); }) ||
         !NoCaseRan().empty();
}

// Said only of a whole run whose classes ran as declared: a class that
// could not has its own warning, and a cut log its own verdict.
std::string CRunModel::NoCaseRan() const {
  if (m_noCasesAllowed || m_classes.empty() || Totals().cases != 0 ||
      std::any_of(m_classes.begin(), m_classes.end(),
                  [](const SClass& c) {
                    return !c.hasResults || c.reportedCases != 0 || !c.warnings.empty();
                  }) ||
      !Incomplete().empty())
    return "";
  return std::string(NPxNoCaseRun::kNoCaseRan) + ". " + NPxNoCaseRun::kAllowHint;
}

std::string CRunModel::Incomplete() const {
  // Nothing past the header: the process ended before its buffer was first
  // written (killed, _exit, an overflowed stack, a disk full from the start).
  if (!m_sawBody)
    return m_language == ETranscriptLanguage::Japanese
               ? "\203\215\203\117\202\252\217\221\202\251\202\352\202\351\221\117\202\311"
                 "\203\166\203\215\203\117\203\211\203\200\202\252\217\111\202\355\202\301\202\275"
               : "the program ended before its log was written";
  if (!m_abnormalEnd.empty())
    return "the program ended abnormally: " + m_abnormalEnd;
  for (EReadIssue cut : {EReadIssue::Unterminated, EReadIssue::DamagedLine, EReadIssue::OrphanLine,
                         EReadIssue::ZeroBytes, EReadIssue::MissingHeader})
    if (m_issues.Count(cut) != 0)
      return "the log is cut or damaged";
  if (!m_classes.empty() && !m_classes.back().hasResults)
    return "the log ends before the results of its last class";
  const bool suite = !m_classes.empty() && !m_classes.front().name.empty();
  if (suite && !m_sawSuiteResults)
    return "the log ends before the suite results";
  return "";
}
