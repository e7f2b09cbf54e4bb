// Expectations and the ASSERT/VERIFY count of the code under test.
#include "ReadableTexts.h"
#include "common/PxRecordingSink.h"
#include "probex/base/PxFormat.h"
#include "probex/base/PxTexts.h"
#include "probex/core/Probex.h"
#include "probex/core/ProbexMacros.h"
#include "probex/platform/platform.h"

#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>
#include <thread>

namespace {

using Messages = std::vector<SPxMessage>;

// Exposes the expectation operations, so each can be driven directly.
class CProbe : public CProbex {
public:
  CProbe() {
    PX_CAPTION_CLASS("probe");
    SetViewClass(&sink);
  }
  using CProbex::x_Assert;
  using CProbex::x_AssertCompare;
  using CProbex::x_AssertCompareStr;
  using CProbex::x_AssertException;
  using CProbex::x_IsAssertCount;
  using CProbex::x_SetTestExpectLine;
  CPxRecordingSink sink;
};

Messages Only(const Messages& all, EPxMsgType a, EPxMsgType b) {
  Messages picked;
  for (const SPxMessage& m : all) {
    if (m.kind == a || m.kind == b)
      picked.push_back(m);
  }
  return picked;
}

const std::string kFalse = NPxText::kFalseSuffix;

TEST(Expectations, EachFormSendsExpressionThenVerdict) {
  CProbe p;
  p.x_Assert(false, "p != 0");
  p.x_Assert(true, "p != 0");
  p.x_AssertCompare(false, "a", "b");
  p.x_AssertCompare(true, "a", "b");
  p.x_AssertException(true, "f()", "E");
  p.x_AssertException(false, "f()", "E");
  // Operands that together outgrow a message's in-place text, whole.
  const std::string wide(300, 'w');
  p.x_AssertCompare(false, wide.c_str(), wide.c_str());
  const Messages expected{
      {PX_MSG_TEST_EXPRESSION, "p != 0" + kFalse},
      {PX_MSG_TEST_NG, PxFormat(NPxText::kAssertNg, "p != 0")},
      {PX_MSG_TEST_EXPRESSION, "p != 0"},
      {PX_MSG_TEST_OK, NPxText::kMatched},
      {PX_MSG_TEST_EXPRESSION, "a == b" + kFalse},
      {PX_MSG_TEST_NG, PxFormat(NPxText::kCompareNg, "a", "b")},
      {PX_MSG_TEST_EXPRESSION, "a == b"},
      {PX_MSG_TEST_OK, NPxText::kMatched},
      {PX_MSG_TEST_EXPRESSION, "try{ f() }catch{ E }"},
      {PX_MSG_TEST_OK, PxFormat(NPxText::kExceptionOk, "f()", "E")},
      {PX_MSG_TEST_EXPRESSION, "try{ f() }catch{ E }" + kFalse},
      {PX_MSG_TEST_NG, PxFormat(NPxText::kExceptionNg, "f()", "E")},
      {PX_MSG_TEST_EXPRESSION, wide + " == " + wide + kFalse},
      {PX_MSG_TEST_NG, PxFormat(NPxText::kCompareNg, wide.c_str(), wide.c_str())},
  };
  EXPECT_EQ(p.sink.Messages(), expected);
}

TEST(Expectations, StringComparisonIsExactUpToTheTerminator) {
  CProbe p;
  p.x_AssertCompareStr("abc", "abc", "s", "t");
  p.x_AssertCompareStr("abc", "ABC", "s", "t");
  p.x_AssertCompareStr("abc", "ab", "s", "t");
  p.x_AssertCompareStr(static_cast<const char*>(nullptr), nullptr, "n1", "n2");
  p.x_AssertCompareStr("abc", nullptr, "s", "null");
  const unsigned short wide1[] = {0x3042, 0x41, 0};
  const unsigned short wide2[] = {0x3042, 0x42, 0};
  p.x_AssertCompareStr(wide1, wide1, "w", "w");
  p.x_AssertCompareStr(wide1, wide2, "w", "v");
  const Messages messages = p.sink.Messages();
  ASSERT_EQ(messages.size(), 14u);
  const bool passed[] = {true, false, false, true, false, true, false};
  for (size_t i = 0; i < 7; ++i)
    EXPECT_EQ(messages[2 * i + 1].kind, passed[i] ? PX_MSG_TEST_OK : PX_MSG_TEST_NG) << i;
  EXPECT_EQ(messages[0].text, "s == t");
  EXPECT_EQ(messages[3].text, PxFormat(NPxText::kCompareNg, "s", "t"));
}

TEST(Expectations, NullTextsAreReportedAsEmpty) {
  CProbe p;
  p.x_Assert(false, nullptr);
  p.x_AssertCompare(true, nullptr, nullptr);
  const Messages messages = p.sink.Messages();
  ASSERT_EQ(messages.size(), 4u);
  EXPECT_EQ(messages[0].text, kFalse);
  EXPECT_EQ(messages[2].text, " == ");
}

TEST(AssertCount, PendingCountIsReportedBeforeAPositiveLineAndKeptByANegativeOne) {
  CProbe p;
  p.x_AssertFailedLine("f", 1);
  p.x_AssertFailedLine("f", 2);
  p.x_SetTestExpectLine("/src/t.cpp", -12);
  p.x_IsAssertCount(2);
  p.x_AssertFailedLine("f", 3);
  p.x_SetTestExpectLine("/src/t.cpp", 12);
  p.x_IsAssertCount(5);
  p.x_SetTestExpectLine("/src/t.cpp", INT_MIN);
  const Messages expected{
      {PX_MSG_TEST_EXPECT_LINE, "/src/t.cpp(12):"},
      {PX_MSG_TEST_EXPRESSION, PxFormat(NPxText::kCountExpression, 2)},
      {PX_MSG_TEST_OK, NPxText::kMatched},
      {PX_MSG_TEST_NG, PxFormat(NPxText::kPendingAssertNg, 1)},
      {PX_MSG_TEST_EXPECT_LINE, "/src/t.cpp(12):"},
      {PX_MSG_TEST_EXPRESSION, NPxText::kCountZeroExpression},
      {PX_MSG_TEST_OK, NPxText::kMatched},
      {PX_MSG_TEST_EXPECT_LINE, "/src/t.cpp(2147483648):"},
  };
  EXPECT_EQ(p.sink.Messages(), expected);
}

TEST(AssertCount, WrongCountFailsAndClearsZeroCountAlwaysPasses) {
  CProbe p;
  p.x_AssertFailedLine("f", 1);
  p.x_IsAssertCount(2);
  p.x_IsAssertCount(3);
  p.x_AssertFailedLine("f", 1);
  p.x_IsAssertCount(0);
  const Messages expected{
      {PX_MSG_TEST_EXPRESSION, PxFormat(NPxText::kCountExpression, 2) + kFalse},
      {PX_MSG_TEST_NG, PxFormat(NPxText::kCountNg, 1)},
      {PX_MSG_TEST_EXPRESSION, NPxText::kCountZeroExpression},
      {PX_MSG_TEST_OK, NPxText::kMatched},
      {PX_MSG_TEST_EXPRESSION, PxFormat(NPxText::kCountExpression, 0) + kFalse},
      {PX_MSG_TEST_NG, PxFormat(NPxText::kCountNg, 1)},
  };
  EXPECT_EQ(p.sink.Messages(), expected);
}

int CodeUnderTest(int value) {
  PX_CODE_VERIFY(value > 0);
  PX_CODE_VERIFY(value > 1);
  return value;
}

class CCodeChecks : public CProbex {
public:
  CCodeChecks() { PX_CAPTION_CLASS("code checks"); }
  PX_CASE(ThreeFalseWithoutExpectation) {
    CodeUnderTest(0);
    PX_CODE_VERIFY(false);
  }
  PX_CASE(CountedOnTheCallingThreadOnly) {
    std::thread worker([] { CodeUnderTest(0); });
    worker.join();
    PX_ASSERT_COUNT(0);
  }
  PX_CASE(MacrosInOrder) {
    CodeUnderTest(1);
    PX_ASSERT_COUNT(1);
    PX_ASSERT_EQUAL(1 + 1, 2);
    PX_ASSERT_STR("x", "y");
    PX_ASSERT_EXCEPTION(throw std::out_of_range("r"), std::out_of_range);
  }
  PX_DECLARATION_END();
};

TEST(AssertCount, EndOfCaseReportsLeftoversWithoutCountingFailures) {
  CCodeChecks test;
  CPxRecordingSink sink;
  test.SetViewClass(&sink);
  test.Run();
  const Messages checks = Only(sink.Messages(), PX_MSG_TEST_NG, PX_MSG_CLASS_RESULT);
  const Messages expected{
      {PX_MSG_TEST_NG, PxFormat(NPxText::kPendingAssertNg, 3)},
      {PX_MSG_TEST_NG, PxFormat(NPxText::kCompareNg, "\"x\"", "\"y\"")},
      {PX_MSG_CLASS_RESULT, "Case     \t3"},
      {PX_MSG_CLASS_RESULT, "Exception\t0"},
      {PX_MSG_CLASS_RESULT, "Failures \t1"},
  };
  EXPECT_EQ(checks, expected);
  const Messages expressions =
      Only(sink.Messages(), PX_MSG_TEST_EXPRESSION, PX_MSG_TEST_EXPRESSION);
  ASSERT_EQ(expressions.size(), 5u);
  EXPECT_EQ(expressions[0].text, NPxText::kCountZeroExpression);
  EXPECT_EQ(expressions[1].text, PxFormat(NPxText::kCountExpression, 1));
  EXPECT_EQ(expressions[2].text, "1 + 1 == 2");
  EXPECT_EQ(expressions[4].text, "try{ throw std::out_of_range(\"r\") }catch{ std::out_of_range }");
}

TEST(AssertCount, FailureOutsideAnyRunIsDroppedAndReturnsZero) {
  EXPECT_EQ(NPxCoverage::OnAssertFailedLine("f", 1), 0);
  CProbe p;
  p.x_SetTestExpectLine("f", 1);
  EXPECT_EQ(Only(p.sink.Messages(), PX_MSG_TEST_NG, PX_MSG_TEST_NG).size(), 0u);
}

} // namespace
