// Expectations of a test case and the routing of ASSERT/VERIFY failures of
// the code under test to the test case running on the same thread.
#include "probex/core/Probex.h"

#include "probex/base/PxFormat.h"
#include "probex/base/PxInlineText.h"
#include "probex/base/PxSideKind.h"
#include "probex/base/PxTexts.h"
#include "probex/base/PxValueRecord.h"
#include "probex/core/ProbexData.h"
#include "probex/core/PxHeldCaption.h"
#include "probex/core/PxMessageBlocks.h"
#include "probex/core/PxRunVerdict.h"
#include "probex/core/PxRunningCaseMap.h"
#include "probex/core/PxValueText.h"
#include "probex/coverage/PxCoverage.h"
#include "probex/platform/platform.h"

#include <cstring>
#include <string>

namespace {

const char* Text(const char* text) {
  return text ? text : "";
}

template <typename TChar> bool SameString(const TChar* s1, const TChar* s2) {
  if (!s1 || !s2)
    return s1 == s2;
  for (;; ++s1, ++s2) {
    if (*s1 != *s2)
      return false;
    if (*s1 == 0)
      return true;
  }
}

// The check this thread has begun: its location, already sent, whether its
// caption went out with it, and where the messages stood right after it.
// Plain data, so that a thread's first check costs no set-up.
struct SOpenCheck {
  const CProbex* owner;
  const char* file;
  long long line;
  bool captioned;
  CPxMessageBlocks::SMark mark;
};
thread_local SOpenCheck openCheck{};

// Where the values of the comparison this thread is about to check are.
struct SKeptCheck {
  const CProbex* owner;
  NPxValue::SKept kept;
};
thread_local SKeptCheck keptCheck{};

// A printer that throws leaves its value unshown, never the check unmade.
NPxValue::SPair PairOf(const NPxValue::SKept& kept) {
  try {
    return kept.pair(kept.left, kept.right);
  } catch (...) {
    return NPxValue::SPair{"?", "?", -1};
  }
}

} // namespace

void CProbex::x_SetTestExpectLine(const char* file, int line) {
  CPxMessageBlocks& blocks = PxMessageBlocks();
  std::lock_guard<CPxMessageBlocks> block(blocks);
  keptCheck.owner = nullptr;
  if (line >= 0)
    m_CheckAssertCounter();
  // Widened first, so that even the most negative line has an absolute value.
  const long long shownLine = line < 0 ? -static_cast<long long>(line) : line;
  const bool captioned = CPxHeldCaption::IsHeld();
  m_SendLocation(file, shownLine, PX_MSG_TEST_EXPECT_LINE);
  // Kept for a resend, which is rare: the text is made again then.
  openCheck = SOpenCheck{this, file, shownLine, captioned, blocks.Mark()};
}

// The failure texts are formatted only for a failure: a passing check sends
// just its expression and the pass text.
void CProbex::x_Assert(bool result, const char* expression) {
  CPxInlineText ng;
  if (!result)
    ng.AppendFormat(NPxText::kAssertNg, Text(expression));
  m_AssertCommon(result, Text(expression), NPxText::kMatched, ng.c_str());
}

void CProbex::x_AssertCompare(bool result, const char* left, const char* right) {
  CPxInlineText expression;
  expression.Append(Text(left)).Append(" == ", 4).Append(Text(right));
  CPxInlineText ng;
  if (!result)
    ng.AppendFormat(NPxText::kCompareNg, Text(left), Text(right));
  // Kept values are this check's alone, shown or not.
  const bool showValues = !result && keptCheck.owner == this;
  keptCheck.owner = nullptr;
  if (!showValues) {
    m_AssertCommon(result, expression.c_str(), NPxText::kMatched, ng.c_str());
    return;
  }
  const NPxValue::SPair pair = PairOf(keptCheck.kept);
  const std::string values =
      NPxValueRecord::Write({pair.differsAt, {Text(left), pair.left}, {Text(right), pair.right}});
  // The values follow the failure inside its group: no other thread's
  // message comes between.
  std::lock_guard<CPxMessageBlocks> block(PxMessageBlocks());
  m_AssertCommon(result, expression.c_str(), NPxText::kMatched, ng.c_str());
  m_SendSideRecord(m_RecordSink(), values.c_str(), NPxSideKind::kValues);
}

void CProbex::x_KeepValues(const NPxValue::SKept& kept) {
  keptCheck = SKeptCheck{this, kept};
}

void CProbex::x_AssertCompareStr(const char* s1, const char* s2, const char* left,
                                 const char* right) {
  x_AssertCompare(SameString(s1, s2), left, right);
}

void CProbex::x_AssertCompareStr(const unsigned short* s1, const unsigned short* s2,
                                 const char* left, const char* right) {
  x_AssertCompare(SameString(s1, s2), left, right);
}

void CProbex::x_AssertException(bool result, const char* tryText, const char* exceptionText) {
  const char* tried = Text(tryText);
  const char* expected = Text(exceptionText);
  m_AssertCommon(result, PxFormat("try{ %s }catch{ %s }", tried, expected).c_str(),
                 PxFormat(NPxText::kExceptionOk, tried, expected).c_str(),
                 PxFormat(NPxText::kExceptionNg, tried, expected).c_str());
}

void CProbex::x_IsAssertCount(int expected) {
  const int counted = m_pData->m_nAssertFailed.load();
  const std::string ngText = PxFormat(NPxText::kCountNg, counted);
  if (counted == 0) {
    m_AssertCommon(true, NPxText::kCountZeroExpression, NPxText::kMatched, ngText.c_str());
    return;
  }
  m_AssertCommon(counted == expected, PxFormat(NPxText::kCountExpression, expected).c_str(),
                 NPxText::kMatched, ngText.c_str());
  m_pData->m_nAssertFailed = 0;
}

void CProbex::x_AssertFailedLine(const char*, int) {
  ++m_pData->m_nAssertFailed;
}

void CProbex::m_AssertCommon(bool result, const char* expression, const char* okText,
                             const char* ngText) {
  CPxMessageBlocks& blocks = PxMessageBlocks();
  std::lock_guard<CPxMessageBlocks> block(blocks);
  if (openCheck.owner == this && blocks.OthersSince(openCheck.mark)) {
    if (openCheck.captioned)
      OutputMessage(CPxHeldCaption::Last().c_str(), PX_MSG_TEST_CAPTION);
    m_SendLocation(openCheck.file, openCheck.line, PX_MSG_TEST_EXPECT_LINE);
  }
  openCheck.owner = nullptr;
  if (result) {
    OutputMessage(expression, PX_MSG_TEST_EXPRESSION);
    OutputMessage(okText, PX_MSG_TEST_OK);
    return;
  }
  CPxInlineText shown;
  shown.Append(expression).Append(NPxText::kFalseSuffix);
  OutputMessage(shown.c_str(), PX_MSG_TEST_EXPRESSION);
  OutputMessage(ngText, PX_MSG_TEST_NG);
  ++m_pData->m_nFailures;
  PxRunVerdict().NoteFailure();
}

void CProbex::m_CheckAssertCounter() {
  if (m_pData->m_nAssertFailed.load() <= 0)
    return;
  const int pending = m_pData->m_nAssertFailed.exchange(0);
  PxRunVerdict().NoteFailure();
  OutputMessage(PxFormat(NPxText::kPendingAssertNg, pending).c_str(), PX_MSG_TEST_NG);
}

int NPxCoverage::OnAssertFailedLine(const char* file, int line) {
  if (CProbex* running = g_mapRunningCase.Find(NPxPlatform::GetCurrentThreadId()))
    running->x_AssertFailedLine(file, line);
  return 0;
}
